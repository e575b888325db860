#pragma once
// One line of text laid out once with the font's own advances. The edit fields
// take caret positions, hit testing and drawing from the same layout, so the
// caret always stands where the characters are drawn.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>
#include <memory>

class QPainter;
class QTextLayout;

namespace kelmora {

// The font as the edit fields draw their text: without smoothing, as every control
// draws, but with the face's own advances (full hinting widens "/" by a pixel).
QFont fieldTextFont(const QFont& font);

class TextLine {
public:
    TextLine(const QString& text, const QFont& font);
    TextLine(TextLine&&) noexcept;
    TextLine& operator=(TextLine&&) noexcept;
    ~TextLine();

    // Pixels the whole text advances.
    int width() const;
    int height() const;
    int ascent() const;
    // x of the caret before the UTF-16 index (0 to the text's length), from the line's start.
    int caretX(int index) const;
    // The caret index nearest to x.
    int indexAt(int x) const;

    // Draws the line with its top-left corner at origin; the indexes [selFrom, selTo)
    // on a selBack background in selColor.
    void draw(QPainter& painter, QPoint origin, const QColor& color, int selFrom = 0, int selTo = 0,
              const QColor& selBack = {}, const QColor& selColor = {}) const;

private:
    std::unique_ptr<QTextLayout> m_layout;
};

}  // namespace kelmora
