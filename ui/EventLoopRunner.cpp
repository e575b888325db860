#include "ui/EventLoopRunner.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/Paths.h"
#include "ui/ProcessEndWatch.h"

namespace kelmora {

namespace p = platform;

EventLoopRunner::EventLoopRunner(const TCutSettings& options, ProgressHook hook)
    : m_options(&options), m_hook(std::move(hook))
{
}

bool EventLoopRunner::start(const CutJob& job, std::string& error)
{
    if (!m_hook) return startRun(job, {}, -1, error);
    std::optional<RunProgress> run = m_options->RangeFromSecond
                                         ? RunProgress::create(error, m_options->StartSecond, m_options->FrameCount)
                                         : RunProgress::create(error);
    if (!run) return false;
    const bool started = startRun(job, RunProgress::reportingArguments(), run->reportWritingEnd(), error);
    // The run holds its own copy now: the pipe ends with the run.
    run->closeReportWritingEnd();
    if (!started) return false;
    // Without a prober, a range's frames are all that tell how far a run is.
    // A video the session has probed has its length already, or none to be had.
    if (job.video.seconds) run->knowDuration(*job.video.seconds);
    else if (!job.probed) run->askDuration(proberBeside(job.program), job.target);
    m_progress.emplace(job.id, Progress{std::move(*run), -1});
    return true;
}

void EventLoopRunner::stop(std::uint64_t job)
{
    ProcessRunner::stop(job);
    if (const auto progress = m_progress.find(job); progress != m_progress.end()) progress->second.run.endProbe();
}

// Each pipe is read when its own watch wakes: a pipe that ends is never watched again.
void EventLoopRunner::readProgress(std::uint64_t job, Progress& progress, bool probe)
{
    if (probe) progress.run.readProbe();
    else progress.run.readReport();
    const std::optional<double> part = progress.run.fraction();
    if (!part) return;
    const int percent = static_cast<int>(*part * 100);
    if (percent == std::exchange(progress.told, percent)) return;
    m_hook(job, *part);
}

void EventLoopRunner::runEnded(Run& run)
{
    const auto progress = m_progress.find(run.job.id);
    if (progress == m_progress.end()) return;
    progress->second.run.endProbe();
    m_progress.erase(progress);
}

CutRunEnd EventLoopRunner::waitForEnd()
{
    for (;;) {
        if (std::optional<CutRunEnd> end = takeEnded()) return *end;
        QEventLoop loop;
        std::vector<std::unique_ptr<ProcessEndWatch>> watches;
        // What a run says on its standard error is read as it comes, so a
        // talkative run never waits for room in its pipe.
        std::vector<std::unique_ptr<QSocketNotifier>> pipeWatches;
        const auto watchPipe = [&loop, &pipeWatches](p::WaitHandle pipe, std::function<bool()> read) {
            auto* watch =
                pipeWatches.emplace_back(std::make_unique<QSocketNotifier>(pipe, QSocketNotifier::Read)).get();
            QObject::connect(watch, &QSocketNotifier::activated, &loop, [&loop, watch, read = std::move(read)] {
                // At the pipe's end its watch goes: the loop starts again without it.
                if (read()) return;
                watch->setEnabled(false);
                loop.quit();
            });
        };
        for (auto& [job, run] : runs()) {
            watches.push_back(std::make_unique<ProcessEndWatch>());
            watches.back()->watch(run.child, [&loop] { loop.quit(); });
            if (run.errorPipe)
                watchPipe(run.errorPipe->readyHandle(), [&run = run] {
                    run.errors.readFrom(run.errorPipe);
                    return run.errorPipe.has_value();
                });
            const auto found = m_progress.find(job);
            if (found == m_progress.end()) continue;
            const std::uint64_t id = job;
            Progress& progress = found->second;
            if (progress.run.reporting())
                watchPipe(progress.run.reportHandle(), [this, id, &progress] {
                    readProgress(id, progress, false);
                    return progress.run.reporting();
                });
            if (progress.run.probing())
                watchPipe(progress.run.probeHandle(), [this, id, &progress] {
                    readProgress(id, progress, true);
                    return progress.run.probing();
                });
        }
        loop.exec();
    }
}

}  // namespace kelmora
