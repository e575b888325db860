#include "controls/ShadowLabel.h"

#include <QEvent>
#include <QPainter>
#include <string>

#include "controls/DrawText.h"
#include "controls/Gradient.h"
#include "controls/Property.h"
#include "controls/TextBytes.h"
#include "platform/CodePage.h"

namespace kelmora {

namespace {

struct CodePageChar {
    QString text;
    int weight;  // bytes the character takes in the two-byte code page
};

// Whole characters of the code page. A single-byte character weighs 1, any
// other 2, which is its length in the two-byte code page of the captions.
std::vector<CodePageChar> splitChars(const QString& text, platform::CodePage cp)
{
    using namespace platform;
    const std::string bytes = toSystemBytes(text, cp);
    std::vector<CodePageChar> chars;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t end = charEnd(bytes, pos, cp);
        const QString ch = fromSystemBytes(std::string_view(bytes).substr(pos, end - pos), cp);
        int weight = end - pos == 1 ? 1 : 2;
        // Half-width katakana are single bytes in the two-byte code page.
        if (cp == CodePage::Utf8 && ch.size() == 1 && ch[0].unicode() >= 0xFF61 && ch[0].unicode() <= 0xFF9F)
            weight = 1;
        chars.push_back({ch, weight});
        pos = end;
    }
    return chars;
}

// One gradient run over chars[from, to): the first character in start, the last in end.
void addRun(const std::vector<CodePageChar>& chars, std::size_t from, std::size_t to, TColor start, TColor end,
            std::vector<TGradedChar>& out)
{
    const std::size_t k = to - from;
    for (std::size_t i = 0; i < k; ++i) {
        const double t = k == 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(k - 1);
        out.push_back({chars[from + i].text, gradationColor(start, end, t)});
    }
}

}  // namespace

std::vector<TGradedChar> textGradation(const QString& text, TColor fontColor, TColor midColor, TColor endColor,
                                       TTextGradation gradation, platform::CodePage cp)
{
    const std::vector<CodePageChar> chars = splitChars(text, cp);
    const std::size_t n = chars.size();
    std::vector<TGradedChar> out;
    if (gradation == tgNone || n <= 1) return out;
    if (gradation == tg2Colors || n == 2) {
        addRun(chars, 0, n, fontColor, endColor, out);
        return out;
    }
    // The first run ends at the first character boundary at or after half the length.
    int total = 0;
    for (const CodePageChar& c : chars) total += c.weight;
    const int half = total / 2;
    std::size_t split = 0;
    for (int length = 0; split < n && length < half; ++split) length += chars[split].weight;
    addRun(chars, 0, split, fontColor, midColor, out);
    if (n - split == 1) addRun(chars, split, n, endColor, endColor, out);
    else addRun(chars, split, n, midColor, endColor, out);
    return out;
}

TShadow::TShadow(TColor color, int offsetLeft, int offsetTop, QObject* parent)
    : QObject(parent), m_color(color), m_offsetLeft(offsetLeft), m_offsetTop(offsetTop)
{
}

void TShadow::setVisible(bool value)
{
    if (storeChanged(m_visible, value)) emit changed();
}
void TShadow::setColor(TColor value)
{
    if (storeChanged(m_color, value)) emit changed();
}
void TShadow::setOffsetLeft(int value)
{
    if (storeChanged(m_offsetLeft, value)) emit changed();
}
void TShadow::setOffsetTop(int value)
{
    if (storeChanged(m_offsetTop, value)) emit changed();
}

void TShadow::Assign(const TShadow& source)
{
    m_visible = source.m_visible;
    m_color = source.m_color;
    m_offsetLeft = source.m_offsetLeft;
    m_offsetTop = source.m_offsetTop;
    emit changed();
}

TShadowLabel::TShadowLabel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    connect(&m_highlight, &TShadow::changed, this, qOverload<>(&QWidget::update));
    connect(&m_shadow, &TShadow::changed, this, qOverload<>(&QWidget::update));
    resize(65, 17);
}

void TShadowLabel::setCaption(const QString& value)
{
    if (setAndUpdate(*this, m_caption, value)) adjustBounds();
}
void TShadowLabel::setColor(TColor value) { setAndUpdate(*this, m_color, value); }
void TShadowLabel::setTransparent(bool value)
{
    if (setAndUpdate(*this, m_transparent, value)) setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
}
void TShadowLabel::setAutoSize(bool value)
{
    if (setAndUpdate(*this, m_autoSize, value)) adjustBounds();
}
void TShadowLabel::setWordWrap(bool value)
{
    if (setAndUpdate(*this, m_wordWrap, value)) adjustBounds();
}
void TShadowLabel::setShowAccelChar(bool value)
{
    if (setAndUpdate(*this, m_showAccelChar, value)) adjustBounds();
}
void TShadowLabel::setAlignment(TAlignment value) { setAndUpdate(*this, m_alignment, value); }
void TShadowLabel::setLayout(TTextLayout value) { setAndUpdate(*this, m_layout, value); }
void TShadowLabel::setFont(const TFont& value)
{
    if (setAndUpdate(*this, m_font, value)) adjustBounds();
}
void TShadowLabel::setEllipsis(TEllipsis value) { setAndUpdate(*this, m_ellipsis, value); }
void TShadowLabel::setFlickerless(bool value) { setAndUpdate(*this, m_flickerless, value); }
void TShadowLabel::setGradateVert(bool value) { setAndUpdate(*this, m_gradateVert, value); }
void TShadowLabel::setGradation(bool value) { setAndUpdate(*this, m_gradation, value); }
void TShadowLabel::setGradationColor(TColor value) { setAndUpdate(*this, m_gradationColor, value); }
void TShadowLabel::setTextGradation(TTextGradation value) { setAndUpdate(*this, m_textGradation, value); }
void TShadowLabel::setTextGradationColor(TColor value) { setAndUpdate(*this, m_textGradationColor, value); }
void TShadowLabel::setTextMidColor(TColor value) { setAndUpdate(*this, m_textMidColor, value); }

void TShadowLabel::setHighlight(const TShadow* value)
{
    if (value) m_highlight.Assign(*value);
}

void TShadowLabel::setShadow(const TShadow* value)
{
    if (value) m_shadow.Assign(*value);
}

void TShadowLabel::Loaded()
{
    m_loading = false;
    adjustBounds();
    update();
}

void TShadowLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}

QString TShadowLabel::displayText() const
{
    if (m_caption.isEmpty() || (m_showAccelChar && m_caption == QLatin1String("&")))
        return m_caption + QLatin1Char(' ');
    return m_caption;
}

unsigned TShadowLabel::textFormat() const
{
    unsigned format = DT_EXPANDTABS;
    if (m_alignment == taRightJustify) format |= DT_RIGHT;
    if (m_alignment == taCenter) format |= DT_CENTER;
    if (m_wordWrap) format |= DT_WORDBREAK;
    if (!m_showAccelChar) format |= DT_NOPREFIX;
    if (m_ellipsis == elEnd) format |= DT_END_ELLIPSIS;
    if (m_ellipsis == elPath) format |= DT_PATH_ELLIPSIS;
    return format;
}

QSize TShadowLabel::sizeHint() const
{
    unsigned format = DT_EXPANDTABS;
    if (m_wordWrap) format |= DT_WORDBREAK;
    if (!m_showAccelChar) format |= DT_NOPREFIX;
    return measureText(m_font.font, displayText(), rect(), format).size();
}

// With automatic size the label takes the size of its text; right-justified
// labels keep their right edge.
void TShadowLabel::adjustBounds()
{
    if (m_loading || !m_autoSize) return;
    const QSize size = sizeHint();
    int x = this->x();
    if (m_alignment == taRightJustify) x += width() - size.width();
    setGeometry(x, y(), size.width(), size.height());
}

void TShadowLabel::paintEvent(QPaintEvent*)
{
    if (m_transparent || !m_flickerless) {
        QPainter painter(this);
        paintLabel(painter);
        return;
    }
    // Opaque and flicker-free: compose off-screen and copy in one step.
    QImage image(size(), QImage::Format_RGB32);
    {
        QPainter offscreen(&image);
        paintLabel(offscreen);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void TShadowLabel::paintLabel(QPainter& painter)
{
    const QString text = displayText();
    const unsigned format = textFormat();
    const QRect client = rect();

    if (!m_transparent) {
        if (m_gradation) gradRect(painter, client, m_gradationColor, m_color, m_gradateVert);
        else painter.fillRect(client, toQColor(m_color));
    }

    const int textHeight = measureText(m_font.font, text, client, format).height();
    QRect r = client;
    if (m_layout == tlCenter) r.translate(0, (height() - textHeight) / 2);
    if (m_layout == tlBottom) r.translate(0, height() - textHeight);

    const bool enabled = isEnabled();
    const TColor shadowColor = enabled ? m_shadow.Color() : clGray;
    const TColor highlightColor = enabled ? m_highlight.Color() : clBtnHighlight;
    const TColor textColor = enabled ? m_font.Color : clBtnShadow;
    if (m_shadow.Visible())
        drawText(&painter, m_font.font, text, r.translated(m_shadow.OffsetLeft(), m_shadow.OffsetTop()), format,
                 toQColor(shadowColor));
    if (m_highlight.Visible())
        drawText(&painter, m_font.font, text, r.translated(m_highlight.OffsetLeft(), m_highlight.OffsetTop()), format,
                 toQColor(highlightColor));

    // The gradation always starts at the font colour, enabled or not.
    const std::vector<TGradedChar> graded =
        textGradation(text, m_font.Color, m_textMidColor, m_textGradationColor, m_textGradation);
    if (graded.empty()) {
        drawText(&painter, m_font.font, text, r, format, toQColor(textColor));
        return;
    }
    int left = r.x();
    for (const TGradedChar& c : graded) {
        const int w = textWidth(m_font.font, c.text);
        drawText(&painter, m_font.font, c.text, QRect(left, r.y(), w, r.height()), format, toQColor(c.color));
        left += w;
    }
}

}  // namespace kelmora
