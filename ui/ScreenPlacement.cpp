#include "ui/ScreenPlacement.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace kelmora {

namespace {

// The position nearest to saved that puts the strip inside area (its left or
// top edge where the strip is wider or taller than the area).
QPoint clampInto(QPoint saved, QSize strip, const QRect& area)
{
    const int x = std::max(area.left(), std::min(saved.x(), area.left() + area.width() - strip.width()));
    const int y = std::max(area.top(), std::min(saved.y(), area.top() + area.height() - strip.height()));
    return {x, y};
}

}  // namespace

QPoint placeCaptionOnScreens(QPoint saved, int width, int stripHeight, const QList<QRect>& available)
{
    if (available.isEmpty()) return saved;
    const QRect strip(saved, QSize(width, stripHeight));
    QRegion uncovered(strip);
    for (const QRect& area : available) uncovered -= area;
    if (uncovered.isEmpty()) return saved;

    QPoint best = saved;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const QRect& area : available) {
        const QPoint candidate = clampInto(saved, strip.size(), area);
        const QPoint move = candidate - saved;
        const long long distance = 1LL * move.x() * move.x() + 1LL * move.y() * move.y();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
    return areas;
}

}  // namespace kelmora
