#include "ui/ProcessWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include "platform/Process.h"

namespace kelmora {

void waitWhileHandlingEvents(platform::ChildProcess& run)
{
    QEventLoop loop;
    QSocketNotifier notifier(QSocketNotifier::Read);
    QTimer poll;
    if (run.exitNotifier() >= 0) {
        notifier.setSocket(run.exitNotifier());
        // The descriptor stays readable once the run has ended: one wake-up is
        // enough, or a modal window opened meanwhile would be woken without end.
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
            notifier.setEnabled(false);
            loop.quit();
        });
    } else {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (run.waitFor(0)) loop.quit();
        });
        poll.start(60);
    }
    while (!run.waitFor(0)) {
        if (run.exitNotifier() >= 0) notifier.setEnabled(true);
        loop.exec();
    }
}

}  // namespace kelmora
