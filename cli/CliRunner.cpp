#include "cli/CliRunner.h"

#include <algorithm>

#include "cut/ProcessRunner.h"
#include "platform/Paths.h"
#include "platform/Wait.h"

namespace kelmora::cli {

namespace p = platform;

namespace {

// How long a stopped extractor gets to close its files before it is killed.
constexpr int kStopGraceMs = 3000;
// How often to look at children the system cannot signal the end of.
constexpr int kPollWithoutNotifierMs = 50;

std::optional<p::ChildProcess> startWithOutput(const p::ProcessCommand& command, std::optional<p::OutputPipe>& pipe,
                                               std::string& error, std::optional<p::OutputPipe>* errorPipe = nullptr)
{
    p::StartOptions options;
    options.ownProcessGroup = true;
    if (pipe) options.standardOutput = pipe->writingEnd();
    if (errorPipe && *errorPipe) options.standardError = (*errorPipe)->writingEnd();
    std::optional<p::ChildProcess> child = p::ChildProcess::startHidden(command, options, &error);
    // The child holds its own copies now: the pipes end with the child.
    if (pipe) pipe->closeWritingEnd();
    if (errorPipe && *errorPipe) (*errorPipe)->closeWritingEnd();
    return child;
}

}  // namespace

CliRunner::CliRunner(Config config, p::InterruptWatch* interrupts, RunnerObserver* observer)
    : m_config(std::move(config)), m_interrupts(interrupts), m_observer(observer)
{
}

bool CliRunner::start(const CutJob& job, std::string& error)
{
    p::ProcessCommand command{job.program, job.command.arguments, job.command.commandLine};
    std::optional<p::OutputPipe> progressPipe;
    if (m_config.readProgress) {
        progressPipe = p::OutputPipe::create(&error);
        if (!progressPipe) return false;
        // Options that change only what the extractor reports, before the
        // window's own arguments, which stay as they are (in the command-line
        // text as well, right after the program's name).
        const std::vector<std::string> reporting{"-nostdin", "-progress", "pipe:1"};
        command.arguments.insert(command.arguments.begin(), reporting.begin(), reporting.end());
        command.commandLine = job.command.program + " -nostdin -progress pipe:1 " + job.command.argumentText;
    }
    std::optional<p::OutputPipe> errorPipe = p::OutputPipe::create(&error);
    if (!errorPipe) return false;
    std::optional<p::ChildProcess> child = startWithOutput(command, progressPipe, error, &errorPipe);
    if (!child) return false;
    Run run{job,
            std::move(*child),
            std::move(progressPipe),
            {},
            std::move(errorPipe),
            {},
            std::nullopt,
            std::nullopt,
            {},
            std::nullopt,
            false};
    if (m_config.readProgress && !m_config.prober.empty()) {
        // The duration is asked while the run goes on; until it comes, the display counts frames.
        std::string ignored;
        run.probePipe = p::OutputPipe::create(&ignored);
        if (run.probePipe)
            run.probe =
                startWithOutput({m_config.prober, probeDurationArguments(job.target), {}}, run.probePipe, ignored);
        if (!run.probe) run.probePipe.reset();
    }
    m_runs.emplace(job.id, std::move(run));
    return true;
}

void CliRunner::stop(std::uint64_t job)
{
    const auto run = m_runs.find(job);
    if (run == m_runs.end()) return;
    run->second.stopped = true;
    run->second.child.terminate(kStopGraceMs);
    if (run->second.probe) run->second.probe->terminate(0);
}

void CliRunner::killAll()
{
    for (auto& [id, run] : m_runs) {
        run.stopped = true;
        run.child.terminate(0);
    }
}

void CliRunner::readPipes(Run& run)
{
    if (run.progressPipe) {
        std::string bytes;
        const bool open = run.progressPipe->readAvailable(bytes);
        run.progress.feed(bytes);
        if (!open) run.progressPipe.reset();
    }
    run.errors.readFrom(run.errorPipe);
    if (run.probePipe) {
        std::string answer;
        const bool open = run.probePipe->readAvailable(answer);
        run.probeAnswer.feed(answer);
        if (!open) {
            run.probePipe.reset();
            run.duration = run.probeAnswer.duration();
            if (run.duration) run.duration = std::max(0.0, *run.duration - m_config.skipSeconds);
            if (run.probe) run.probe->waitFor(-1);
            run.probe.reset();
        }
    }
}

CutRunEnd CliRunner::waitForEnd()
{
    for (;;) {
        for (auto run = m_runs.begin(); run != m_runs.end(); ++run)
            if (run->second.child.waitFor(0)) return takeEnd(run);

        std::vector<p::WaitHandle> handles;
        handles.push_back(m_interrupts ? m_interrupts->handle() : p::kNoWaitHandle);
        int timeoutMs = m_observer ? m_observer->msUntilDue() : -1;
        for (const auto& [id, run] : m_runs) {
            const p::WaitHandle notifier = run.child.endHandle();
            if (notifier == p::kNoWaitHandle)
                timeoutMs = timeoutMs < 0 ? kPollWithoutNotifierMs : std::min(timeoutMs, kPollWithoutNotifierMs);
            handles.push_back(notifier);
            handles.push_back(run.progressPipe ? run.progressPipe->readyHandle() : p::kNoWaitHandle);
            handles.push_back(run.errorPipe ? run.errorPipe->readyHandle() : p::kNoWaitHandle);
            handles.push_back(run.probePipe ? run.probePipe->readyHandle() : p::kNoWaitHandle);
        }
        const std::vector<std::size_t> ready = p::waitForAny(handles, timeoutMs);
        if (m_interrupts && std::find(ready.begin(), ready.end(), 0) != ready.end()) {
            const int requests = m_interrupts->takeRequests();
            if (requests > 0 && m_observer) m_observer->interrupted(requests);
        }
        for (auto& [id, run] : m_runs) readPipes(run);
        if (m_observer) m_observer->wokeUp();
    }
}

CutRunEnd CliRunner::takeEnd(std::map<std::uint64_t, Run>::iterator it)
{
    Run& run = it->second;
    // Whatever the run wrote before its end is in the pipes still.
    readPipes(run);
    if (run.probe) run.probe->terminate(0);
    const CutRunEnd end{it->first, run.child.exitStatus(), run.child.exitSignal(),
                        run.errors.lastErrorLine(inputArgument(run.job))};
    m_runs.erase(it);
    return end;
}

std::vector<RunningJobView> CliRunner::runningJobs() const
{
    std::vector<RunningJobView> views;
    for (const auto& [id, run] : m_runs) {
        RunningJobView view;
        view.name = p::fileNamePart(run.job.target);
        view.fraction = run.progress.fraction(run.duration, m_config.frameLimit);
        view.frames = run.progress.frames();
        views.push_back(std::move(view));
    }
    return views;
}

}  // namespace kelmora::cli
