#include "ui/EventLoopRunner.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <vector>

namespace kelmora {

CutRunEnd EventLoopRunner::waitForEnd()
{
    for (;;) {
        if (std::optional<CutRunEnd> end = takeEnded()) return *end;
        QEventLoop loop;
        std::vector<std::unique_ptr<QSocketNotifier>> ends;
        QTimer poll;
        for (auto& [job, run] : runs()) {
            if (run.exitNotifier() < 0) {
                QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, &run = run] {
                    if (run.waitFor(0)) loop.quit();
                });
                poll.start(60);
                continue;
            }
            auto* notifier = ends.emplace_back(std::make_unique<QSocketNotifier>(run.exitNotifier(),
                                                                                 QSocketNotifier::Read)).get();
            // The descriptor stays readable once the run has ended: one wake-up is
            // enough, or a modal window opened meanwhile would be woken without end.
            QObject::connect(notifier, &QSocketNotifier::activated, &loop, [&loop, notifier] {
                notifier->setEnabled(false);
                loop.quit();
            });
        }
        loop.exec();
    }
}

}  // namespace kelmora
