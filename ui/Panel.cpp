#include "ui/Panel.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/Property.h"

namespace kelmora {

TPanel::TPanel(QWidget* parent) : QWidget(parent) {}

void TPanel::setColor(TColor color) { setAndUpdate(*this, m_color, color); }
void TPanel::setBevelLowered(bool lowered) { setAndUpdate(*this, m_bevelLowered, lowered); }
void TPanel::setCaption(const QString& caption) { setAndUpdate(*this, m_caption, caption); }

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect all = rect();
    painter.fillRect(all, toQColor(m_color));
    if (m_bevelLowered) {
        // Shadow along the top and left edges, highlight along the bottom and right.
        painter.setPen(toQColor(clBtnShadow));
        painter.drawLine(all.left(), all.top(), all.right(), all.top());
        painter.drawLine(all.left(), all.top(), all.left(), all.bottom());
        painter.setPen(toQColor(clBtnHighlight));
        painter.drawLine(all.left(), all.bottom(), all.right(), all.bottom());
        painter.drawLine(all.right(), all.top(), all.right(), all.bottom());
    }
    if (!m_caption.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(all, Qt::AlignCenter, m_caption);
    }
}

}  // namespace kelmora

namespace kelmora {

void TPanel::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace kelmora
