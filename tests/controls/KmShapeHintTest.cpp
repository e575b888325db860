// The balloon hint: sizes, placement near the screen edges, the balloon's pixels,
// and taking over the application's tool tips with its own timing.
#include <QApplication>
#include <QEnterEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

#include "controls/KmShapeHint.h"

using namespace kelmora;

namespace {

// ShapeHint1 as the main window stores it.
void configureAsMainWindow(TKmShapeHint& hint)
{
    hint.BeginLoad();
    hint.setColor(clWhite);
    hint.setFont(uiTFont(11, clBlack));
    hint.Shadow().setColor(2105376);
    hint.Shadow().setDepth(2);
    hint.Loaded();
}

THintLook mainWindowLook()
{
    THintLook look;
    look.color = clWhite;
    look.font = uiTFont(11, clBlack);
    look.shadow.setColor(2105376);
    look.shadow.setDepth(2);
    return look;
}

void enter(QWidget& w)
{
    const QPointF local(w.width() / 2.0, w.height() / 2.0);
    QEnterEvent event(local, local, w.mapToGlobal(local));
    QApplication::sendEvent(&w, &event);
}

void leave(QWidget& w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&w, &event);
}

}  // namespace

TEST(ShapeHintGeometry, WrapWidthAndTextBox)
{
    EXPECT_EQ(hintWrapWidth(-4, 1024), 256);
    EXPECT_EQ(hintWrapWidth(-3, 1000), 333);
    EXPECT_EQ(hintWrapWidth(150, 1024), 150);
    EXPECT_EQ(hintWrapWidth(0, 1024), 1);

    const QFont font = uiFont(11);
    EXPECT_EQ(hintTextBox("", font, 256), hintTextBox(" ", font, 256)) << "an empty text measures as a space";
    const QSize one = hintTextBox("word", font, 256);
    EXPECT_EQ(one.height(), hintTextBox("w", font, 256).height());
    const QString longText = QString("folder ").repeated(40).trimmed();
    const QSize wrapped = hintTextBox(longText, font, 256);
    EXPECT_LE(wrapped.width(), 256 + 6);
    EXPECT_GT(wrapped.height(), 3 * (one.height() - 6)) << "a long text wraps and grows downwards";
}

TEST(ShapeHintGeometry, WindowSizeAndTextOffsetPerStyle)
{
    const QSize box(60, 20);
    EXPECT_EQ(hintWindowSize(hsRect, box, 2), QSize(62, 22));
    EXPECT_EQ(hintWindowSize(hsRoundRect, box, 2), QSize(70, 26));
    EXPECT_EQ(hintWindowSize(hsEllipse, box, 2), QSize(82, 28));
    EXPECT_EQ(hintWindowSize(hsNoseRect, box, 2), QSize(85, 40));
    EXPECT_EQ(hintWindowSize(hsNoseRoundRect, box, 6), QSize(89, 44));
    EXPECT_EQ(hintWindowSize(hsNoseEllipse, box, 2), QSize(107, 47));
    // A one-word hint still leaves a body of 46 + 8 pixels for the 30-pixel nose base.
    const QSize small = hintWindowSize(hsNoseRoundRect, QSize(20, 18), 2);
    EXPECT_EQ(small.width() - 2 - 15, 54);

    EXPECT_EQ(hintTextOffset(hsRect, hpAboveRight, box, 2), QPoint(3, 3));
    EXPECT_EQ(hintTextOffset(hsRoundRect, hpAboveRight, box, 2), QPoint(5, 5));
    EXPECT_EQ(hintTextOffset(hsEllipse, hpAboveRight, box, 2), QPoint(14, 6));
    EXPECT_EQ(hintTextOffset(hsNoseRoundRect, hpAboveRight, box, 2), QPoint(19, 4));
    EXPECT_EQ(hintTextOffset(hsNoseRoundRect, hpAboveLeft, box, 2), QPoint(4, 4));
    EXPECT_EQ(hintTextOffset(hsNoseRect, hpBelowLeft, box, 2), QPoint(4, 19));
    EXPECT_EQ(hintTextOffset(hsNoseRect, hpBelowRight, box, 2), QPoint(19, 19));
}

// Where a balloon goes for an anchor, first trying above-right.
struct PlacementCase {
    const char* name;
    QPoint anchor;
    QSize size;
    QRect screen;
    TKmHintPosition placement;
    std::optional<QPoint> topLeft;
};

class ShapeHintPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(ShapeHintPlacement, NearEachScreenEdge)
{
    const PlacementCase& c = GetParam();
    const THintPlacement p = placeHint(c.anchor, c.size, c.screen, hpAboveRight);
    EXPECT_EQ(p.placement, c.placement);
    if (c.topLeft) {
        EXPECT_EQ(p.topLeft, *c.topLeft);
    }
}

constexpr QSize kNoseRect(85, 40);
constexpr QRect kScreen(0, 0, 1024, 768);

INSTANTIATE_TEST_SUITE_P(
    Edges, ShapeHintPlacement,
    ::testing::Values(
        PlacementCase{"Middle", {500, 400}, kNoseRect, kScreen, hpAboveRight, QPoint(501, 359)},
        // The top edge: the next in the cycle, below-left.
        PlacementCase{"TopEdge", {500, 20}, kNoseRect, kScreen, hpBelowLeft, QPoint(412, 21)},
        PlacementCase{"TopLeftCorner", {30, 20}, kNoseRect, kScreen, hpBelowRight, QPoint(36, 21)},
        PlacementCase{"RightEdge", {1000, 400}, kNoseRect, kScreen, hpBelowLeft, std::nullopt},
        // Round the cycle to above-left.
        PlacementCase{"BottomRightCorner", {1000, 760}, kNoseRect, kScreen, hpAboveLeft, QPoint(914, 719)},
        PlacementCase{"BottomLeftCorner", {10, 760}, kNoseRect, kScreen, hpAboveRight, std::nullopt},
        // The window's far corner counts as outside when it touches the screen's edge.
        PlacementCase{"FarCornerOnTheEdge", {1024 - 85 - 1, 400}, kNoseRect, kScreen, hpBelowLeft, std::nullopt},
        PlacementCase{"FarCornerInside", {1024 - 85 - 2, 400}, kNoseRect, kScreen, hpAboveRight, std::nullopt},
        // Nothing fits: the fourth placement tried.
        PlacementCase{"NothingFits", {50, 50}, {200, 200}, {0, 0, 100, 100}, hpAboveLeft, QPoint(-151, -151)}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

TEST(ShapeHintBalloon, NoseRoundRectOutlineNoseAndShadowPixels)
{
    const THintLook look = mainWindowLook();
    const QSize size = hintWindowSize(hsNoseRoundRect, QSize(60, 20), 2);  // 85 x 40
    const QImage img = drawHintBalloon(look, size, hpAboveRight);
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0), shadow = qRgb(32, 32, 32);
    // Body (15, 0, 83, 23): outline, fill, and a 2-pixel shadow band right and below.
    EXPECT_EQ(img.pixel(40, 0), black);
    EXPECT_EQ(img.pixel(40, 10), white);
    EXPECT_EQ(img.pixel(82, 10), black);
    EXPECT_EQ(img.pixel(83, 10), shadow);
    EXPECT_EQ(img.pixel(84, 10), shadow);
    EXPECT_EQ(img.pixel(60, 22), black) << "bottom outline beside the nose";
    EXPECT_EQ(img.pixel(70, 23), shadow);
    EXPECT_EQ(img.pixel(70, 24), shadow);
    EXPECT_EQ(qAlpha(img.pixel(70, 25)), 0);
    // Nose (25, 22) -> (0, 38) -> (55, 22): open towards the body, tip at the corner.
    EXPECT_EQ(img.pixel(40, 22), white) << "no outline between body and nose";
    EXPECT_EQ(img.pixel(26, 22), white);
    EXPECT_EQ(img.pixel(25, 28), white);
    EXPECT_EQ(img.pixel(0, 38), black);
    EXPECT_EQ(qAlpha(img.pixel(0, 30)), 0);
    EXPECT_EQ(qAlpha(img.pixel(10, 0)), 0) << "left of the body is transparent";
    // The nose's shadow lies 2 pixels lower.
    EXPECT_EQ(img.pixel(30, 30), shadow);
    EXPECT_EQ(img.pixel(1, 39), shadow);

    // Below-right has no shadow nose.
    const QImage below = drawHintBalloon(look, size, hpBelowRight);
    EXPECT_EQ(below.pixel(0, 0), black);
    EXPECT_EQ(qAlpha(below.pixel(2, 3)), 0);

    // No shadow: the space stays, nothing is drawn there.
    THintLook plain = look;
    plain.shadow.setStyle(hssNone);
    EXPECT_EQ(qAlpha(drawHintBalloon(plain, size, hpAboveRight).pixel(83, 10)), 0);
}

TEST(ShapeHintBalloon, OtherStylesKeepTheirShapes)
{
    THintLook look = mainWindowLook();
    const QRgb black = qRgb(0, 0, 0), shadow = qRgb(32, 32, 32);
    look.style = hsRect;
    QImage img = drawHintBalloon(look, QSize(62, 22), hpAboveRight);
    EXPECT_EQ(img.pixel(0, 0), black);
    EXPECT_EQ(img.pixel(59, 19), black);
    EXPECT_EQ(img.pixel(61, 21), shadow);
    EXPECT_EQ(qAlpha(img.pixel(61, 0)), 0);
    look.style = hsEllipse;
    img = drawHintBalloon(look, QSize(82, 28), hpAboveRight);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(img.pixel(40, 13), qRgb(255, 255, 255));
    look.style = hsNoseEllipse;
    img = drawHintBalloon(look, QSize(107, 47), hpBelowLeft);
    EXPECT_EQ(img.pixel(50, 30), qRgb(255, 255, 255));
}

TEST(ShapeHintWindow, ShapedWindowShowsTheBalloonAtTheAnchor)
{
    TKmShapeHintWindow window;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint anchor = screen.center();
    window.activate(" カット開始位置(秒単位)", anchor, mainWindowLook(), -4, hpAboveRight);
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.placement(), hpAboveRight);
    EXPECT_EQ(window.geometry().bottomLeft(), anchor + QPoint(1, -2)) << "the nose tip next to the anchor";
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(window.mask().contains(QPoint(40, 10)));
    const QImage shot = window.grab().toImage();
    shot.scaled(shot.size() * 4).save("/tmp/kelmora-shapehint.png");
    EXPECT_EQ(shot.pixel(40, 0), qRgb(0, 0, 0));
    // Text in black somewhere inside the body.
    bool text = false;
    for (int x = 19; x < window.width() - 10 && !text; ++x)
        for (int y = 4; y < 16 && !text; ++y) text = shot.pixel(x, y) == qRgb(0, 0, 0);
    EXPECT_TRUE(text);
}

// Waits for the balloon to show (a loaded machine may be late).
static bool waitForBalloon(const TKmShapeHint& hint)
{
    return QTest::qWaitFor([&] { return hint.hintWindow() != nullptr; }, 20000);
}

TEST(ShapeHint, TakesOverToolTipsWithItsTiming)
{
    QWidget form;
    form.resize(300, 200);
    QPushButton a("A", &form), b("B", &form), plain("C", &form);
    a.setGeometry(10, 100, 60, 24);
    b.setGeometry(80, 100, 60, 24);
    plain.setGeometry(150, 100, 60, 24);
    a.setToolTip(" first");
    b.setToolTip(" second");
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    TKmShapeHint hint;
    configureAsMainWindow(hint);
    EXPECT_EQ(TKmShapeHint::current(), &hint);
    QSignalSpy closed(&hint, &TKmShapeHint::closeHintWindow);

    enter(a);
    EXPECT_EQ(hint.hintWindow(), nullptr) << "the first balloon waits for its pause";
    ASSERT_TRUE(waitForBalloon(hint));
    EXPECT_EQ(hint.hintControl(), &a);

    // Straight on to another hinted control: shown at once.
    leave(a);
    enter(b);
    ASSERT_NE(hint.hintWindow(), nullptr);
    EXPECT_EQ(hint.hintControl(), &b);
    EXPECT_EQ(closed.count(), 1);

    // Leaving to a control without a hint hides it; the next one waits again.
    leave(b);
    enter(plain);
    EXPECT_EQ(hint.hintWindow(), nullptr);
    EXPECT_EQ(closed.count(), 2);
    leave(plain);
    enter(a);
    EXPECT_EQ(hint.hintWindow(), nullptr);

    // Qt's own tip never shows while the balloon is on.
    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), a.mapToGlobal(QPoint(5, 5)));
    EXPECT_TRUE(hint.eventFilter(&a, &tip));
    hint.setEnabled(false);
    EXPECT_EQ(TKmShapeHint::current(), nullptr);
    EXPECT_FALSE(hint.eventFilter(&a, &tip)) << "disabled: back to plain tips";
}

TEST(ShapeHint, HidesAfterItsTime)
{
    QWidget form;
    QPushButton a("A", &form);
    a.setToolTip("hint");
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TKmShapeHint hint;
    configureAsMainWindow(hint);
    QSignalSpy closed(&hint, &TKmShapeHint::closeHintWindow);
    enter(a);
    ASSERT_TRUE(waitForBalloon(hint));
    EXPECT_EQ(closed.count(), 0);
    // It goes by itself, with the pointer still on the control.
    ASSERT_TRUE(closed.wait(20000));
    EXPECT_EQ(hint.hintWindow(), nullptr);
    EXPECT_EQ(closed.count(), 1);
}

TEST(ShapeHint, ShowHintForADurationAndControlHint)
{
    TKmShapeHint hint;
    configureAsMainWindow(hint);
    QSignalSpy closed(&hint, &TKmShapeHint::closeHintWindow);
    hint.ShowHint("now", 400, 300, 50);
    EXPECT_EQ(closed.count(), 1);
    hint.ShowControlHint("", nullptr, 50);
    QWidget hidden;
    hint.ShowControlHint("x", &hidden, 50);
    EXPECT_EQ(closed.count(), 1) << "nothing for a missing or invisible control";

    // The component freed by an event handled during the wait: the wait ends without touching it.
    auto* doomed = new TKmShapeHint;
    QTimer::singleShot(10, doomed, [doomed] { doomed->deleteLater(); });
    doomed->ShowHint("bye", 400, 300, 100);
}

TEST(ShapeHint, DisabledControlsKeepTheirHints)
{
    QWidget form;
    form.resize(200, 100);
    QPushButton field("0", &form);
    field.setGeometry(20, 20, 50, 20);
    field.setToolTip(" カット開始位置(秒単位)");
    field.setEnabled(false);
    form.move(0, 0);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TKmShapeHint hint;
    configureAsMainWindow(hint);
    // Moves over a disabled control go on to its parent.
    const QPoint global = field.mapToGlobal(QPoint(25, 10));
    QMouseEvent move(QEvent::MouseMove, form.mapFromGlobal(global), global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &move);
    EXPECT_EQ(hint.hintControl(), &field);
    ASSERT_TRUE(waitForBalloon(hint));
    // The form sits in the screen's top-left corner: the balloon goes below-right.
    EXPECT_EQ(hint.hintWindow()->placement(), hpBelowRight);
    EXPECT_EQ(hint.hintWindow()->pos(), global + QPoint(6, 1));
}
