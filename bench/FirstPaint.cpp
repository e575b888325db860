// Loaded into a window program by bench/startup.sh (LD_PRELOAD), so the
// program is measured unchanged: when the window named MainForm1 has painted
// for the first time, prints the wall clock ("first-paint-ns=N", nanoseconds
// since the epoch) and ends the program.
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

class FirstPaintWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("MainForm1")) {
            // After the window's own painting: the paint event is handled first.
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    const auto now = std::chrono::system_clock::now().time_since_epoch();
                    std::printf(
                        "first-paint-ns=%lld\n",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                    std::fflush(stdout);
                    std::_Exit(0);
                },
                Qt::QueuedConnection);
            qApp->removeEventFilter(this);
        }
        return false;
    }
};

void watchFirstPaint() { qApp->installEventFilter(new FirstPaintWatch); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(watchFirstPaint)
