#include "cut/ProcessRunner.h"

namespace kelmora {

namespace {

// How long a stopped extractor gets to close its files before it is killed.
constexpr int kStopGraceMs = 3000;

}  // namespace

bool ProcessRunner::start(const CutJob& job, std::string& error)
{
    std::optional<platform::ChildProcess> run =
        platform::ChildProcess::startHidden({job.program, job.command.arguments, job.command.commandLine}, &error);
    if (!run) return false;
    m_runs.emplace(job.id, std::move(*run));
    return true;
}

void ProcessRunner::stop(std::uint64_t job)
{
    const auto run = m_runs.find(job);
    if (run != m_runs.end()) run->second.terminate(kStopGraceMs);
}

std::optional<CutRunEnd> ProcessRunner::takeEnded()
{
    for (auto run = m_runs.begin(); run != m_runs.end(); ++run) {
        if (!run->second.waitFor(0)) continue;
        const CutRunEnd end{run->first, run->second.exitStatus(), run->second.exitSignal()};
        m_runs.erase(run);
        return end;
    }
    return std::nullopt;
}

}  // namespace kelmora
