#include "controls/Gradient.h"

#include <QPainter>

namespace kelmora {

namespace {

using Extended = long double;

int truncToInt(Extended value) { return static_cast<int>(value); }

}  // namespace

std::array<TColor, 256> gradientBoxTable(TColor start, TColor end)
{
    const TColor s = resolveColor(start);
    const TColor e = resolveColor(end);
    Extended r = redOf(s), g = greenOf(s), b = blueOf(s);
    const Extended stepR = (r - redOf(e)) / 255;
    const Extended stepG = (g - greenOf(e)) / 255;
    const Extended stepB = (b - blueOf(e)) / 255;

    std::array<TColor, 256> table{};
    table[0] = start;
    // Repeated subtraction, not multiplication: that is what gives the known tables.
    for (int i = 1; i <= 254; ++i) {
        r -= stepR;
        g -= stepG;
        b -= stepB;
        table[static_cast<std::size_t>(i)] = rgbColor(truncToInt(r), truncToInt(g), truncToInt(b));
    }
    table[255] = end;
    return table;
}

int gradationChannel(int start, int difference, double t)
{
    return truncToInt(static_cast<Extended>(difference) * static_cast<Extended>(t) + start);
}

TColor gradationColor(TColor start, TColor end, double t)
{
    const TColor s = resolveColor(start);
    const TColor e = resolveColor(end);
    return rgbColor(gradationChannel(redOf(s), redOf(e) - redOf(s), t),
                    gradationChannel(greenOf(s), greenOf(e) - greenOf(s), t),
                    gradationChannel(blueOf(s), blueOf(e) - blueOf(s), t));
}

std::array<QRgb, 256> buttonRamp(TColor color, TColor gradColor)
{
    const TColor c = resolveColor(color);
    const TColor g = resolveColor(gradColor);
    std::array<QRgb, 256> ramp{};
    for (int i = 0; i < 256; ++i) {
        ramp[static_cast<std::size_t>(i)] =
            qRgb(redOf(c) + (redOf(g) - redOf(c)) * i / 255, greenOf(c) + (greenOf(g) - greenOf(c)) * i / 255,
                 blueOf(c) + (blueOf(g) - blueOf(c)) * i / 255);
    }
    return ramp;
}

void gradBitmap(QImage& image, TColor start, TColor end, bool vertical)
{
    const int w = image.width();
    const int h = image.height();
    if (w < 1 || h < 1) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    const int steps = vertical ? h : w;
    for (int i = 0; i < steps; ++i) {
        // A single row or column has no end to run to: it shows the start colour.
        const double t = steps > 1 ? static_cast<double>(i) / (steps - 1) : 0.0;
        const QRgb pixel = toRgb(gradationColor(start, end, t));
        if (vertical) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(i));
            std::fill(line, line + w, pixel);
        } else {
            for (int y = 0; y < h; ++y) reinterpret_cast<QRgb*>(image.scanLine(y))[i] = pixel;
        }
    }
}

void gradRect(QPainter& painter, const QRect& rect, TColor start, TColor end, bool vertical)
{
    if (rect.isEmpty()) return;
    QImage strip(vertical ? 1 : rect.width(), vertical ? rect.height() : rect.height() / 20 + 1, QImage::Format_RGB32);
    gradBitmap(strip, start, end, vertical);
    painter.drawImage(rect, strip);
}

}  // namespace kelmora
