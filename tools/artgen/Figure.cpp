#include "Figure.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace artgen {

namespace {

constexpr double Pi = 3.14159265358979323846;

// Direction for an angle measured from straight down (0) through the viewer's
// right (90) to straight up (180).
QPointF dir(double degrees)
{
    const double r = degrees * Pi / 180.0;
    return {std::sin(r), std::cos(r)};
}

QPointF normal(QPointF d) { return {-d.y(), d.x()}; }

const QColor Outline(40, 22, 26);
const QColor SkinLight(255, 236, 220);
const QColor SkinMid(255, 206, 172);
const QColor SkinDark(226, 150, 118);

// A rounded limb with a dark rim and a shaded middle.
void limb(QPainter& p, QPointF a, QPointF b, double width, QColor light, QColor dark)
{
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    const QPointF n = len > 0 ? normal(d / len) : QPointF(1, 0);
    p.setPen(QPen(Outline, width + 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
    QLinearGradient g(a + n * (width / 2), a - n * (width / 2));
    g.setColorAt(0, dark);
    g.setColorAt(0.45, light);
    g.setColorAt(1, dark);
    p.setPen(QPen(QBrush(g), width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
}

void ball(QPainter& p, QPointF c, double rx, double ry, QColor light, QColor mid, QColor dark, double outline = 2.0)
{
    QRadialGradient g(c, std::max(rx, ry) * 1.15, c + QPointF(-rx * 0.35, -ry * 0.4));
    g.setColorAt(0, light);
    g.setColorAt(0.55, mid);
    g.setColorAt(1, dark);
    p.setPen(outline > 0 ? QPen(Outline, outline) : Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, rx, ry);
}

void hand(QPainter& p, QPointF c, double r, bool glove)
{
    if (glove) ball(p, c, r, r, QColor(255, 255, 255), QColor(236, 238, 244), QColor(160, 166, 182));
    else ball(p, c, r, r, SkinLight, SkinMid, SkinDark);
}

void cheeks(QPainter& p, QPointF a, QPointF b, double r)
{
    for (QPointF c : {a, b}) {
        QRadialGradient g(c, r);
        g.setColorAt(0, QColor(255, 110, 130, 150));
        g.setColorAt(1, QColor(255, 110, 130, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }
}

void hairCurl(QPainter& p, QPointF top)
{
    QPainterPath curl(top + QPointF(-8, 6));
    curl.cubicTo(top + QPointF(-10, -8), top + QPointF(8, -14), top + QPointF(10, -4));
    curl.cubicTo(top + QPointF(11, 3), top + QPointF(2, 4), top + QPointF(2, -2));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 30, 18), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curl);
    p.setPen(QPen(QColor(150, 88, 50), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curl);
}

void smile(QPainter& p, QPointF c, double w, bool open)
{
    if (open) {
        p.setPen(QPen(Outline, 1.8));
        p.setBrush(QColor(120, 20, 30));
        QPainterPath m(c + QPointF(-w, -2));
        m.cubicTo(c + QPointF(-w, 10), c + QPointF(w, 10), c + QPointF(w, -2));
        m.closeSubpath();
        p.drawPath(m);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 120, 130));
        p.drawEllipse(c + QPointF(0, 4.5), w * 0.5, 2.5);
        return;
    }
    QPainterPath m(c + QPointF(-w, 0));
    m.quadTo(c + QPointF(0, w * 0.9), c + QPointF(w, 0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 30, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(m);
}

void eye(QPainter& p, QPointF c, double rx, double ry)
{
    p.setPen(Qt::NoPen);
    QRadialGradient g(c, ry, c + QPointF(0, ry * 0.4));
    g.setColorAt(0, QColor(70, 50, 90));
    g.setColorAt(1, QColor(14, 10, 24));
    p.setBrush(g);
    p.drawEllipse(c, rx, ry);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(c + QPointF(-rx * 0.3, -ry * 0.4), rx * 0.42, ry * 0.32);
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(c + QPointF(rx * 0.35, ry * 0.45), rx * 0.18, ry * 0.14);
}

void goggleLens(QPainter& p, QPointF c, double r)
{
    // Chrome rim.
    QLinearGradient rim(c + QPointF(0, -r - 4), c + QPointF(0, r + 4));
    rim.setColorAt(0, QColor(250, 252, 255));
    rim.setColorAt(0.5, QColor(120, 128, 146));
    rim.setColorAt(0.55, QColor(70, 76, 92));
    rim.setColorAt(1, QColor(210, 216, 230));
    p.setPen(QPen(Outline, 1.6));
    p.setBrush(rim);
    p.drawEllipse(c, r + 4, r + 4);
    // The eye shows through the tinted glass.
    p.setBrush(QColor(230, 246, 255));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, r, r);
    eye(p, c + QPointF(0, 1), r * 0.42, r * 0.58);
    QRadialGradient glass(c, r, c + QPointF(-r * 0.3, -r * 0.4));
    glass.setColorAt(0, QColor(140, 240, 255, 90));
    glass.setColorAt(0.7, QColor(30, 140, 230, 130));
    glass.setColorAt(1, QColor(10, 50, 140, 200));
    p.setBrush(glass);
    p.drawEllipse(c, r, r);
    // Reflection.
    QPainterPath shine(c + QPointF(-r * 0.75, -r * 0.05));
    shine.quadTo(c + QPointF(-r * 0.7, -r * 0.75), c + QPointF(0.05 * r, -r * 0.8));
    shine.quadTo(c + QPointF(-r * 0.45, -r * 0.5), c + QPointF(-r * 0.75, -r * 0.05));
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawPath(shine);
}

void blade(QPainter& p, QPointF handPos, double angle, double glint, double glintAlpha)
{
    const QPointF d = dir(angle);
    const QPointF n = normal(d);
    auto at = [&](double u, double v) { return handPos + d * u + n * v; };

    // Grip below the guard, pommel at its end.
    limb(p, at(-14, 0), at(10, 0), 8, QColor(150, 90, 50), QColor(70, 36, 20));
    ball(p, at(-17, 0), 5.5, 5.5, QColor(255, 246, 190), QColor(240, 190, 40), QColor(150, 96, 10), 1.4);

    QPainterPath shape(at(14, -11));
    shape.lineTo(at(118, -15));
    shape.quadTo(at(140, -13), at(152, 1));
    shape.quadTo(at(136, 10), at(118, 13));
    shape.lineTo(at(14, 10));
    shape.closeSubpath();
    QLinearGradient steel(at(0, -15), at(0, 13));
    steel.setColorAt(0, QColor(250, 252, 255));
    steel.setColorAt(0.3, QColor(196, 206, 222));
    steel.setColorAt(0.5, QColor(112, 124, 144));
    steel.setColorAt(0.62, QColor(226, 234, 246));
    steel.setColorAt(1, QColor(128, 138, 158));
    p.setPen(QPen(QColor(34, 40, 54), 1.8));
    p.setBrush(steel);
    p.drawPath(shape);
    // Fuller and the bright cutting edge.
    p.setPen(QPen(QColor(90, 104, 130, 200), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(20, -1), at(108, -2));
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(16, -9.5), at(118, -13.3));

    // Guard.
    limb(p, at(12, -20), at(12, 19), 7.5, QColor(255, 236, 140), QColor(176, 112, 10));
    ball(p, at(12, 0), 5, 5, QColor(255, 190, 190), QColor(220, 20, 40), QColor(110, 0, 20), 1.2);

    if (glint >= 0 && glintAlpha > 0) drawSparkle(p, at(24 + glint * 116, -8), 16, glintAlpha);
}

void cape(QPainter& p, double wave)
{
    // Hangs from the shoulders and streams out behind (down the body's axis).
    QPainterPath c(QPointF(-34, -104));
    c.cubicTo(QPointF(-60, -60), QPointF(-70 + 6 * std::sin(wave), 10), QPointF(-58, 70));
    c.cubicTo(QPointF(-30, 60 + 8 * std::sin(wave + 1.5)), QPointF(-10, 82), QPointF(8, 66));
    c.cubicTo(QPointF(30, 80 + 8 * std::sin(wave + 3)), QPointF(50, 60), QPointF(62, 72));
    c.cubicTo(QPointF(64 + 5 * std::sin(wave + 2), 0), QPointF(58, -60), QPointF(34, -104));
    c.closeSubpath();
    QLinearGradient g(QPointF(-60, 0), QPointF(60, 0));
    g.setColorAt(0, QColor(120, 0, 16));
    g.setColorAt(0.45, QColor(236, 32, 44));
    g.setColorAt(0.6, QColor(255, 90, 90));
    g.setColorAt(1, QColor(140, 0, 20));
    p.setPen(QPen(Outline, 2));
    p.setBrush(g);
    p.drawPath(c);
}

}  // namespace

void drawHero(QPainter& p, const Pose& pose)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(pose.feet);
    p.rotate(pose.rotation);
    p.scale(pose.scale, pose.scale);

    if (pose.cape) cape(p, pose.capeWave);

    const QColor suitLight(255, 92, 80), suitDark(150, 10, 24);
    // Legs and boots stay on the ground; everything above them bobs.
    limb(p, {-15, -44 - pose.lift}, {-18, -14}, 22, suitLight, suitDark);
    limb(p, {15, -44 - pose.lift}, {18, -14}, 22, suitLight, suitDark);
    for (double side : {-1.0, 1.0}) {
        ball(p, {side * 21, -9}, 17, 10, QColor(255, 140, 120), QColor(170, 24, 30), QColor(70, 0, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawEllipse(QPointF(side * 21 - 5, -14), 6, 2.5);
    }

    p.translate(0, -pose.lift);

    // Torso.
    ball(p, {0, -72}, 37, 42, QColor(255, 130, 116), QColor(222, 28, 38), QColor(120, 0, 18), 2.2);
    // Belt, clipped to the torso.
    {
        QPainterPath torso;
        torso.addEllipse(QPointF(0, -72), 37, 42);
        p.save();
        p.setClipPath(torso);
        QLinearGradient belt(0, -50, 0, -40);
        belt.setColorAt(0, QColor(255, 236, 120));
        belt.setColorAt(1, QColor(200, 130, 10));
        p.setPen(QPen(Outline, 1.4));
        p.setBrush(belt);
        p.drawRect(QRectF(-40, -50, 80, 10));
        p.restore();
        p.setPen(QPen(Outline, 1.4));
        p.setBrush(QColor(255, 250, 210));
        p.drawRoundedRect(QRectF(-7, -51.5, 14, 13), 3, 3);
    }
    // Bib with a star.
    {
        QPainterPath bib(QPointF(-23, -106));
        bib.lineTo(23, -106);
        bib.lineTo(22, -76);
        bib.quadTo(22, -58, 0, -58);
        bib.quadTo(-22, -58, -22, -76);
        bib.closeSubpath();
        QLinearGradient g(-20, -106, 20, -58);
        g.setColorAt(0, QColor(255, 255, 255));
        g.setColorAt(1, QColor(200, 208, 224));
        p.setPen(QPen(Outline, 1.6));
        p.setBrush(g);
        p.drawPath(bib);
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2 == 0) ? 10.5 : 4.4;
            const QPointF q = QPointF(0, -82) + QPointF(std::sin(i * Pi / 5), -std::cos(i * Pi / 5)) * r;
            if (i == 0) star.moveTo(q);
            else star.lineTo(q);
        }
        star.closeSubpath();
        QLinearGradient sg(0, -92, 0, -72);
        sg.setColorAt(0, QColor(255, 246, 150));
        sg.setColorAt(1, QColor(255, 150, 0));
        p.setPen(QPen(QColor(160, 80, 0), 1.2));
        p.setBrush(sg);
        p.drawPath(star);
    }

    // The free arm.
    const QPointF leftShoulder(-31, -94);
    const QPointF leftHand = leftShoulder + dir(pose.otherArmAngle) * 30;
    limb(p, leftShoulder, leftHand, 17, suitLight, suitDark);
    hand(p, leftHand, 9.5, true);

    // Head.
    ball(p, {-47, -146}, 9, 11, SkinLight, SkinMid, SkinDark);
    ball(p, {47, -146}, 9, 11, SkinLight, SkinMid, SkinDark);
    ball(p, {0, -150}, 50, 46, SkinLight, SkinMid, SkinDark, 2.4);
    hairCurl(p, {0, -197});
    cheeks(p, {-33, -130}, {33, -130}, 10);
    smile(p, {0, -121}, pose.mouthOpen ? 9 : 8, pose.mouthOpen);
    // Goggle strap across the head, then the lenses.
    {
        QPainterPath head;
        head.addEllipse(QPointF(0, -150), 50, 46);
        p.save();
        p.setClipPath(head);
        QLinearGradient strap(0, -160, 0, -146);
        strap.setColorAt(0, QColor(90, 80, 90));
        strap.setColorAt(1, QColor(30, 24, 34));
        p.setPen(Qt::NoPen);
        p.setBrush(strap);
        p.drawRect(QRectF(-52, -160, 104, 13));
        p.restore();
    }
    goggleLens(p, {-20, -152}, 15);
    goggleLens(p, {20, -152}, 15);
    p.setPen(QPen(QColor(60, 60, 70), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-3, -153), QPointF(3, -153));

    // The blade arm, over everything.
    const QPointF rightShoulder(31, -94);
    const QPointF rightHand = rightShoulder + dir(pose.armAngle) * 30;
    limb(p, rightShoulder, rightHand, 17, suitLight, suitDark);
    blade(p, rightHand, pose.bladeAngle, pose.glint, pose.glintAlpha);
    hand(p, rightHand, 10, true);

    p.restore();
}

void drawCrawler(QPainter& p, QPointF ground, double scale, double phase, double tubeRaised, double glow)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(ground);
    p.scale(scale, scale);
    const double s = std::sin(2 * Pi * phase);
    const double bob = -2.0 * std::fabs(std::sin(2 * Pi * phase));
    const QColor blueLight(150, 206, 255), blueDark(28, 78, 170);
    const QColor farLight(110, 170, 235), farDark(20, 56, 130);

    // Far limbs first, a shade darker.
    limb(p, {-44, -38 + bob}, {-38 - 10 * s, -8}, 20, farLight, farDark);
    limb(p, {-38 - 10 * s, -8}, {-76 - 6 * s, -10}, 17, farLight, farDark);
    limb(p, {6, -44 + bob}, {20 - 12 * s, -6}, 15, farLight, farDark);
    hand(p, {20 - 12 * s, -6}, 8, false);

    // Body in the romper, with a white collar.
    ball(p, {-20, -46 + bob}, 45, 30, blueLight, QColor(64, 140, 230), blueDark, 2.2);
    p.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::DotLine, Qt::RoundCap));
    p.drawLine(QPointF(-52, -42 + bob), QPointF(-4, -42 + bob));

    // Near leg.
    limb(p, {-40, -36 + bob}, {-34 + 10 * s, -7}, 21, blueLight, blueDark);
    limb(p, {-34 + 10 * s, -7}, {-74 + 6 * s, -9}, 18, blueLight, blueDark);
    ball(p, {-78 + 6 * s, -10}, 9, 8, SkinLight, SkinMid, SkinDark);

    // Near arm with the tube: on the ground while crawling; raised, it goes up
    // behind the head so the face stays clear.
    const QPointF shoulder(8, -42 + bob);
    const QPointF groundHand(24 + 12 * s, -6);
    const QPointF raisedHand(86, -126);
    const QPointF handPos = groundHand * (1 - tubeRaised) + raisedHand * tubeRaised;
    auto armWithTube = [&] {
        limb(p, shoulder, handPos, 16, blueLight, blueDark);

        const double tubeAngle = -10 - 70 * tubeRaised;  // degrees from horizontal
        p.save();
        p.translate(handPos);
        p.rotate(tubeAngle);
        if (glow > 0) {
            QRadialGradient g(QPointF(22, 0), 20 + 70 * glow);
            g.setColorAt(0, QColor(255, 255, 240, int(255 * glow)));
            g.setColorAt(0.25, QColor(255, 200, 120, int(200 * glow)));
            g.setColorAt(0.6, QColor(255, 60, 40, int(90 * glow)));
            g.setColorAt(1, QColor(255, 0, 0, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawEllipse(QPointF(22, 0), 20 + 70 * glow, 20 + 70 * glow);
        }
        QLinearGradient tube(0, -7, 0, 7);
        tube.setColorAt(0, QColor(255, 150, 150));
        tube.setColorAt(0.35, QColor(236, 24, 40));
        tube.setColorAt(1, QColor(110, 0, 16));
        p.setPen(QPen(Outline, 1.6));
        p.setBrush(tube);
        p.drawRoundedRect(QRectF(-10, -7, 36, 14), 5, 5);
        QLinearGradient cap(0, -6, 0, 6);
        cap.setColorAt(0, QColor(255, 255, 255));
        cap.setColorAt(1, QColor(150, 156, 170));
        p.setBrush(cap);
        p.drawRoundedRect(QRectF(24, -5, 9, 10), 2.5, 2.5);
        p.restore();
        hand(p, handPos, 8.5, false);
    };
    const bool raised = tubeRaised > 0.35;
    if (raised) armWithTube();

    // Head, looking ahead.
    const QPointF head(40, -68 + bob);
    ball(p, head + QPointF(-30, 4), 8, 10, SkinLight, SkinMid, SkinDark);
    ball(p, head, 40, 37, SkinLight, SkinMid, SkinDark, 2.2);
    hairCurl(p, head + QPointF(-4, -38));
    eye(p, head + QPointF(-2, -4), 6, 8);
    eye(p, head + QPointF(22, -4), 5.5, 8);
    cheeks(p, head + QPointF(-14, 10), head + QPointF(32, 10), 8);
    smile(p, head + QPointF(12, 14), 6, tubeRaised > 0.5);

    if (!raised) armWithTube();

    p.restore();
}

void drawGroundShadow(QPainter& p, QPointF centre, double width, double alpha)
{
    if (alpha <= 0) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(centre, width / 2);
    g.setColorAt(0, QColor(70, 90, 140, int(120 * alpha)));
    g.setColorAt(1, QColor(70, 90, 140, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.translate(centre);
    p.scale(1, 0.18);
    p.translate(-centre);
    p.drawEllipse(centre, width / 2, width / 2);
    p.restore();
}

void drawSparkle(QPainter& p, QPointF c, double size, double alpha, QColor colour)
{
    if (alpha <= 0 || size <= 0) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient halo(c, size);
    QColor inner = colour;
    inner.setAlphaF(0.55 * std::min(alpha, 1.0));
    QColor outer = colour;
    outer.setAlpha(0);
    halo.setColorAt(0, inner);
    halo.setColorAt(1, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, size, size);
    QPainterPath star;
    const double w = size * 0.16;
    star.moveTo(c + QPointF(0, -size));
    star.quadTo(c + QPointF(w, -w), c + QPointF(size, 0));
    star.quadTo(c + QPointF(w, w), c + QPointF(0, size));
    star.quadTo(c + QPointF(-w, w), c + QPointF(-size, 0));
    star.quadTo(c + QPointF(-w, -w), c + QPointF(0, -size));
    QColor core(255, 255, 255);
    core.setAlphaF(std::min(alpha, 1.0));
    p.setBrush(core);
    p.drawPath(star);
    p.restore();
}

}  // namespace artgen
