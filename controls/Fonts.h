#pragma once
// The one typeface of every window. Its name is the original Japanese UI face;
// on Linux it is substituted by IPAPGothic, which has the same design metrics.

#include <QFont>
#include <QString>

namespace kelmora {

// "ＭＳ Ｐゴシック"
QString uiFontFamily();

// Makes the UI face resolve to an installed font. Call once after the
// QApplication exists (the program and every widget test do).
void installFontSubstitutions();

// The UI face at a character height in pixels.
QFont uiFont(int pixelHeight, bool bold = false);

}  // namespace kelmora
