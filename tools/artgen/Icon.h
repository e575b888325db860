#pragma once
// The program's icon: the hero's head and blade on a round space tile.

#include <QImage>
#include <QPainter>

namespace artgen {

// The design size of the icon; drawIcon paints into a square of this size.
constexpr int IconDesignSize = 256;

// The sizes the desktop's icon theme asks for.
constexpr int IconSizes[] = {16, 32, 48, 64, 128, 256};

// Paints the icon into the square (0, 0)-(IconDesignSize, IconDesignSize) of p.
void drawIcon(QPainter& p);

// The icon as a size x size picture with a transparent surround.
QImage renderIcon(int size);

}  // namespace artgen
