#pragma once
// Helpers for the painted controls' pixel tests.

#include <QImage>
#include <QPainter>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <climits>

#include "controls/Colors.h"

namespace kelmora::test {

// A plain black window to hold graphic controls, so what they leave unpainted shows black.
inline QWidget* blackHost(int w, int h)
{
    auto* host = new QWidget;
    host->setAttribute(Qt::WA_StyledBackground);
    host->setStyleSheet(QStringLiteral("background: black"));
    host->setAutoFillBackground(true);
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, Qt::black);
    host->setPalette(palette);
    host->resize(w, h);
    return host;
}

inline QImage grabImage(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A pixel as a 0x00BBGGRR colour value, comparable with the colour constants.
inline TColor colorAt(const QImage& image, int x, int y) { return fromQColor(image.pixelColor(x, y)); }

// Points whose pixel has the colour (within the rectangle, or everywhere).
inline QSet<QPoint> pointsOf(const QImage& image, TColor colour, QRect area = {})
{
    if (area.isNull()) area = image.rect();
    QSet<QPoint> points;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (colorAt(image, x, y) == resolveColor(colour)) points.insert(QPoint(x, y));
    return points;
}

inline QSet<QPoint> shifted(const QSet<QPoint>& points, QPoint by)
{
    QSet<QPoint> out;
    for (const QPoint& p : points) out.insert(p + by);
    return out;
}

// The points of colour within area, moved so that their top row and left column are 0.
inline QSet<QPoint> shapeOf(const QImage& image, TColor colour, QRect area = {})
{
    const QSet<QPoint> points = pointsOf(image, colour, area);
    int left = INT_MAX, top = INT_MAX;
    for (const QPoint& p : points) left = std::min(left, p.x()), top = std::min(top, p.y());
    return shifted(points, QPoint(-left, -top));
}

// The shape of text as the toolkit itself draws it in font.
inline QSet<QPoint> toolkitTextShape(const QString& text, const QFont& font)
{
    QImage image(400, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(0, 30), text);
    painter.end();
    return shapeOf(image, clWhite);
}

}  // namespace kelmora::test
