#include "cut/ProcessRunner.h"

#include <algorithm>

namespace kelmora {

namespace {

// How long a stopped extractor gets to close its files before it is killed.
constexpr int kStopGraceMs = 3000;

}  // namespace

bool ProcessRunner::start(const CutJob& job, std::string& error)
{
    std::optional<platform::OutputPipe> errorPipe = platform::OutputPipe::create(&error);
    if (!errorPipe) return false;
    platform::StartOptions options;
    options.ownProcessGroup = true;
    options.standardError = errorPipe->writingEnd();
    std::optional<platform::ChildProcess> child = platform::ChildProcess::startHidden(
        {job.program, job.command.arguments, job.command.commandLine}, options, &error);
    // The child holds its own copy now: the pipe ends with the child.
    errorPipe->closeWritingEnd();
    if (!child) return false;
    m_runs.emplace(job.id, Run{std::move(*child), std::move(errorPipe), {}, inputArgument(job)});
    return true;
}

void ProcessRunner::stop(std::uint64_t job)
{
    const auto run = m_runs.find(job);
    if (run != m_runs.end()) run->second.child.terminate(kStopGraceMs);
}

std::optional<CutRunEnd> ProcessRunner::takeEnded()
{
    for (auto run = m_runs.begin(); run != m_runs.end(); ++run) {
        if (!run->second.child.waitFor(0)) continue;
        // All it wrote before its end is in the pipe.
        run->second.errors.readFrom(run->second.errorPipe);
        const CutRunEnd end{run->first, run->second.child.exitStatus(), run->second.child.exitSignal(),
                            run->second.errors.lastErrorLine(run->second.input)};
        m_runs.erase(run);
        return end;
    }
    return std::nullopt;
}

std::string inputArgument(const CutJob& job)
{
    const std::vector<std::string>& arguments = job.command.arguments;
    const auto i = std::find(arguments.begin(), arguments.end(), "-i");
    return i != arguments.end() && i + 1 != arguments.end() ? *(i + 1) : std::string();
}

}  // namespace kelmora
