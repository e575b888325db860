#include "Icon.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

#include "Figure.h"

namespace artgen {

void drawIcon(QPainter& p)
{
    const double s = IconDesignSize;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);

    // A round tile of night sky, lit from the upper left, with a bright rim
    // that keeps it apart from dark panels.
    const QRectF tile(8, 8, s - 16, s - 16);
    QRadialGradient sky(tile.center(), tile.width() * 0.62, QPointF(86, 70));
    sky.setColorAt(0, QColor(70, 110, 220));
    sky.setColorAt(0.55, QColor(22, 36, 120));
    sky.setColorAt(1, QColor(6, 10, 44));
    p.setPen(QPen(QColor(235, 242, 255), 8));
    p.setBrush(sky);
    p.drawEllipse(tile);
    drawSparkle(p, {58, 92}, 14, 0.95);
    drawSparkle(p, {206, 66}, 10, 0.9);
    drawSparkle(p, {40, 160}, 8, 0.8);

    // The hero from the waist up, filling the tile; the blade points past its rim.
    QPainterPath inside;
    inside.addEllipse(tile.adjusted(4, 4, -4, -4));
    p.save();
    p.setClipPath(inside);
    Pose hero;
    hero.feet = {120, 272};
    hero.scale = 0.98;
    hero.armAngle = 40;
    hero.bladeAngle = 174;
    hero.otherArmAngle = -34;
    hero.glint = 0.8;
    hero.glintAlpha = 1;
    drawHero(p, hero);
    p.restore();
    p.restore();
}

QImage renderIcon(int size)
{
    // Drawn large and scaled down, so the small sizes keep soft edges.
    const int large = std::max(size * 4, IconDesignSize);
    QImage image(large, large, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.scale(double(large) / IconDesignSize, double(large) / IconDesignSize);
        drawIcon(p);
    }
    if (large == size) return image;
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace artgen
