#include "controls/GradBox.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "controls/DrawText.h"
#include "controls/Gradient.h"
#include "controls/Property.h"

namespace kelmora {

TGradBox::TGradBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    SetColarray();
    resize(200, 100);
}

void TGradBox::setCaptionLeft(int value) { setAndUpdate(*this, m_captionLeft, value); }
void TGradBox::setCaptionTop(int value) { setAndUpdate(*this, m_captionTop, value); }
void TGradBox::setTopColor(TColor value)
{
    if (setAndUpdate(*this, m_topColor, value)) SetColarray();
}
void TGradBox::setLastColor(TColor value)
{
    if (setAndUpdate(*this, m_lastColor, value)) SetColarray();
}
void TGradBox::setOutLineColor(TColor value) { setAndUpdate(*this, m_outLineColor, value); }
void TGradBox::setDrawOutLine(bool value) { setAndUpdate(*this, m_drawOutLine, value); }
void TGradBox::setGradStyle(TGradStyle value)
{
    if (setAndUpdate(*this, m_gradStyle, value)) SetColarray();
}
void TGradBox::setFont3D(bool value) { setAndUpdate(*this, m_font3D, value); }
void TGradBox::setFontDepth(int value) { setAndUpdate(*this, m_fontDepth, value & 0xFF); }
void TGradBox::setStyle3D(TFontStyle3D value) { setAndUpdate(*this, m_style3D, value); }
void TGradBox::setBackFont(TColor value) { setAndUpdate(*this, m_backFont, value); }
void TGradBox::setCaption(const QString& value) { setAndUpdate(*this, m_caption, value); }
void TGradBox::setFont(const TFont& value) { setAndUpdate(*this, m_font, value); }

void TGradBox::Loaded() { update(); }

void TGradBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}

void TGradBox::SetColarray()
{
    switch (m_gradStyle) {
    case gsTopBottom:
    case gsLeftRight: m_colorTable = gradientBoxTable(m_topColor, m_lastColor); break;
    case gsBottomTop:
    case gsRightLeft: m_colorTable = gradientBoxTable(m_lastColor, m_topColor); break;
    case gsNone: break;
    }
}

void TGradBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);

    // 256 bands, each one row (or column) taller than the exact share, so band i
    // starts at trunc((i - 1) * share) and the last row always shows entry 255.
    // The bands are laid over one another along a single line of pixels first,
    // and that line is then spread across the box in one image.
    const bool stacked = m_gradStyle == gsTopBottom || m_gradStyle == gsBottomTop;
    const bool sideBySide = m_gradStyle == gsLeftRight || m_gradStyle == gsRightLeft;
    if ((stacked || sideBySide) && width() > 0 && height() > 0) {
        const int length = stacked ? height() : width();
        std::vector<QRgb> line(static_cast<std::size_t>(length));
        const long double share = static_cast<long double>(length) / 255;
        const int band = static_cast<int>(share + 1);
        int start = 0;
        for (int i = 0; i < 256; ++i) {
            const QRgb colour = toRgb(m_colorTable[static_cast<std::size_t>(i)]);
            const int end = std::min(start + band, length);
            if (start < end) std::fill(line.begin() + start, line.begin() + end, colour);
            start = static_cast<int>(static_cast<long double>(i) * share);
        }
        QImage fill(size(), QImage::Format_RGB32);
        for (int y = 0; y < fill.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(fill.scanLine(y));
            if (stacked) std::fill(row, row + fill.width(), line[static_cast<std::size_t>(y)]);
            else std::copy(line.begin(), line.end(), row);
        }
        painter.drawImage(0, 0, fill);
    }

    if (m_drawOutLine) {
        painter.setPen(toQColor(m_outLineColor));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }

    // The caption's rectangle runs to the box's own right and bottom edges.
    DrawCaptionText(painter, QRect(m_captionLeft, m_captionTop, width() - m_captionLeft, height() - m_captionTop));
    emit painted();
}

void TGradBox::DrawCaptionText(QPainter& painter, const QRect& rect)
{
    if (m_caption.isEmpty()) return;
    const unsigned format = DT_WORDBREAK | DT_EXPANDTABS;
    const auto draw = [&](int dx, int dy, TColor colour) {
        drawText(&painter, m_font.font, m_caption, rect.translated(dx, dy), format, toQColor(colour));
    };
    if (!isEnabled()) {
        draw(1, 1, clWhite);
        draw(0, 0, clGray);
        return;
    }
    if (m_font3D) {
        const int d = m_fontDepth;
        switch (m_style3D) {
        case fsLowShadow: draw(d, d, m_backFont); break;
        case fsRaiseShadow: draw(-d, -d, m_backFont); break;
        case fsLow3D:
            for (int i = 1; i <= d; ++i) draw(i, i, m_backFont);
            break;
        case fsRaise3D:
            for (int i = 1; i <= d; ++i) draw(-i, -i, m_backFont);
            break;
        }
    }
    draw(0, 0, m_font.Color);
}

}  // namespace kelmora
