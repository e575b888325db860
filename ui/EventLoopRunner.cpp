#include "ui/EventLoopRunner.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <memory>
#include <vector>

#include "ui/ProcessEndWatch.h"

namespace kelmora {

CutRunEnd EventLoopRunner::waitForEnd()
{
    for (;;) {
        if (std::optional<CutRunEnd> end = takeEnded()) return *end;
        QEventLoop loop;
        std::vector<std::unique_ptr<ProcessEndWatch>> watches;
        // What a run says on its standard error is read as it comes, so a
        // talkative run never waits for room in its pipe.
        std::vector<std::unique_ptr<QSocketNotifier>> errorWatches;
        for (auto& [job, run] : runs()) {
            watches.push_back(std::make_unique<ProcessEndWatch>());
            watches.back()->watch(run.child, [&loop] { loop.quit(); });
            if (!run.errorPipe) continue;
            auto* errorWatch = errorWatches
                                   .emplace_back(std::make_unique<QSocketNotifier>(run.errorPipe->readyHandle(),
                                                                                   QSocketNotifier::Read))
                                   .get();
            QObject::connect(errorWatch, &QSocketNotifier::activated, &loop, [&loop, &run = run, errorWatch] {
                run.errors.readFrom(run.errorPipe);
                // At the pipe's end its watch goes: the loop starts again without it.
                if (!run.errorPipe) {
                    errorWatch->setEnabled(false);
                    loop.quit();
                }
            });
        }
        loop.exec();
    }
}

}  // namespace kelmora
