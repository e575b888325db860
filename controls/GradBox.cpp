#include "controls/GradBox.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "controls/DrawText.h"
#include "controls/Gradient.h"

namespace kelmora {

TGradBox::TGradBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(200, 100);
}

void TGradBox::repaintIf(bool changed)
{
    if (changed && !loading_) update();
}

template <typename T>
static bool storeValue(T& field, T value)
{
    if (field == value) return false;
    field = value;
    return true;
}

void TGradBox::setCaptionLeft(int value) { repaintIf(storeValue(captionLeft_, value)); }
void TGradBox::setCaptionTop(int value) { repaintIf(storeValue(captionTop_, value)); }
void TGradBox::setTopColor(TColor value) { repaintIf(storeValue(topColor_, value)); }
void TGradBox::setLastColor(TColor value) { repaintIf(storeValue(lastColor_, value)); }
void TGradBox::setOutLineColor(TColor value) { repaintIf(storeValue(outLineColor_, value) && drawOutLine_); }
void TGradBox::setDrawOutLine(bool value) { repaintIf(storeValue(drawOutLine_, value)); }
void TGradBox::setGradStyle(TGradStyle value) { repaintIf(storeValue(gradStyle_, value)); }
void TGradBox::setFont3D(bool value) { repaintIf(storeValue(font3D_, value)); }
void TGradBox::setFontDepth(int value) { repaintIf(storeValue(fontDepth_, value & 0xFF) && font3D_); }
void TGradBox::setStyle3D(TFontStyle3D value) { repaintIf(storeValue(style3D_, value)); }
void TGradBox::setBackFont(TColor value) { repaintIf(storeValue(backFont_, value) && font3D_); }
void TGradBox::setCaption(const QString& value) { repaintIf(storeValue(caption_, value)); }
void TGradBox::setFont(const TFont& value) { repaintIf(storeValue(font_, value)); }

void TGradBox::Loaded()
{
    loading_ = false;
    update();
}

void TGradBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}

void TGradBox::SetColarray()
{
    switch (gradStyle_) {
    case gsTopBottom:
    case gsLeftRight: colorTable_ = gradientBoxTable(topColor_, lastColor_); break;
    case gsBottomTop:
    case gsRightLeft: colorTable_ = gradientBoxTable(lastColor_, topColor_); break;
    case gsNone: break;
    }
}

void TGradBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    SetColarray();

    // 256 bands, each one row (or column) taller than the exact share, so band i
    // starts at trunc((i - 1) * share) and the last row always shows entry 255.
    // The bands are laid over one another along a single line of pixels first,
    // and that line is then spread across the box in one image.
    const bool stacked = gradStyle_ == gsTopBottom || gradStyle_ == gsBottomTop;
    const bool sideBySide = gradStyle_ == gsLeftRight || gradStyle_ == gsRightLeft;
    if ((stacked || sideBySide) && width() > 0 && height() > 0) {
        const int length = stacked ? height() : width();
        std::vector<QRgb> line(static_cast<std::size_t>(length));
        const long double share = static_cast<long double>(length) / 255;
        const int band = static_cast<int>(share + 1);
        int start = 0;
        for (int i = 0; i < 256; ++i) {
            const QRgb colour = toRgb(colorTable_[static_cast<std::size_t>(i)]);
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

    if (drawOutLine_) {
        painter.setPen(toQColor(outLineColor_));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }

    // The caption's rectangle runs to the box's own right and bottom edges.
    DrawCaptionText(painter, QRect(captionLeft_, captionTop_, width() - captionLeft_, height() - captionTop_));
    emit painted();
}

void TGradBox::DrawCaptionText(QPainter& painter, const QRect& rect)
{
    if (caption_.isEmpty()) return;
    const unsigned format = DT_WORDBREAK | DT_EXPANDTABS;
    const auto draw = [&](int dx, int dy, TColor colour) {
        drawText(&painter, font_.font, caption_, rect.translated(dx, dy), format, toQColor(colour));
    };
    if (!isEnabled()) {
        draw(1, 1, clWhite);
        draw(0, 0, clGray);
        return;
    }
    if (font3D_) {
        const int d = fontDepth_;
        switch (style3D_) {
        case fsLowShadow: draw(d, d, backFont_); break;
        case fsRaiseShadow: draw(-d, -d, backFont_); break;
        case fsLow3D:
            for (int i = 1; i <= d; ++i) draw(i, i, backFont_);
            break;
        case fsRaise3D:
            for (int i = 1; i <= d; ++i) draw(-i, -i, backFont_);
            break;
        }
    }
    draw(0, 0, font_.Color);
}

}  // namespace kelmora
