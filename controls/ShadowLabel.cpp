#include "controls/ShadowLabel.h"

#include <QEvent>
#include <QPainter>
#include <string>

#include "controls/DrawText.h"
#include "controls/Gradient.h"
#include "controls/TextBytes.h"
#include "platform/CodePage.h"

namespace kelmora {

namespace {

template <typename T>
bool storeValue(T& field, T value)
{
    if (field == value) return false;
    field = value;
    return true;
}

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
    : QObject(parent), color_(color), offsetLeft_(offsetLeft), offsetTop_(offsetTop)
{
}

void TShadow::setVisible(bool value)
{
    if (storeValue(visible_, value)) emit changed();
}
void TShadow::setColor(TColor value)
{
    if (storeValue(color_, value)) emit changed();
}
void TShadow::setOffsetLeft(int value)
{
    if (storeValue(offsetLeft_, value)) emit changed();
}
void TShadow::setOffsetTop(int value)
{
    if (storeValue(offsetTop_, value)) emit changed();
}

void TShadow::Assign(const TShadow& source)
{
    visible_ = source.visible_;
    color_ = source.color_;
    offsetLeft_ = source.offsetLeft_;
    offsetTop_ = source.offsetTop_;
    emit changed();
}

TShadowLabel::TShadowLabel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent_);
    connect(&highlight_, &TShadow::changed, this, [this] { repaintIf(true); });
    connect(&shadow_, &TShadow::changed, this, [this] { repaintIf(true); });
    resize(65, 17);
}

void TShadowLabel::repaintIf(bool changed)
{
    if (changed && !loading_) update();
}

void TShadowLabel::setCaption(const QString& value)
{
    if (!storeValue(caption_, value)) return;
    adjustBounds();
    repaintIf(true);
}
void TShadowLabel::setColor(TColor value) { repaintIf(storeValue(color_, value)); }
void TShadowLabel::setTransparent(bool value)
{
    if (!storeValue(transparent_, value)) return;
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent_);
    repaintIf(true);
}
void TShadowLabel::setAutoSize(bool value)
{
    if (!storeValue(autoSize_, value)) return;
    adjustBounds();
    repaintIf(true);
}
void TShadowLabel::setWordWrap(bool value)
{
    if (!storeValue(wordWrap_, value)) return;
    adjustBounds();
    repaintIf(true);
}
void TShadowLabel::setShowAccelChar(bool value)
{
    if (!storeValue(showAccelChar_, value)) return;
    adjustBounds();
    repaintIf(true);
}
void TShadowLabel::setAlignment(TAlignment value) { repaintIf(storeValue(alignment_, value)); }
void TShadowLabel::setLayout(TTextLayout value) { repaintIf(storeValue(layout_, value)); }
void TShadowLabel::setFont(const TFont& value)
{
    if (!storeValue(font_, value)) return;
    adjustBounds();
    repaintIf(true);
}
void TShadowLabel::setEllipsis(TEllipsis value) { repaintIf(storeValue(ellipsis_, value)); }
void TShadowLabel::setFlickerless(bool value) { repaintIf(storeValue(flickerless_, value)); }
void TShadowLabel::setGradateVert(bool value) { repaintIf(storeValue(gradateVert_, value)); }
void TShadowLabel::setGradation(bool value) { repaintIf(storeValue(gradation_, value)); }
void TShadowLabel::setGradationColor(TColor value) { repaintIf(storeValue(gradationColor_, value)); }
void TShadowLabel::setTextGradation(TTextGradation value) { repaintIf(storeValue(textGradation_, value)); }
void TShadowLabel::setTextGradationColor(TColor value)
{
    repaintIf(storeValue(textGradationColor_, value) && textGradation_ != tgNone);
}
void TShadowLabel::setTextMidColor(TColor value)
{
    repaintIf(storeValue(textMidColor_, value) && textGradation_ == tg3Colors);
}

void TShadowLabel::setHighlight(const TShadow* value)
{
    if (value) highlight_.Assign(*value);
}

void TShadowLabel::setShadow(const TShadow* value)
{
    if (value) shadow_.Assign(*value);
}

void TShadowLabel::Loaded()
{
    loading_ = false;
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
    if (caption_.isEmpty() || (showAccelChar_ && caption_ == QLatin1String("&"))) return caption_ + QLatin1Char(' ');
    return caption_;
}

unsigned TShadowLabel::textFormat() const
{
    unsigned format = DT_EXPANDTABS;
    if (alignment_ == taRightJustify) format |= DT_RIGHT;
    if (alignment_ == taCenter) format |= DT_CENTER;
    if (wordWrap_) format |= DT_WORDBREAK;
    if (!showAccelChar_) format |= DT_NOPREFIX;
    if (ellipsis_ == elEnd) format |= DT_END_ELLIPSIS;
    if (ellipsis_ == elPath) format |= DT_PATH_ELLIPSIS;
    return format;
}

QSize TShadowLabel::sizeHint() const
{
    unsigned format = DT_EXPANDTABS;
    if (wordWrap_) format |= DT_WORDBREAK;
    if (!showAccelChar_) format |= DT_NOPREFIX;
    return measureText(font_.font, displayText(), rect(), format).size();
}

// With automatic size the label takes the size of its text; right-justified
// labels keep their right edge.
void TShadowLabel::adjustBounds()
{
    if (loading_ || !autoSize_) return;
    const QSize size = sizeHint();
    int x = this->x();
    if (alignment_ == taRightJustify) x += width() - size.width();
    setGeometry(x, y(), size.width(), size.height());
}

void TShadowLabel::paintEvent(QPaintEvent*)
{
    if (transparent_ || !flickerless_) {
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

    if (!transparent_) {
        if (gradation_) gradRect(painter, client, gradationColor_, color_, gradateVert_);
        else painter.fillRect(client, toQColor(color_));
    }

    const int textHeight = measureText(font_.font, text, client, format).height();
    QRect r = client;
    if (layout_ == tlCenter) r.translate(0, (height() - textHeight) / 2);
    if (layout_ == tlBottom) r.translate(0, height() - textHeight);

    const bool enabled = isEnabled();
    const TColor shadowColor = enabled ? shadow_.Color() : clGray;
    const TColor highlightColor = enabled ? highlight_.Color() : clBtnHighlight;
    const TColor textColor = enabled ? font_.Color : clBtnShadow;
    if (shadow_.Visible())
        drawText(&painter, font_.font, text, r.translated(shadow_.OffsetLeft(), shadow_.OffsetTop()), format,
                 toQColor(shadowColor));
    if (highlight_.Visible())
        drawText(&painter, font_.font, text, r.translated(highlight_.OffsetLeft(), highlight_.OffsetTop()), format,
                 toQColor(highlightColor));

    // The gradation always starts at the font colour, enabled or not.
    const std::vector<TGradedChar> graded =
        textGradation(text, font_.Color, textMidColor_, textGradationColor_, textGradation_);
    if (graded.empty()) {
        drawText(&painter, font_.font, text, r, format, toQColor(textColor));
        return;
    }
    int left = r.x();
    for (const TGradedChar& c : graded) {
        const int w = textWidth(font_.font, c.text);
        drawText(&painter, font_.font, c.text, QRect(left, r.y(), w, r.height()), format, toQColor(c.color));
        left += w;
    }
}

}  // namespace kelmora
