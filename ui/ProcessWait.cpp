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
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        notifier.setEnabled(true);
    } else {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (run.waitFor(0)) loop.quit();
        });
        poll.start(60);
    }
    while (!run.waitFor(0)) loop.exec();
}

}  // namespace kelmora
