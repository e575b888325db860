#include "ui/ProcessEndWatch.h"

#include <QSocketNotifier>
#include <utility>

#include "platform/Process.h"

namespace kelmora {

ProcessEndWatch::ProcessEndWatch(QObject* parent) : QObject(parent)
{
    m_poll.setInterval(60);
    connect(&m_poll, &QTimer::timeout, this, &ProcessEndWatch::check);
}

void ProcessEndWatch::watch(platform::ChildProcess& run, std::function<void()> ended)
{
    stop();
    m_run = &run;
    m_ended = std::move(ended);
    if (run.exitNotifier() >= 0) {
        m_notifier = new QSocketNotifier(run.exitNotifier(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &ProcessEndWatch::check);
    } else {
        m_poll.start();
    }
}

void ProcessEndWatch::stop()
{
    if (m_notifier) {
        // Possibly inside its own signal: disabled now, deleted later.
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_poll.stop();
    m_run = nullptr;
    m_ended = nullptr;
}

void ProcessEndWatch::check()
{
    if (!m_run || !m_run->waitFor(0)) return;
    const std::function<void()> ended = std::move(m_ended);
    stop();
    ended();
}

}  // namespace kelmora
