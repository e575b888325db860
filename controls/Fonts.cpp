#include "controls/Fonts.h"

#include <QStringList>

namespace kelmora {

QString uiFontFamily() { return QStringLiteral("ＭＳ Ｐゴシック"); }

void installFontSubstitutions()
{
    QFont::insertSubstitutions(
        uiFontFamily(), {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAGothic")});
}

QFont uiFont(int pixelHeight, bool bold)
{
    QFont font(uiFontFamily());
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

}  // namespace kelmora

namespace kelmora {

TFont uiTFont(int pixelHeight, TColor color, bool bold) { return TFont{uiFont(pixelHeight, bold), color}; }

}  // namespace kelmora
