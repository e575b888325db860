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
    Progress progress;
    progress.pipe = p::OutputPipe::create(&error);
    if (!progress.pipe) return false;
    const bool started = startRun(job, {"-nostdin", "-progress", "pipe:1"}, progress.pipe->writingEnd(), error);
    // The run holds its own copy now: the pipe ends with the run.
    progress.pipe->closeWritingEnd();
    if (!started) return false;
    if (m_options->RangeFromSecond) {
        progress.skipSeconds = m_options->StartSecond;
        progress.frameLimit = m_options->FrameCount;
    }
    // The prober beside the extractor, else on PATH; without one, a range's
    // frames are all that tell how far a run is.
    std::string prober = p::extractorProgramName();
    prober.replace(0, 6, "ffprobe");  // "ffmpeg" -> "ffprobe", ".exe" and all
    prober = p::findProgram(prober, p::folderPartWithoutSeparator(job.program));
    if (!prober.empty()) {
        std::string ignored;
        progress.probePipe = p::OutputPipe::create(&ignored);
        if (progress.probePipe) {
            p::StartOptions options;
            options.ownProcessGroup = true;
            options.standardOutput = progress.probePipe->writingEnd();
            progress.probe =
                p::ChildProcess::startHidden({prober, probeDurationArguments(job.target), {}}, options, &ignored);
            progress.probePipe->closeWritingEnd();
        }
        if (!progress.probe) progress.probePipe.reset();
    }
    m_progress.emplace(job.id, std::move(progress));
    return true;
}

void EventLoopRunner::stop(std::uint64_t job)
{
    ProcessRunner::stop(job);
    const auto progress = m_progress.find(job);
    if (progress != m_progress.end() && progress->second.probe) progress->second.probe->terminate(0);
}

// Each pipe is read when its own watch wakes: a pipe that ends is never watched again.
void EventLoopRunner::readProgress(std::uint64_t job, Progress& progress, bool probe)
{
    if (!probe && progress.pipe) {
        std::string bytes;
        const bool open = progress.pipe->readAvailable(bytes);
        progress.progress.feed(bytes);
        if (!open) progress.pipe.reset();
    }
    if (probe && progress.probePipe) {
        std::string answer;
        const bool open = progress.probePipe->readAvailable(answer);
        progress.probeAnswer.feed(answer);
        if (!open) {
            progress.probePipe.reset();
            progress.seconds = progress.probeAnswer.duration();
            if (progress.seconds) progress.seconds = std::max(0.0, *progress.seconds - progress.skipSeconds);
            if (progress.probe) progress.probe->waitFor(-1);
            progress.probe.reset();
        }
    }
    const std::optional<double> part = progress.progress.fraction(progress.seconds, progress.frameLimit);
    if (!part) return;
    const int percent = static_cast<int>(*part * 100);
    if (percent == std::exchange(progress.told, percent)) return;
    m_hook(job, *part);
}

void EventLoopRunner::runEnded(Run& run)
{
    const auto progress = m_progress.find(run.job.id);
    if (progress == m_progress.end()) return;
    if (progress->second.probe) progress->second.probe->terminate(0);
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
        const auto watchPipe = [&loop, &pipeWatches](const p::OutputPipe& pipe, std::function<bool()> read) {
            auto* watch =
                pipeWatches.emplace_back(std::make_unique<QSocketNotifier>(pipe.readyHandle(), QSocketNotifier::Read))
                    .get();
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
                watchPipe(*run.errorPipe, [&run = run] {
                    run.errors.readFrom(run.errorPipe);
                    return run.errorPipe.has_value();
                });
            const auto found = m_progress.find(job);
            if (found == m_progress.end()) continue;
            const std::uint64_t id = job;
            Progress& progress = found->second;
            if (progress.pipe)
                watchPipe(*progress.pipe, [this, id, &progress] {
                    readProgress(id, progress, false);
                    return progress.pipe.has_value();
                });
            if (progress.probePipe)
                watchPipe(*progress.probePipe, [this, id, &progress] {
                    readProgress(id, progress, true);
                    return progress.probePipe.has_value();
                });
        }
        loop.exec();
    }
}

}  // namespace kelmora
