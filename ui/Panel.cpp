#include "ui/Panel.h"

#include <QMouseEvent>
#include <QPainter>

namespace kelmora {

TPanel::TPanel(QWidget* parent) : QWidget(parent) {}

void TPanel::setColor(TColor color)
{
    if (color == m_color) return;
    m_color = color;
    update();
}

void TPanel::setBevelLowered(bool lowered)
{
    if (lowered == m_bevelLowered) return;
    m_bevelLowered = lowered;
    update();
}

void TPanel::setCaption(const QString& caption)
{
    if (caption == m_caption) return;
    m_caption = caption;
    update();
}

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
