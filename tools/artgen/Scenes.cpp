#include "Scenes.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Figure.h"

namespace artgen {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double GroundY = 280;
constexpr double HomeX = 110;

double clamp01(double t) { return std::clamp(t, 0.0, 1.0); }
double smooth(double t)
{
    t = clamp01(t);
    return t * t * (3 - 2 * t);
}
double mix(double a, double b, double t) { return a + (b - a) * t; }

// Deterministic pseudo-random numbers, so every run draws the same pictures.
class Random {
public:
    explicit Random(std::uint32_t seed) : state(seed) {}
    double next()
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1u << 24);
    }
    double range(double a, double b) { return a + (b - a) * next(); }

private:
    std::uint32_t state;
};

// ---- The hero's poses

Pose idlePose(double phase)
{
    Pose pose;
    pose.feet = {HomeX, GroundY};
    const double wave = 2 * Pi * phase;
    pose.lift = 2.5 * (1 - std::cos(wave));
    pose.armAngle = 35 - 3 * std::sin(wave);
    pose.bladeAngle = 172 + 2 * std::sin(wave);
    pose.otherArmAngle = -30 + 4 * std::sin(wave);
    // A glint runs up the blade in the middle of each loop, gone at its ends.
    const double g = (phase - 0.15) / 0.6;
    if (g > 0 && g < 1) {
        pose.glint = g;
        pose.glintAlpha = std::sin(Pi * g);
    }
    return pose;
}

Pose blend(const Pose& a, const Pose& b, double t)
{
    Pose r = t < 0.5 ? a : b;
    r.feet = a.feet * (1 - t) + b.feet * t;
    r.lift = mix(a.lift, b.lift, t);
    r.armAngle = mix(a.armAngle, b.armAngle, t);
    r.bladeAngle = mix(a.bladeAngle, b.bladeAngle, t);
    r.otherArmAngle = mix(a.otherArmAngle, b.otherArmAngle, t);
    r.glintAlpha = mix(a.glint >= 0 ? a.glintAlpha : 0, b.glint >= 0 ? b.glintAlpha : 0, t);
    r.glint = b.glint >= 0 ? b.glint : a.glint;
    return r;
}

Pose raisedPose()
{
    Pose pose;
    pose.feet = {HomeX, GroundY};
    pose.armAngle = 160;
    pose.bladeAngle = 186;
    pose.otherArmAngle = -60;
    pose.mouthOpen = true;
    return pose;
}

void hero(QPainter& p, const Pose& pose)
{
    drawGroundShadow(p, {pose.feet.x(), GroundY + 2}, 130, 1);
    drawHero(p, pose);
}

// ---- Light

void burst(QPainter& p, QPointF c, double intensity, double turn)
{
    if (intensity <= 0) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double radius = 30 + 420 * intensity;
    // Rays.
    p.translate(c);
    p.rotate(turn);
    for (int i = 0; i < 14; ++i) {
        p.rotate(360.0 / 14);
        QLinearGradient g(0, 0, 0, -radius);
        g.setColorAt(0, QColor(255, 255, 230, int(230 * std::min(1.0, intensity * 1.6))));
        g.setColorAt(1, QColor(255, 200, 80, 0));
        QPainterPath ray;
        ray.moveTo(-3, 0);
        ray.lineTo(-radius * (i % 2 ? 0.1 : 0.16), -radius);
        ray.lineTo(radius * (i % 2 ? 0.1 : 0.16), -radius);
        ray.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(ray);
    }
    p.resetTransform();
    // Glowing core.
    QRadialGradient g(c, radius * 0.8);
    g.setColorAt(0, QColor(255, 255, 255, 255));
    g.setColorAt(0.3, QColor(255, 250, 210, int(255 * std::min(1.0, intensity * 1.4))));
    g.setColorAt(0.65, QColor(255, 170, 60, int(150 * intensity)));
    g.setColorAt(1, QColor(255, 60, 0, 0));
    p.setBrush(g);
    p.drawEllipse(c, radius * 0.8, radius * 0.8);
    // At its height the light fills the whole picture.
    const double white = clamp01((intensity - 0.55) / 0.4);
    if (white > 0) p.fillRect(QRect(0, 0, FrameWidth, FrameHeight), QColor(255, 253, 240, int(255 * white)));
    p.restore();
}

void flash(QPainter& p, double alpha)
{
    if (alpha > 0) p.fillRect(QRect(0, 0, FrameWidth, FrameHeight), QColor(235, 245, 255, int(255 * alpha)));
}

void fade(QPainter& p, double visible)
{
    if (visible < 1) p.fillRect(QRect(0, 0, FrameWidth, FrameHeight), QColor(0, 0, 0, int(255 * (1 - visible))));
}

// ---- The film strip

constexpr double StripLength = 340;
constexpr double StripHalf = 32;
constexpr double StripTilt = -10;
constexpr double StripY = 122;
constexpr double Cuts[] = {165, 205, 245};
constexpr double CutSlant = 0.45;  // the cuts run slanted across the strip

QTransform stripTransform(double left)
{
    QTransform t;
    t.translate(left, StripY);
    t.rotate(StripTilt);
    return t;
}

void paintStrip(QPainter& p)
{
    QLinearGradient base(0, -StripHalf, 0, StripHalf);
    base.setColorAt(0, QColor(70, 48, 26));
    base.setColorAt(0.5, QColor(36, 24, 14));
    base.setColorAt(1, QColor(70, 48, 26));
    p.setPen(QPen(QColor(150, 110, 60), 1.2));
    p.setBrush(base);
    p.drawRect(QRectF(0, -StripHalf, StripLength, 2 * StripHalf));
    // Sprocket holes along both edges.
    p.setPen(Qt::NoPen);
    for (double x = 5; x + 8 < StripLength; x += 13) {
        for (double y : {-StripHalf + 3.5, StripHalf - 9.5}) {
            p.setBrush(QColor(220, 200, 160));
            p.drawRoundedRect(QRectF(x - 0.6, y - 0.6, 8.2, 7.2), 2, 2);
            p.setBrush(QColor(8, 6, 4));
            p.drawRoundedRect(QRectF(x, y, 7, 6), 1.6, 1.6);
        }
    }
    // The pictures on the film: a little sky, sun and hills in each.
    const QColor skies[][2] = {{QColor(120, 190, 255), QColor(230, 245, 255)},
                               {QColor(255, 150, 90), QColor(255, 230, 160)},
                               {QColor(90, 120, 220), QColor(200, 170, 255)},
                               {QColor(80, 200, 220), QColor(220, 255, 230)}};
    int n = 0;
    for (double x = 6; x + 50 < StripLength; x += 56, ++n) {
        const QRectF r(x, -StripHalf + 13, 50, 2 * StripHalf - 26);
        QLinearGradient sky(r.topLeft(), r.bottomLeft());
        sky.setColorAt(0, skies[n % 4][0]);
        sky.setColorAt(1, skies[n % 4][1]);
        p.setBrush(sky);
        p.setPen(QPen(QColor(20, 12, 6), 1.2));
        p.drawRoundedRect(r, 2, 2);
        p.save();
        p.setClipRect(r.adjusted(1, 1, -1, -1), Qt::IntersectClip);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 250, 200, 230));
        p.drawEllipse(QPointF(r.left() + 14 + (n * 7) % 24, r.top() + 11), 5, 5);
        QPainterPath hills(QPointF(r.left(), r.bottom()));
        hills.lineTo(r.left(), r.bottom() - 10);
        hills.quadTo(r.left() + 14, r.bottom() - 22 + (n % 3) * 3, r.left() + 28, r.bottom() - 11);
        hills.quadTo(r.left() + 40, r.bottom() - 18, r.right(), r.bottom() - 9);
        hills.lineTo(r.right(), r.bottom());
        hills.closeSubpath();
        p.setBrush(QColor(60, 140 + (n % 3) * 20, 70));
        p.drawPath(hills);
        p.restore();
    }
    // A sheen across the celluloid.
    QLinearGradient sheen(0, -StripHalf, 40, StripHalf);
    sheen.setSpread(QGradient::ReflectSpread);
    sheen.setColorAt(0, QColor(255, 255, 255, 0));
    sheen.setColorAt(1, QColor(255, 255, 255, 36));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRect(QRectF(0, -StripHalf, StripLength, 2 * StripHalf));
}

// The piece of strip between two cuts (index 0 is left of the first cut).
QPainterPath stripPiece(int index)
{
    const double margin = 40;
    auto cutAt = [](double c, double y) { return c + y * CutSlant; };
    QPainterPath piece;
    const double top = -StripHalf - 2, bottom = StripHalf + 2;
    const double leftTop = index == 0 ? -margin : cutAt(Cuts[index - 1], top);
    const double leftBottom = index == 0 ? -margin : cutAt(Cuts[index - 1], bottom);
    const double rightTop = index == 3 ? StripLength + margin : cutAt(Cuts[index], top);
    const double rightBottom = index == 3 ? StripLength + margin : cutAt(Cuts[index], bottom);
    piece.moveTo(leftTop, top);
    piece.lineTo(rightTop, top);
    piece.lineTo(rightBottom, bottom);
    piece.lineTo(leftBottom, bottom);
    piece.closeSubpath();
    return piece;
}

// A slash of light along cut i of the strip at the given place.
void slash(QPainter& p, const QTransform& strip, int i, double alpha, double length)
{
    if (alpha <= 0) return;
    const double c = Cuts[i];
    const QPointF a = strip.map(QPointF(c - length * CutSlant, -length));
    const QPointF b = strip.map(QPointF(c + length * CutSlant, length));
    const QPointF mid = (a + b) / 2 + QPointF(8, -4);
    QPainterPath arc(a);
    arc.quadTo(mid, b);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    const struct {
        double width;
        QColor colour;
    } layers[] = {{22, QColor(90, 180, 255, 50)},
                  {12, QColor(140, 220, 255, 110)},
                  {6, QColor(220, 250, 255, 200)},
                  {2.5, QColor(255, 255, 255, 255)}};
    for (const auto& layer : layers) {
        QColor col = layer.colour;
        col.setAlphaF(col.alphaF() * alpha);
        p.setPen(QPen(col, layer.width, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(arc);
    }
    p.restore();
}

// The strip at step k of the finishing run (k = frame - 45).
void filmStrip(QPainter& p, int k)
{
    if (k < 1 || k > 27) return;
    const double left = mix(236, -34, 1 - std::pow(1 - clamp01((k - 1) / 9.0), 2));
    const QTransform strip = stripTransform(left);
    const int fallStart = 18;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (k <= fallStart) {
        p.setTransform(strip);
        paintStrip(p);
        // Glowing seams where the blade went through.
        for (int i = 0; i < 3; ++i) {
            const int slashFrame = 11 + 3 * i;
            if (k < slashFrame) continue;
            p.setPen(QPen(QColor(255, 200, 120, 220), 2.2));
            p.drawLine(QPointF(Cuts[i] - StripHalf * CutSlant, -StripHalf),
                       QPointF(Cuts[i] + StripHalf * CutSlant, StripHalf));
        }
    } else {
        // The pieces fall apart: a small hop, then down, turning and fading.
        const double t = k - fallStart;
        const double drift[] = {-5, -1.5, 2.5, 6};
        const double hop[] = {-5, -7, -6, -4};
        const double spin[] = {-5, 4, -6, 7};
        for (int i = 0; i < 4; ++i) {
            const QPainterPath piece = stripPiece(i);
            const QPointF centre = piece.boundingRect().center();
            QTransform t2;
            t2.translate(drift[i] * t, hop[i] * t + 2.6 * t * t);
            p.setTransform(strip * t2);
            p.translate(centre);
            p.rotate(spin[i] * t);
            p.translate(-centre);
            p.setOpacity(1 - smooth(t / 9));
            p.setClipPath(piece);
            paintStrip(p);
            p.setClipping(false);
        }
        p.setOpacity(1);
        // Embers from the cuts.
        Random rnd(7);
        p.resetTransform();
        for (int i = 0; i < 18; ++i) {
            const QPointF from = strip.map(QPointF(Cuts[i % 3] + rnd.range(-12, 12), rnd.range(-StripHalf, StripHalf)));
            const QPointF to = from + QPointF(rnd.range(-5, 5) * t, (rnd.range(-4, 1) + 1.6 * t) * t);
            drawSparkle(p, to, rnd.range(3, 7), 1 - t / 8, QColor(255, 210, 140));
        }
    }
    p.restore();
}

// ---- The three runs

void opening(QPainter& p, int f)
{
    // The baby crawls in and stops, raises the tube, and the tube bursts into light.
    const QPointF crawlerEnd(112, GroundY - 4);
    if (f <= 22) {
        const double x = mix(-60, crawlerEnd.x(), clamp01(f / 14.0));
        const double raise = smooth((f - 14) / 4.0);
        const double glow = smooth((f - 16) / 3.0);
        drawGroundShadow(p, {x - 16, GroundY}, 150, 1);
        drawCrawler(p, {x, crawlerEnd.y()}, 1.0, std::min(f, 14) / 5.0, raise, glow);
    }
    // The hero stands where the light was, blade held high, then settles.
    if (f >= 22) {
        const double settle = smooth((f - 26) / 6.0);
        Pose pose = blend(raisedPose(), idlePose((f - 27) / 9.0), settle);
        pose.mouthOpen = settle < 0.5;
        hero(p, pose);
        Random rnd(3);
        for (int i = 0; i < 9; ++i) {
            const double age = (f - 22) - rnd.range(0, 4);
            const QPointF c(rnd.range(20, 200), rnd.range(40, 250) - age * 2.5);
            drawSparkle(p, c, rnd.range(5, 11), age > 0 ? std::sin(Pi * clamp01(age / 7)) : 0);
        }
    }
    const double light[] = {0.12, 0.35, 0.7, 1, 1, 0.85, 0.6, 0.4, 0.22, 0.1};
    if (f >= 17 && f < 27) burst(p, {crawlerEnd.x() + 92, crawlerEnd.y() - 150}, light[f - 17], f * 6.0);
    // Out of the dark.
    fade(p, smooth(f / 5.0) * 0.97 + 0.03);
}

void idle(QPainter& p, int f) { hero(p, idlePose((f - 36) / 9.0)); }

void finish(QPainter& p, int f)
{
    const int k = f - 45;
    Pose action;
    action.feet = {mix(HomeX, 64, smooth(k / 4.0)), GroundY};
    action.otherArmAngle = -40;
    action.mouthOpen = k >= 4 && k < 21;
    // Wind up, three slashes, then back home.
    struct ArmPose {
        double arm, blade;
    };
    const ArmPose rest{35, 172}, windUp{170, 200}, follow{118, 160}, cut{58, 92};
    ArmPose arm = rest;
    if (k <= 4) {
        const double t = smooth(k / 4.0);
        arm = {mix(rest.arm, windUp.arm, t), mix(rest.blade, windUp.blade, t)};
    } else if (k < 11) {
        arm = windUp;
    } else if (k <= 19) {
        const int beat = (k - 11) % 3;
        arm = k >= 17 ? cut : (beat == 0 ? cut : beat == 1 ? follow : windUp);
    } else {
        const double t = smooth((k - 19) / 10.0);
        arm = {mix(cut.arm, rest.arm, t), mix(cut.blade, rest.blade, t)};
        action.feet.setX(mix(64, HomeX, t));
    }
    action.armAngle = arm.arm;
    action.bladeAngle = arm.blade;
    // The idle bob takes over at the end, so frame 78 is frame 36.
    const double phase = std::fmod((k - 33) / 9.0 + 9, 1.0);
    const Pose pose = blend(action, idlePose(phase), smooth((k - 24) / 6.0));

    filmStrip(p, k);
    hero(p, pose);
    const double left = mix(236, -34, 1);
    for (int i = 0; i < 3; ++i) {
        const int at = 11 + 3 * i;
        const double a = k == at ? 1 : k == at + 1 ? 0.45 : k == at + 2 ? 0.15 : 0;
        slash(p, stripTransform(left), i, a, 80);
        flash(p, k == at ? 0.35 : k == at + 1 ? 0.1 : 0);
    }
}

}  // namespace

QImage drawFrame(int index)
{
    QImage image(FrameWidth, FrameHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (index < 36) opening(p, index);
    else if (index < 45) idle(p, index);
    else finish(p, index);
    return image;
}

QImage drawInfoPicture()
{
    const int w = 400, h = 300;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Space.
    QLinearGradient space(0, 0, 0, h);
    space.setColorAt(0, QColor(2, 3, 12));
    space.setColorAt(0.6, QColor(8, 12, 40));
    space.setColorAt(1, QColor(16, 26, 72));
    p.fillRect(image.rect(), space);
    Random rnd(11);
    for (int i = 0; i < 3; ++i) {
        const QPointF c(rnd.range(0, w), rnd.range(0, h * 0.7));
        QRadialGradient neb(c, rnd.range(80, 140));
        neb.setColorAt(0, QColor(i == 1 ? 150 : 90, 60, i == 1 ? 160 : 200, 50));
        neb.setColorAt(1, QColor(40, 20, 80, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(neb);
        p.drawEllipse(c, 150, 150);
    }
    for (int i = 0; i < 170; ++i) {
        const QPointF c(rnd.range(0, w), rnd.range(0, h));
        const double size = rnd.range(0.4, 1.3);
        const int b = int(rnd.range(140, 255));
        p.setBrush(QColor(b, b, std::min(255, b + 30)));
        p.drawEllipse(c, size, size);
    }
    for (int i = 0; i < 7; ++i) drawSparkle(p, {rnd.range(10, w - 10), rnd.range(10, 200)}, rnd.range(4, 8), 0.9);

    // The Earth, low and large.
    const QPointF earthCentre(260, 520);
    const double r = 300;
    QRadialGradient halo(earthCentre, r + 26);
    halo.setColorAt(r / (r + 26) - 0.01, QColor(120, 200, 255, 200));
    halo.setColorAt(1, QColor(60, 120, 255, 0));
    p.setBrush(halo);
    p.drawEllipse(earthCentre, r + 26, r + 26);
    QPainterPath globe;
    globe.addEllipse(earthCentre, r, r);
    QRadialGradient ocean(earthCentre, r, earthCentre + QPointF(-120, -240));
    ocean.setColorAt(0, QColor(90, 190, 255));
    ocean.setColorAt(0.5, QColor(24, 96, 200));
    ocean.setColorAt(1, QColor(6, 30, 96));
    p.setBrush(ocean);
    p.drawPath(globe);
    p.save();
    p.setClipPath(globe);
    Random land(5);
    for (int i = 0; i < 7; ++i) {
        const QPointF c(land.range(20, 400), land.range(225, 300));
        // A smooth closed curve through the midpoints of an uneven ring.
        constexpr int points = 9;
        QPointF ring[points];
        for (int j = 0; j < points; ++j) {
            const double a = 2 * Pi * j / points;
            const double rr = land.range(14, 34);
            ring[j] = c + QPointF(std::cos(a) * rr * 1.6, std::sin(a) * rr * 0.7);
        }
        QPainterPath blob((ring[points - 1] + ring[0]) / 2);
        for (int j = 0; j < points; ++j) blob.quadTo(ring[j], (ring[j] + ring[(j + 1) % points]) / 2);
        QLinearGradient g(c + QPointF(0, -20), c + QPointF(0, 20));
        g.setColorAt(0, QColor(120, 190, 90));
        g.setColorAt(1, QColor(60, 120, 50));
        p.setBrush(g);
        p.drawPath(blob);
    }
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 9; ++i) {
        const double y = land.range(228, 300);
        const double x = land.range(-20, 380);
        QPainterPath cloud(QPointF(x, y));
        cloud.cubicTo(x + 30, y - 8, x + 50, y + 6, x + land.range(70, 110), y - 2);
        p.setPen(QPen(QColor(255, 255, 255, 150), land.range(3, 7), Qt::SolidLine, Qt::RoundCap));
        p.drawPath(cloud);
    }
    // Night on the far side.
    QLinearGradient night(earthCentre + QPointF(-60, 0), earthCentre + QPointF(r, -r * 0.4));
    night.setColorAt(0, QColor(0, 0, 20, 0));
    night.setColorAt(1, QColor(0, 0, 20, 190));
    p.setPen(Qt::NoPen);
    p.setBrush(night);
    p.drawPath(globe);
    p.restore();

    // Speed streaks and the flying hero with his cape.
    for (int i = 0; i < 6; ++i) {
        const double y = 160 + i * 9 + rnd.range(-3, 3);
        QLinearGradient streak(40, y, 150, y);
        streak.setColorAt(0, QColor(255, 255, 255, 0));
        streak.setColorAt(1, QColor(200, 230, 255, 150));
        p.setPen(QPen(QBrush(streak), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(30 + rnd.range(0, 30), y), QPointF(150, y));
    }
    Pose flying;
    flying.feet = {118, 205};
    flying.rotation = 72;
    flying.scale = 0.66;
    flying.cape = true;
    flying.capeWave = 1.0;
    flying.armAngle = 170;
    flying.bladeAngle = 182;
    flying.otherArmAngle = -8;
    flying.mouthOpen = true;
    drawHero(p, flying);

    // The name in large coloured letters.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(76);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -2);
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("Kelmora"));
    const QRectF box = text.boundingRect();
    QTransform place;
    place.translate(w / 2.0 - box.width() / 2 - box.left() + 6, 96);
    place.shear(-0.18, 0);
    text = place.map(text);
    const QRectF tb = text.boundingRect();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawPath(text.translated(4, 5));
    p.setPen(QPen(QColor(20, 16, 60), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    p.setPen(QPen(QColor(255, 255, 255), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(text);
    QLinearGradient hues(tb.left(), 0, tb.right(), 0);
    hues.setColorAt(0.0, QColor(255, 60, 60));
    hues.setColorAt(0.3, QColor(255, 150, 30));
    hues.setColorAt(0.5, QColor(255, 220, 40));
    hues.setColorAt(0.7, QColor(90, 220, 90));
    hues.setColorAt(1.0, QColor(60, 170, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(hues);
    p.drawPath(text);
    // Shine on the upper half of the letters.
    p.save();
    p.setClipPath(text);
    QLinearGradient gloss(0, tb.top(), 0, tb.bottom());
    gloss.setColorAt(0, QColor(255, 255, 255, 170));
    gloss.setColorAt(0.48, QColor(255, 255, 255, 40));
    gloss.setColorAt(0.5, QColor(0, 0, 0, 0));
    gloss.setColorAt(1, QColor(0, 0, 40, 70));
    p.fillRect(tb, gloss);
    p.restore();
    return image;
}

}  // namespace artgen
