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
    std::optional<RunProgress> progress = RunProgress::create(error, m_config.skipSeconds, m_config.frameLimit);
    if (!progress) return false;
    const bool started = startRun(job, RunProgress::reportingArguments(), progress->reportWritingEnd(), error);
    // The run holds its own copy now: the pipe ends with the run.
    progress->closeReportWritingEnd();
    if (!started) return false;
    // The duration is asked while the run goes on; until it comes, the display counts frames.
    // A video the session has probed has its length already, or none to be had.
    if (job.video.seconds) progress->knowDuration(*job.video.seconds);
    else if (!job.probed) progress->askDuration(m_config.prober, job.target);
    m_progress.emplace(job.id, std::move(*progress));
    return true;
}

void CliRunner::stop(std::uint64_t job)
{
    ProcessRunner::stop(job);
    if (const auto progress = m_progress.find(job); progress != m_progress.end()) progress->second.endProbe();
}

void CliRunner::readPipes(Run& run, RunProgress* progress)
{
    run.errors.readFrom(run.errorPipe);
    if (!progress) return;
    progress->readReport();
    progress->readProbe();
}

void CliRunner::runEnded(Run& run)
{
    const auto progress = m_progress.find(run.job.id);
    if (progress == m_progress.end()) return;
    // Whatever the run wrote before its end is in the pipe still.
    readPipes(run, &progress->second);
    progress->second.endProbe();
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
            handles.push_back(progress->second.reportHandle());
            handles.push_back(progress->second.probeHandle());
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
            view.fraction = progress->second.fraction();
            view.frames = progress->second.frames();
        }
        views.push_back(std::move(view));
    }
    return views;
}

}  // namespace kelmora::cli
