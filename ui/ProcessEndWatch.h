#pragma once
// Watching for the end of a run without waiting for it: the window goes on as
// usual and a call-back runs once, from the event loop, when the run has ended.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QSocketNotifier;

namespace kelmora {

namespace platform {
class ChildProcess;
}

class ProcessEndWatch : public QObject {
    Q_OBJECT
public:
    explicit ProcessEndWatch(QObject* parent = nullptr);

    // Calls ended once run has ended (and been reaped). Replaces an earlier
    // watch; run must outlive the watch or be dropped after stop().
    void watch(platform::ChildProcess& run, std::function<void()> ended);
    // Forgets the run being watched, if any.
    void stop();
    bool watching() const { return m_run != nullptr; }

private:
    void check();

    platform::ChildProcess* m_run = nullptr;
    std::function<void()> m_ended;
    QPointer<QSocketNotifier> m_notifier;  // on the run's exit descriptor
    QTimer m_poll;                         // where the run has none
};

}  // namespace kelmora
