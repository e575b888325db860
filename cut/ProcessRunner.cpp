#include "cut/ProcessRunner.h"

#include <algorithm>

namespace kelmora {

namespace {

// How long a stopped extractor gets to close its files before it is killed.
constexpr int kStopGraceMs = 3000;

// The extractor's input argument in a job's command: what follows "-i".
std::string inputArgument(const CutJob& job)
{
    const std::vector<std::string>& arguments = job.command.arguments;
    const auto i = std::find(arguments.begin(), arguments.end(), "-i");
    return i != arguments.end() && i + 1 != arguments.end() ? *(i + 1) : std::string();
}

}  // namespace

bool ProcessRunner::startRun(const CutJob& job, const std::vector<std::string>& reporting, std::intptr_t standardOutput,
                             std::string& error)
{
    platform::ProcessCommand command{job.program, job.command.arguments, job.command.commandLine};
    if (!reporting.empty()) {
        // The job's own arguments stay as they are, in the command-line text as
        // well, right after the program's name and the reporting ones.
        command.arguments.insert(command.arguments.begin(), reporting.begin(), reporting.end());
        command.commandLine = job.command.program;
        for (const std::string& argument : reporting) command.commandLine += " " + argument;
        command.commandLine += " " + job.command.argumentText;
    }
    std::optional<platform::OutputPipe> errorPipe = platform::OutputPipe::create(&error);
    if (!errorPipe) return false;
    platform::StartOptions options;
    options.ownProcessGroup = true;
    options.standardOutput = standardOutput;
    options.standardError = errorPipe->writingEnd();
    std::optional<platform::ChildProcess> child = platform::ChildProcess::startHidden(command, options, &error);
    // The child holds its own copy now: the pipe ends with the child.
    errorPipe->closeWritingEnd();
    if (!child) return false;
    m_runs.emplace(job.id, Run{job, std::move(*child), std::move(errorPipe), {}});
    return true;
}

void ProcessRunner::stop(std::uint64_t job)
{
    const auto run = m_runs.find(job);
    if (run != m_runs.end()) run->second.child.terminate(kStopGraceMs);
}

void ProcessRunner::killAll()
{
    for (auto& [id, run] : m_runs) run.child.terminate(0);
}

std::optional<CutRunEnd> ProcessRunner::takeEnded()
{
    for (auto it = m_runs.begin(); it != m_runs.end(); ++it) {
        Run& run = it->second;
        if (!run.child.waitFor(0)) continue;
        // All it wrote before its end is in the pipe.
        run.errors.readFrom(run.errorPipe);
        runEnded(run);
        const CutRunEnd end{it->first,
                            run.child.exitStatus(),
                            run.child.exitSignal(),
                            run.errors.lastErrorLine(inputArgument(run.job)),
                            run.errors.lastFrameCount(),
                            run.errors.inputTrouble()};
        m_runs.erase(it);
        return end;
    }
    return std::nullopt;
}

}  // namespace kelmora
