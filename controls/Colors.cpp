#include "controls/Colors.h"

#include <array>

namespace kelmora {

namespace {

// The classic desktop scheme, by system colour index, as 0x00RRGGBB for readability.
constexpr std::array<std::uint32_t, 25> kClassicScheme = {
    0xD4D0C8,  //  0 scroll bar
    0x3A6EA5,  //  1 desktop
    0x0A246A,  //  2 active caption
    0x808080,  //  3 inactive caption
    0xD4D0C8,  //  4 menu
    0xFFFFFF,  //  5 window
    0x000000,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0xFFFFFF,  //  9 caption text
    0xD4D0C8,  // 10 active border
    0xD4D0C8,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x0A246A,  // 13 highlight (selection)
    0xFFFFFF,  // 14 highlight text
    0xD4D0C8,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xD4D0C8,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x404040,  // 21 3-D dark shadow
    0xD4D0C8,  // 22 3-D light
    0x000000,  // 23 info text
    0xFFFFE1,  // 24 info background
};

}  // namespace

TColor systemColor(int index)
{
    if (index < 0 || index >= static_cast<int>(kClassicScheme.size())) return clBlack;
    const std::uint32_t rgb = kClassicScheme[static_cast<std::size_t>(index)];
    return rgbColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                    static_cast<int>(rgb & 0xFF));
}

TColor resolveColor(TColor color)
{
    if (color >= clSystemColor && color <= clSystemColor + 0x18) {
        return systemColor(static_cast<int>(color - clSystemColor));
    }
    return color;
}

QColor toQColor(TColor color)
{
    const TColor c = resolveColor(color);
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

TColor fromQColor(const QColor& color) { return rgbColor(color.red(), color.green(), color.blue()); }

}  // namespace kelmora
