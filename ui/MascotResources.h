#pragma once
// The pictures built into the program (mascot frames, information picture).

#include <QString>

namespace kelmora {

inline const QString MascotSheetResource = QStringLiteral(":/kelmora/mascot-frames.png");
inline const QString InfoPictureResource = QStringLiteral(":/kelmora/info.png");

// Registers the built-in pictures; the library is static, so the linker would
// otherwise drop them. Safe to call more than once.
void initMascotResources();

}  // namespace kelmora
