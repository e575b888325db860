#include "controls/DrawnLineEdit.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "controls/TextLine.h"

namespace kelmora {

DrawnLineEdit::DrawnLineEdit(QWidget& field) : m_field(field)
{
    QObject::connect(&m_blinkTimer, &QTimer::timeout, &field, [this] {
        m_caretOn = !m_caretOn;
        m_field.update();
    });
}

QRect DrawnLineEdit::textArea(const QRect& field, int reserve)
{
    const QRect inner = field.adjusted(2, 2, -2, -2);
    return QRect(inner.left(), inner.top(), std::max(0, inner.width() - reserve), inner.height());
}

void DrawnLineEdit::setScroll(int scroll)
{
    if (scroll == m_scroll) return;
    m_scroll = scroll;
    m_field.update();
}

void DrawnLineEdit::scrollToShow(int caretX, int room, int gap)
{
    // The caret is one pixel wide: at room - 1 it is still inside.
    if (caretX - m_scroll > room - 1) setScroll(caretX - room + 1 + gap);
    else if (caretX < m_scroll) setScroll(caretX);
}

void DrawnLineEdit::startBlink(int halfPeriodMs)
{
    m_caretOn = true;
    if (halfPeriodMs > 0) m_blinkTimer.start(halfPeriodMs);
    m_field.update();
}

void DrawnLineEdit::stopBlink()
{
    m_blinkTimer.stop();
    m_caretOn = false;
    m_field.update();
}

bool DrawnLineEdit::caretShown() const { return m_caretOn && m_field.hasFocus(); }

void DrawnLineEdit::drawText(QPainter& p, const QRect& area, const TextLine& line, QPoint origin, const QColor& text,
                             int selFrom, int selTo, const QColor& highlight, const QColor& highlightedText)
{
    p.save();
    p.setClipRect(area);
    line.draw(p, origin, text, selFrom, selTo, highlight, highlightedText);
    p.restore();
}

void DrawnLineEdit::drawCaret(QPainter& p, const QRect& caret, const QRect& clip) const
{
    if (!caretShown()) return;
    p.save();
    p.setClipRect(clip);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(caret, Qt::white);
    p.restore();
}

}  // namespace kelmora
