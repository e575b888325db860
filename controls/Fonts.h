#pragma once
// The one typeface of every window. Its name is the original Japanese UI face;
// on Linux it is substituted by IPAPGothic, which has the same design metrics.

#include <QFont>
#include <QString>

#include "controls/Colors.h"

namespace kelmora {

// "ＭＳ Ｐゴシック"
QString uiFontFamily();

// Makes the UI face resolve to an installed font. Call once after the
// QApplication exists (the program and every widget test do).
void installFontSubstitutions();

// The UI face at a character height in pixels.
QFont uiFont(int pixelHeight, bool bold = false);

// A font as the controls keep it: the face and size, plus the text colour
// (a colour value, possibly a system colour, resolved when drawn).
struct TFont {
    QFont font = uiFont(12);
    TColor Color = clWindowText;

    bool operator==(const TFont& other) const { return font == other.font && Color == other.Color; }
};

// The UI face at a pixel height in a colour.
TFont uiTFont(int pixelHeight, TColor color, bool bold = false);

}  // namespace kelmora
