#include "controls/KmShapeHint.h"

#include <QPainter>

namespace kelmora {

namespace {
TKmShapeHint* s_current = nullptr;
}

TKmShapeHintWindow::TKmShapeHintWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {}
void TKmShapeHintWindow::activate(const QString&, QPoint, const THintLook&, int, TKmHintPosition) {}
void TKmShapeHintWindow::paintEvent(QPaintEvent*) {}

TKmShapeHint::TKmShapeHint(QObject* parent) : QObject(parent) { m_look.font = uiTFont(11, clInfoText); }
TKmShapeHint::~TKmShapeHint()
{
    if (s_current == this) s_current = nullptr;
}
void TKmShapeHint::Loaded() { m_loading = false; }
void TKmShapeHint::setEnabled(bool enabled) { m_enabled = enabled; }
TKmShapeHint* TKmShapeHint::current() { return s_current; }
void TKmShapeHint::ShowHint(const QString&, int, int, int) {}
void TKmShapeHint::ShowControlHint(const QString&, QWidget*, int) {}
TKmShapeHintWindow* TKmShapeHint::hintWindow() const { return m_window; }
bool TKmShapeHint::eventFilter(QObject* watched, QEvent* event) { return QObject::eventFilter(watched, event); }

}  // namespace kelmora
