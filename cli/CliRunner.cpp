#include "cli/CliRunner.h"

#include <algorithm>

#include "cut/ProcessRunner.h"
#include "platform/Paths.h"
#include "platform/Wait.h"

namespace kelmora::cli {

namespace p = platform;

namespace {

// How often to look at children the system cannot signal the end of.
constexpr int kPollWithoutNotifierMs = 50;

}  // namespace

CliRunner::CliRunner(Config config, p::InterruptWatch* interrupts, RunnerObserver* observer)
    : m_config(std::move(config)), m_interrupts(interrupts), m_observer(observer)
{
}

bool CliRunner::start(const CutJob& job, std::string& error)
{
    if (!m_config.readProgress) return startRun(job, {}, -1, error);
    Progress progress;
    progress.pipe = p::OutputPipe::create(&error);
    if (!progress.pipe) return false;
    const bool started = startRun(job, {"-nostdin", "-progress", "pipe:1"}, progress.pipe->writingEnd(), error);
    // The run holds its own copy now: the pipe ends with the run.
    progress.pipe->closeWritingEnd();
    if (!started) return false;
    if (!m_config.prober.empty()) {
        // The duration is asked while the run goes on; until it comes, the display counts frames.
        std::string ignored;
        progress.probePipe = p::OutputPipe::create(&ignored);
        if (progress.probePipe) {
            p::StartOptions options;
            options.ownProcessGroup = true;
            options.standardOutput = progress.probePipe->writingEnd();
            progress.probe = p::ChildProcess::startHidden({m_config.prober, probeDurationArguments(job.target), {}},
                                                          options, &ignored);
            progress.probePipe->closeWritingEnd();
        }
        if (!progress.probe) progress.probePipe.reset();
    }
    m_progress.emplace(job.id, std::move(progress));
    return true;
}

void CliRunner::stop(std::uint64_t job)
{
    ProcessRunner::stop(job);
    const auto progress = m_progress.find(job);
    if (progress != m_progress.end() && progress->second.probe) progress->second.probe->terminate(0);
}

void CliRunner::readPipes(Run& run, Progress* progressOrNull)
{
    run.errors.readFrom(run.errorPipe);
    if (!progressOrNull) return;
    Progress& progress = *progressOrNull;
    if (progress.pipe) {
        std::string bytes;
        const bool open = progress.pipe->readAvailable(bytes);
        progress.progress.feed(bytes);
        if (!open) progress.pipe.reset();
    }
    if (progress.probePipe) {
        std::string answer;
        const bool open = progress.probePipe->readAvailable(answer);
        progress.probeAnswer.feed(answer);
        if (!open) {
            progress.probePipe.reset();
            progress.duration = progress.probeAnswer.duration();
            if (progress.duration) progress.duration = std::max(0.0, *progress.duration - m_config.skipSeconds);
            if (progress.probe) progress.probe->waitFor(-1);
            progress.probe.reset();
        }
    }
}

void CliRunner::runEnded(Run& run)
{
    const auto progress = m_progress.find(run.job.id);
    if (progress == m_progress.end()) return;
    // Whatever the run wrote before its end is in the pipe still.
    readPipes(run, &progress->second);
    if (progress->second.probe) progress->second.probe->terminate(0);
    m_progress.erase(progress);
}

CutRunEnd CliRunner::waitForEnd()
{
    for (;;) {
        if (std::optional<CutRunEnd> end = takeEnded()) return *end;

        std::vector<p::WaitHandle> handles;
        handles.push_back(m_interrupts ? m_interrupts->handle() : p::kNoWaitHandle);
        int timeoutMs = m_observer ? m_observer->msUntilDue() : -1;
        for (const auto& [id, run] : runs()) {
            const p::WaitHandle notifier = run.child.endHandle();
            if (notifier == p::kNoWaitHandle)
                timeoutMs = timeoutMs < 0 ? kPollWithoutNotifierMs : std::min(timeoutMs, kPollWithoutNotifierMs);
            handles.push_back(notifier);
            handles.push_back(run.errorPipe ? run.errorPipe->readyHandle() : p::kNoWaitHandle);
            const auto progress = m_progress.find(id);
            if (progress == m_progress.end()) continue;
            handles.push_back(progress->second.pipe ? progress->second.pipe->readyHandle() : p::kNoWaitHandle);
            handles.push_back(progress->second.probePipe ? progress->second.probePipe->readyHandle()
                                                         : p::kNoWaitHandle);
        }
        const std::vector<std::size_t> ready = p::waitForAny(handles, timeoutMs);
        if (m_interrupts && std::find(ready.begin(), ready.end(), 0) != ready.end()) {
            const int requests = m_interrupts->takeRequests();
            if (requests > 0 && m_observer) m_observer->interrupted(requests);
        }
        for (auto& [id, run] : runs()) {
            const auto progress = m_progress.find(id);
            readPipes(run, progress == m_progress.end() ? nullptr : &progress->second);
        }
        if (m_observer) m_observer->wokeUp();
    }
}

std::vector<RunningJobView> CliRunner::runningJobs() const
{
    std::vector<RunningJobView> views;
    for (const auto& [id, run] : runs()) {
        RunningJobView view;
        view.name = p::fileNamePart(run.job.target);
        if (const auto progress = m_progress.find(id); progress != m_progress.end()) {
            view.fraction = progress->second.progress.fraction(progress->second.duration, m_config.frameLimit);
            view.frames = progress->second.progress.frames();
        }
        views.push_back(std::move(view));
    }
    return views;
}

}  // namespace kelmora::cli
