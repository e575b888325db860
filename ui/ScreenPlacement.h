#pragma once
// Where a frameless window opens at a saved position: a monitor unplugged or
// a smaller desktop must not leave it where nobody can see or reach it.

#include <QList>
#include <QPoint>
#include <QRect>

namespace kelmora {

// The top-left for a window of the given width whose caption strip is its top
// stripHeight pixels: saved itself when that strip lies wholly on the available
// areas (one screen or several side by side); otherwise the nearest position
// that puts the strip on one screen's available area. No screens: saved.
QPoint placeCaptionOnScreens(QPoint saved, int width, int stripHeight, const QList<QRect>& available);

// The available areas of the screens now attached (without panels and docks).
QList<QRect> availableScreenAreas();

}  // namespace kelmora
