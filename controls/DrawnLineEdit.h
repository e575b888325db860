#pragma once
// The drawn part of a one-line field: its text area inside the sunken border,
// the text scrolled sideways so the caret stays in view, the selection, and a
// blinking caret that inverts what lies under it. A field holds one and keeps
// only what is its own: where its text comes from, its keys, its button.

#include <QColor>
#include <QRect>
#include <QTimer>

class QPainter;
class QWidget;

namespace kelmora {

class TextLine;

class DrawnLineEdit {
public:
    explicit DrawnLineEdit(QWidget& field);

    // The text area of a field: inside its two-pixel border, with reserve pixels
    // on the right left to its button.
    static QRect textArea(const QRect& field, int reserve);

    // Horizontal scroll in pixels (0 = the text starts at the area's left).
    int scroll() const { return m_scroll; }
    void setScroll(int scroll);
    // x of the text's start in the field.
    int textLeft(const QRect& area) const { return area.left() - m_scroll; }
    // Scrolls so that a caret caretX pixels into the line is in an area room
    // pixels wide: past the right edge it comes back to gap pixels inside it,
    // past the left edge to the edge itself.
    void scrollToShow(int caretX, int room, int gap);

    // The caret shows at once and blinks every halfPeriodMs (steady for 0).
    void startBlink(int halfPeriodMs);
    // The caret goes and stops blinking.
    void stopBlink();
    bool blinking() const { return m_blinkTimer.isActive(); }
    void setBlinkPeriod(int halfPeriodMs) { m_blinkTimer.setInterval(halfPeriodMs); }
    // True while the caret is in its shown half of the blink and the field has the focus.
    bool caretShown() const;

    // The line with its top-left corner at origin, clipped to the area; the
    // indexes [selFrom, selTo) in the highlight colours.
    static void drawText(QPainter& p, const QRect& area, const TextLine& line, QPoint origin, const QColor& text,
                         int selFrom, int selTo, const QColor& highlight, const QColor& highlightedText);
    // The caret when shown: the rectangle inverted, clipped to clip.
    void drawCaret(QPainter& p, const QRect& caret, const QRect& clip) const;

private:
    QWidget& m_field;
    QTimer m_blinkTimer;
    int m_scroll = 0;
    bool m_caretOn = false;
};

}  // namespace kelmora
