#include "controls/TextLine.h"

#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace kelmora {

QFont fieldTextFont(const QFont& font)
{
    QFont field = font;
    field.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    return field;
}

TextLine::TextLine(const QString& text, const QFont& font) : m_layout(std::make_unique<QTextLayout>(text, font))
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    m_layout->beginLayout();
    QTextLine line = m_layout->createLine();
    line.setPosition(QPointF(0, 0));
    m_layout->endLayout();
}

TextLine::TextLine(TextLine&&) noexcept = default;
TextLine& TextLine::operator=(TextLine&&) noexcept = default;
TextLine::~TextLine() = default;

int TextLine::width() const { return static_cast<int>(std::ceil(m_layout->lineAt(0).naturalTextWidth())); }

int TextLine::height() const { return static_cast<int>(std::ceil(m_layout->lineAt(0).height())); }

int TextLine::ascent() const { return qRound(m_layout->lineAt(0).ascent()); }

int TextLine::caretX(int index) const { return qRound(m_layout->lineAt(0).cursorToX(index)); }

int TextLine::indexAt(int x) const { return m_layout->lineAt(0).xToCursor(x, QTextLine::CursorBetweenCharacters); }

void TextLine::draw(QPainter& painter, QPoint origin, const QColor& color, int selFrom, int selTo,
                    const QColor& selBack, const QColor& selColor) const
{
    QList<QTextLayout::FormatRange> selections;
    if (selTo > selFrom) {
        QTextLayout::FormatRange range;
        range.start = selFrom;
        range.length = selTo - selFrom;
        range.format.setBackground(selBack);
        range.format.setForeground(selColor);
        selections.append(range);
    }
    painter.save();
    painter.setPen(color);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    m_layout->draw(&painter, origin, selections);
    painter.restore();
}

}  // namespace kelmora
