#include "controls/DrawText.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

namespace kelmora {

namespace {

const QString kEllipsis = QStringLiteral("...");

// One line as laid out: its visible text and the index of the underlined
// accelerator character in it (-1 for none).
struct Line {
    QString text;
    int accel = -1;
};

// A font as text is drawn with it, its metrics and the advances of the characters
// met so far. Looking a font up is what costs, so the few fonts in use are kept.
struct FontEntry {
    explicit FontEntry(const QFont& font) : source(font), drawing(textDrawingFont(font)), metrics(drawing) {}
    QFont source;
    QFont drawing;
    QFontMetrics metrics;
    QHash<char32_t, int> advances;

    int advance(const QString& text, int from, int to)
    {
        int width = 0;
        for (int i = from; i < to; ++i) {
            char32_t c = text[i].unicode();
            int units = 1;
            if (text[i].isHighSurrogate() && i + 1 < to && text[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(text[i], text[i + 1]);
                units = 2;
            }
            auto found = advances.constFind(c);
            if (found == advances.cend()) found = advances.insert(c, metrics.horizontalAdvance(text.mid(i, units)));
            width += *found;
            i += units - 1;
        }
        return width;
    }
};

FontEntry& fontEntry(const QFont& font)
{
    static std::vector<std::unique_ptr<FontEntry>> cache;
    for (const auto& entry : cache)
        if (entry->source == font) return *entry;
    if (cache.size() >= 32) cache.clear();
    cache.push_back(std::make_unique<FontEntry>(font));
    return *cache.back();
}

// Widths with tab stops every eight average character widths. A string is as
// wide as its characters side by side (the drawing font has no kerning).
class Measure {
public:
    Measure(FontEntry& font, bool expandTabs)
        : m_font(font), m_expandTabs(expandTabs), m_tabStop(std::max(1, 8 * font.metrics.averageCharWidth()))
    {
    }

    // Width of text.left(count) on a line starting at x = 0.
    int width(const QString& text, int count = -1) const
    {
        if (count < 0 || count > text.size()) count = static_cast<int>(text.size());
        int x = 0;
        int runStart = 0;
        for (int i = 0; i < count; ++i) {
            if (text[i] != QLatin1Char('\t')) continue;
            x += m_font.advance(text, runStart, i);
            if (m_expandTabs) x = (x / m_tabStop + 1) * m_tabStop;
            runStart = i + 1;
        }
        return x + m_font.advance(text, runStart, count);
    }

    const QFontMetrics& metrics() const { return m_font.metrics; }

private:
    FontEntry& m_font;
    bool m_expandTabs;
    int m_tabStop;
};

// Removes the "&" marks: "&x" underlines x, "&&" is one "&", a final "&" is dropped.
Line stripPrefix(const QString& text, bool prefix)
{
    if (!prefix) return {text, -1};
    Line line;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            line.text += text[i];
            continue;
        }
        if (++i >= text.size()) break;
        if (text[i] != QLatin1Char('&')) line.accel = static_cast<int>(line.text.size());
        line.text += text[i];
    }
    return line;
}

bool isWide(QChar c) { return c.unicode() >= 0x2E80; }

// A line may break before position i: after a space, or between wide characters.
bool canBreakBefore(const QString& text, int i)
{
    if (i <= 0 || i >= text.size()) return false;
    if (text[i - 1] == QLatin1Char(' ') && text[i] != QLatin1Char(' ')) return true;
    if (text[i].isLowSurrogate()) return false;
    return isWide(text[i - 1]) || isWide(text[i]);
}

// Greedy word wrap; a word wider than the line stays whole.
void wrapLine(const Line& line, int maxWidth, const Measure& measure, std::vector<Line>& out)
{
    QString rest = line.text;
    int accel = line.accel;
    while (!rest.isEmpty()) {
        int breakAt = -1;
        for (int i = 1; i <= rest.size(); ++i) {
            const bool end = i == rest.size();
            if (!end && !canBreakBefore(rest, i)) continue;
            QString head = rest.left(i);
            while (head.endsWith(QLatin1Char(' '))) head.chop(1);
            if (measure.width(head) > maxWidth && breakAt > 0) break;
            breakAt = i;
            if (end) break;
        }
        Line piece{rest.left(breakAt), accel < breakAt ? accel : -1};
        while (piece.text.size() > 1 && piece.text.endsWith(QLatin1Char(' ')) && breakAt < rest.size())
            piece.text.chop(1);
        out.push_back(piece);
        rest = rest.mid(breakAt);
        accel = accel >= breakAt ? accel - breakAt : -1;
    }
    if (line.text.isEmpty()) out.push_back(line);
}

// Shortens a line that is too wide, ending it with "...".
void endEllipsis(Line& line, int maxWidth, const Measure& measure)
{
    if (measure.width(line.text) <= maxWidth) return;
    QString text = line.text;
    while (!text.isEmpty() && measure.width(text + kEllipsis) > maxWidth) text.chop(1);
    line.text = text + kEllipsis;
    if (line.accel >= text.size()) line.accel = -1;
}

// Shortens a path that is too wide by replacing the end of its folder part with "...",
// keeping the last name whole as long as it fits.
void pathEllipsis(Line& line, int maxWidth, const Measure& measure)
{
    if (measure.width(line.text) <= maxWidth) return;
    const auto sep = std::max(line.text.lastIndexOf(QLatin1Char('\\')), line.text.lastIndexOf(QLatin1Char('/')));
    if (sep < 0) return endEllipsis(line, maxWidth, measure);
    QString folder = line.text.left(sep);
    const QString name = line.text.mid(sep);
    while (!folder.isEmpty() && measure.width(folder + kEllipsis + name) > maxWidth) folder.chop(1);
    line.accel = -1;
    line.text = folder + kEllipsis + name;
    if (folder.isEmpty()) endEllipsis(line, maxWidth, measure);
}

std::vector<Line> layoutLines(const QString& text, const QRect& rect, unsigned format, const Measure& measure)
{
    const bool prefix = !(format & DT_NOPREFIX);
    QStringList logical;
    if (format & DT_SINGLELINE) {
        QString one = text;
        one.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        logical << one;
    } else {
        QString normalized = text;
        normalized.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        logical = normalized.split(QLatin1Char('\n'));
    }
    std::vector<Line> lines;
    for (const QString& source : logical) {
        const Line line = stripPrefix(source, prefix);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) wrapLine(line, rect.width(), measure, lines);
        else lines.push_back(line);
    }
    for (Line& line : lines) {
        if (format & DT_PATH_ELLIPSIS) pathEllipsis(line, rect.width(), measure);
        else if (format & DT_END_ELLIPSIS) endEllipsis(line, rect.width(), measure);
    }
    return lines;
}

void drawLine(QPainter& painter, const Line& line, int x, int baseline, const Measure& measure)
{
    const QString& text = line.text;
    int runStart = 0;
    int runX = x;
    for (int i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QLatin1Char('\t')) continue;
        const QString run = text.mid(runStart, i - runStart);
        if (!run.isEmpty()) painter.drawText(QPoint(runX, baseline), run);
        if (i == text.size()) break;
        runX = x + measure.width(text, i + 1);
        runStart = i + 1;
    }
    if (line.accel >= 0 && line.accel < text.size()) {
        const int from = x + measure.width(text, line.accel);
        const int to = x + measure.width(text, line.accel + 1);
        if (to > from) painter.drawLine(from, baseline + 1, to - 1, baseline + 1);
    }
}

}  // namespace

QFont textDrawingFont(const QFont& font)
{
    QFont drawing = font;
    drawing.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    drawing.setHintingPreference(QFont::PreferFullHinting);
    drawing.setKerning(false);
    return drawing;
}

int textLineHeight(const QFont& font) { return fontEntry(font).metrics.height(); }

int textWidth(const QFont& font, const QString& text)
{
    return fontEntry(font).advance(text, 0, static_cast<int>(text.size()));
}

QRect drawText(QPainter* painter, const QFont& font, const QString& text, const QRect& rect, unsigned format,
               const QColor& color)
{
    FontEntry& entry = fontEntry(font);
    const QFont& drawing = entry.drawing;
    const Measure measure(entry, format & DT_EXPANDTABS);
    const std::vector<Line> lines = layoutLines(text, rect, format, measure);
    const int lineHeight = measure.metrics().height();

    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, measure.width(line.text));
    const int height = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) return QRect(rect.x(), rect.y(), widest, height);

    int top = rect.y();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) top = rect.y() + (rect.height() - lineHeight) / 2;
        else if (format & DT_BOTTOM) top = rect.y() + rect.height() - lineHeight;
    }
    if (painter) {
        painter->save();
        painter->setFont(drawing);
        painter->setPen(color);
        painter->setBrush(Qt::NoBrush);
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setRenderHint(QPainter::TextAntialiasing, false);
    }
    int left = rect.x() + rect.width();
    int y = top;
    for (const Line& line : lines) {
        const int w = measure.width(line.text);
        int x = rect.x();
        if (format & DT_CENTER) x = rect.x() + (rect.width() - w) / 2;
        else if (format & DT_RIGHT) x = rect.x() + rect.width() - w;
        left = std::min(left, x);
        if (painter) drawLine(*painter, line, x, y + measure.metrics().ascent(), measure);
        y += lineHeight;
    }
    if (painter) painter->restore();
    return QRect(std::min(left, rect.x() + rect.width()), top, widest, height);
}

QChar accelChar(const QString& caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] != QLatin1Char('&')) return caption[i + 1];
        ++i;
    }
    return {};
}

}  // namespace kelmora
