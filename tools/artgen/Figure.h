#pragma once
// The mascot character: a chubby baby, either in its blue romper (crawling,
// holding a red tube) or as the hero in goggles, bib and red suit with a big
// blade. Drawn with vector shapes around its feet, so a pose is just numbers.

#include <QPainter>
#include <QPointF>

namespace artgen {

struct Pose {
    QPointF feet{110, 282};  // point between the feet on the ground
    double scale = 1.0;
    double rotation = 0.0;    // whole body, degrees, about the feet
    double lift = 0.0;        // body raised above the feet (bobbing), pixels
    double armAngle = 35;     // blade arm: 0 down, 90 towards the viewer's right, 180 up
    double bladeAngle = 172;  // direction of the blade from the hand, same measure
    double otherArmAngle = -30;
    double glint = -1;  // 0..1 position of a glint running up the blade; < 0 none
    double glintAlpha = 0;
    bool mouthOpen = false;
    bool cape = false;  // a red cape behind the shoulders (flying)
    double capeWave = 0;
};

// The hero, standing on pose.feet.
void drawHero(QPainter& p, const Pose& pose);

// The baby in the romper crawling to the right; phase 0..1 is one crawl cycle.
// tubeRaised 0..1 lifts the tube up in front of the face; glow 0..1 makes it shine.
void drawCrawler(QPainter& p, QPointF ground, double scale, double phase, double tubeRaised, double glow);

// A soft dark ellipse under a figure, so it stands on something.
void drawGroundShadow(QPainter& p, QPointF centre, double width, double alpha);

// A four-pointed sparkle.
void drawSparkle(QPainter& p, QPointF centre, double size, double alpha, QColor colour = QColor(255, 255, 235));

}  // namespace artgen
