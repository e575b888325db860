#pragma once
// Text layout and drawing with the rules every painted control follows:
// line breaks, "&" accelerator marks ("&&" is one "&"), word breaking,
// expanded tabs, horizontal alignment, single-line vertical placement and
// ellipsis. Text is drawn without antialiasing so its pixels carry exactly
// the colour asked for.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace kelmora {

// Format flags, with the values the stored layouts and handlers use.
enum TextFormat : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
};

// The font as text is drawn with it: the same face without antialiasing or kerning,
// so a whole string is exactly as wide as its characters side by side.
QFont textDrawingFont(const QFont& font);

// Height of one line of text in the font.
int textLineHeight(const QFont& font);

// Width of a piece of text on one line (no prefix or tab handling).
int textWidth(const QFont& font, const QString& text);

// Lays out text in rect with the format. With DT_CALCRECT nothing is drawn and the
// returned rectangle is rect grown or shrunk to the text: as wide as the widest line
// (the wrap width is rect's width with DT_WORDBREAK) and as high as all lines.
// Otherwise the text is drawn in colour (when painter is given) and the return
// value is the rectangle the text occupies. Drawing is not clipped to rect.
QRect drawText(QPainter* painter, const QFont& font, const QString& text, const QRect& rect, unsigned format,
               const QColor& color = Qt::black);

// Measures text: drawText with DT_CALCRECT.
inline QRect measureText(const QFont& font, const QString& text, const QRect& rect, unsigned format)
{
    return drawText(nullptr, font, text, rect, format | DT_CALCRECT);
}

// The accelerator character of a caption (the one after a single "&"), or a null QChar.
QChar accelChar(const QString& caption);

}  // namespace kelmora
