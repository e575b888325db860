#pragma once
// Gradient arithmetic shared by the painted controls. The tables must come out
// exactly as the controls have always drawn them, so the fractional parts are
// carried in extended precision (long double, 64-bit mantissa on x86-64).

#include <QImage>
#include <QRect>
#include <array>

#include "controls/Colors.h"

class QPainter;

namespace kelmora {

// The gradient box's 256 colours from start to end: entry 0 is the start value
// and entry 255 the end value as given (unresolved); the entries between come
// from subtracting a per-channel step 254 times, truncating each to a byte.
std::array<TColor, 256> gradientBoxTable(TColor start, TColor end);

// One channel of a text or bitmap gradation at position t (0..1):
// trunc(difference * t + start), formed in extended precision.
int gradationChannel(int start, int difference, double t);

// The colour at position t between two colours (both resolved first).
TColor gradationColor(TColor start, TColor end, double t);

// The shine button's face ramp: entry i = c + (g - c) * i / 255 per channel,
// integer arithmetic, as 0x00RRGGBB pixels.
std::array<QRgb, 256> buttonRamp(TColor color, TColor gradColor);

// Fills the whole image with a two-colour gradient, top to bottom when vertical,
// else left to right. A single row (or column) gets the start colour.
void gradBitmap(QImage& image, TColor start, TColor end, bool vertical);

// Paints a gradient into a rectangle through a small bitmap stretched over it.
void gradRect(QPainter& painter, const QRect& rect, TColor start, TColor end, bool vertical);

// A colour value as an opaque 32-bit pixel.
inline QRgb toRgb(TColor color)
{
    const TColor c = resolveColor(color);
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

}  // namespace kelmora
