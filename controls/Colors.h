#pragma once
// Colour values as the window layouts store them: 0x00BBGGRR for a plain colour
// (red in the lowest byte), 0x80000000 + index for a system colour, clNone for none.

#include <QColor>
#include <cstdint>

namespace kelmora {

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

// System colours: 0x80000000 plus the platform's colour index.
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clWindow = clSystemColor + 5;
constexpr TColor clWindowFrame = clSystemColor + 6;
constexpr TColor clWindowText = clSystemColor + 8;
constexpr TColor clHighlight = clSystemColor + 13;
constexpr TColor clHighlightText = clSystemColor + 14;
constexpr TColor clBtnFace = clSystemColor + 15;
constexpr TColor clBtnShadow = clSystemColor + 16;
constexpr TColor clGrayText = clSystemColor + 17;
constexpr TColor clBtnText = clSystemColor + 18;
constexpr TColor clBtnHighlight = clSystemColor + 20;
constexpr TColor cl3DDkShadow = clSystemColor + 21;
constexpr TColor cl3DLight = clSystemColor + 22;
constexpr TColor clInfoText = clSystemColor + 23;
constexpr TColor clInfoBk = clSystemColor + 24;

// The colour a system colour index stands for, from one fixed classic table,
// as 0x00BBGGRR. Indexes outside the table give black.
TColor systemColor(int index);

// A system colour (0x80000000 to 0x80000018) resolved through the table; any other
// value unchanged. Resolving clNone gives clNone back.
TColor resolveColor(TColor color);

// Red, green and blue bytes of a resolved colour.
constexpr int redOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr TColor rgbColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The colour resolved and turned into a QColor (opaque).
QColor toQColor(TColor color);

// A QColor as a plain 0x00BBGGRR colour value.
TColor fromQColor(const QColor& color);

}  // namespace kelmora
