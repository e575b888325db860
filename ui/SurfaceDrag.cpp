#include "ui/SurfaceDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kelmora {

SurfaceDrag::SurfaceDrag(QWidget* window) : QObject(window), m_window(window) { window->installEventFilter(this); }

bool SurfaceDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton) break;
        if (m_window->windowHandle() && m_window->windowHandle()->startSystemMove()) return true;
        m_following = true;
        m_offset = mouse->globalPosition().toPoint() - m_window->pos();
        return true;
    case QEvent::MouseMove:
        if (m_following) m_window->move(mouse->globalPosition().toPoint() - m_offset);
        break;
    case QEvent::MouseButtonRelease:
        if (mouse->button() == Qt::LeftButton) m_following = false;
        break;
    default: break;
    }
    return false;
}

}  // namespace kelmora
