#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>
#include <utility>
#include <vector>

#include "PaintedTestSupport.h"
#include "controls/DrawText.h"
#include "controls/Gradient.h"
#include "controls/ShineSpeedButton.h"

using namespace kelmora;
using namespace kelmora::test;

namespace {

constexpr TColor kOrange = 33023;

// The main window's cut button.
TShineSpeedButton* cutButton(QWidget* parent)
{
    auto* b = new TShineSpeedButton(parent);
    b->BeginLoad();
    b->resize(120, 30);
    b->setClickDownHook(true);
    b->setCaption(QStringLiteral("カット！"));
    b->setFont(uiTFont(12, clWhite));
    b->setActiveFont(uiTFont(12, clWhite, true));
    b->setFontHighlight(8388672);
    b->setFontShadow(clBlack);
    b->Colors().setColor(clYellow);
    b->Colors().setGradColor(kOrange);
    b->Colors().setHighlight(14737632);
    b->Colors().setShadow(clSilver);
    b->Colors().setGradation(true);
    b->Colors().setGradVertical(true);
    b->PressedColors().setColor(clRed);
    b->PressedColors().setGradColor(clMaroon);
    b->PressedColors().setHighlight(clSilver);
    b->PressedColors().setShadow(clGray);
    b->PressedColors().setGradation(true);
    b->PressedColors().setGradVertical(true);
    b->Loaded();
    return b;
}

// A small plain button with distinct bevel colours.
std::unique_ptr<TShineSpeedButton> frameButton(TFrameType type)
{
    auto b = std::make_unique<TShineSpeedButton>();
    b->resize(10, 8);
    b->setFrameType(type);
    b->Colors().setColor(clBlack);
    b->Colors().setHighlight(clWhite);
    b->Colors().setShadow(clGray);
    b->Colors().setDarkShadow(clBlue);
    b->PressedColors().setColor(clBlack);
    b->PressedColors().setHighlight(clYellow);
    b->PressedColors().setShadow(clRed);
    b->PressedColors().setDarkShadow(clLime);
    return b;
}

void latchDown(TShineSpeedButton& b)
{
    b.setGroupIndex(1);
    b.setAllowAllUp(true);
    b.setDown(true);
    ASSERT_EQ(b.State(), stDown);
}

struct Window {
    std::unique_ptr<QWidget> host{blackHost(200, 100)};
    Window() {}
    void show()
    {
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }
};

}  // namespace

TEST(ShineButtonFace, CutButtonRampRowsAndDisabledCaption)
{
    Window w;
    TShineSpeedButton* b = cutButton(w.host.get());
    b->setCaption(QString());
    b->setUpFrame(false);
    const auto ramp = buttonRamp(clYellow, kOrange);
    QImage image = grabImage(*b);
    for (int y = 0; y < 30; ++y) EXPECT_EQ(image.pixel(60, y), ramp[static_cast<std::size_t>(y * 256 / 30)]);
    EXPECT_EQ(image.pixel(0, 29), ramp[247]);
    EXPECT_EQ(image.pixel(119, 0), qRgb(255, 255, 0));

    // Disabled: same face, caption in the disabled colours only.
    b->setCaption(QStringLiteral("カット！"));
    b->setEnabled(false);
    image = grabImage(*b);
    EXPECT_EQ(b->State(), stDisabled);
    EXPECT_EQ(image.pixel(2, 0), ramp[0]);
    EXPECT_FALSE(pointsOf(image, clGray).isEmpty());
    EXPECT_FALSE(pointsOf(image, clWhite).isEmpty());
    EXPECT_TRUE(pointsOf(image, clBlack).isEmpty());
    EXPECT_TRUE(pointsOf(image, 8388672).isEmpty());
}

// One frame style in one state and the pixels it must paint (10 x 8 button).
struct FrameCase {
    const char* name;
    TFrameType type;
    bool latched;  // latched down: the pressed colours, sunken
    bool upFrame;  // the up state's frame flag
    std::vector<std::pair<QPoint, TColor>> pixels;
};

class ShineButtonFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(ShineButtonFrame, PaintsToThePixel)
{
    const FrameCase& c = GetParam();
    auto b = frameButton(c.type);
    b->setUpFrame(c.upFrame);
    if (c.latched) latchDown(*b);
    const QImage image = grabImage(*b);
    for (const auto& [p, colour] : c.pixels)
        EXPECT_EQ(colorAt(image, p.x(), p.y()), colour) << "at " << p.x() << "," << p.y();
}

// Up colours: highlight white, shadow grey, dark shadow blue; pressed: yellow, red, lime; both faces black.
INSTANTIATE_TEST_SUITE_P(
    Frames, ShineButtonFrame,
    ::testing::Values(
        // Raised: highlight top/left, shadow and dark shadow bottom/right, two corners unpainted.
        FrameCase{"NormalUp",
                  ftNormalFrame,
                  false,
                  true,
                  {{{0, 0}, clWhite},
                   {{8, 0}, clWhite},
                   {{0, 6}, clWhite},
                   {{9, 0}, clBlack},
                   {{0, 7}, clBlack},
                   {{8, 6}, clGray},
                   {{1, 6}, clGray},
                   {{9, 7}, clBlue},
                   {{9, 1}, clBlue},
                   {{4, 4}, clBlack}}},
        FrameCase{"NormalDown",
                  ftNormalFrame,
                  true,
                  true,
                  {{{0, 0}, clLime},
                   {{1, 1}, clRed},
                   {{8, 1}, clRed},
                   {{9, 7}, clYellow},
                   {{9, 0}, clBlack},
                   {{0, 7}, clBlack}}},
        FrameCase{"FlatUp",
                  ftFlatFrame,
                  false,
                  true,
                  {{{0, 0}, clWhite}, {{9, 7}, clGray}, {{9, 0}, clBlack}, {{0, 7}, clBlack}, {{1, 1}, clBlack}}},
        FrameCase{"FlatDown", ftFlatFrame, true, true, {{{0, 0}, clRed}, {{9, 7}, clYellow}}},
        // Enclosed: the outer ring always comes from Colors.DarkShadow.
        FrameCase{"EnclosedUp",
                  ftEnclosedFrame,
                  false,
                  true,
                  {{{0, 0}, clBlue},
                   {{9, 0}, clBlue},
                   {{0, 7}, clBlue},
                   {{9, 7}, clBlue},
                   {{5, 0}, clBlue},
                   {{1, 1}, clWhite},
                   {{7, 1}, clWhite},
                   {{8, 1}, clBlack},
                   {{8, 6}, clGray}}},
        FrameCase{"EnclosedDown", ftEnclosedFrame, true, true, {{{0, 0}, clBlue}, {{1, 1}, clRed}, {{8, 6}, clYellow}}},
        // No bevel when the state's frame flag is off.
        FrameCase{"NoUpFrame", ftNormalFrame, false, false, {{{0, 0}, clBlack}}}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

TEST(ShineButtonCaption, CopiesAndPressedOffset)
{
    auto b = frameButton(ftNormalFrame);
    b->resize(40, 20);
    b->setUpFrame(false);
    b->setDownFrame(false);
    b->setFont(uiTFont(12, clWhite));
    b->setCaption(QStringLiteral("ab"));
    QImage image = grabImage(*b);
    const QSet<QPoint> text = pointsOf(image, clWhite);
    ASSERT_FALSE(text.isEmpty());
    // Centred on the measured rectangle.
    QPoint glyph;
    QRect rect;
    b->CalcDrawPosition(uiFont(12), glyph, rect);
    EXPECT_EQ(rect.size(), measureText(uiFont(12), QStringLiteral("ab"), {}, 0).size());
    EXPECT_EQ(rect.left(), (40 - rect.width()) / 2);
    EXPECT_EQ(rect.top(), (20 - rect.height()) / 2);

    b->setFontHighlight(clRed);
    image = grabImage(*b);
    EXPECT_EQ(pointsOf(image, clWhite), text);
    EXPECT_EQ(pointsOf(image, clRed), shifted(text, {-1, -1}) - text);
    b->setFontShadow(clGray);
    image = grabImage(*b);
    EXPECT_EQ(pointsOf(image, clGray), shifted(text, {1, 1}) - text - shifted(text, {-1, -1}));

    b->setFontHighlight(clNone);
    b->setFontShadow(clNone);
    latchDown(*b);
    EXPECT_EQ(pointsOf(grabImage(*b), clWhite), shifted(text, {1, 1}));
}

TEST(ShineButtonCaption, LayoutsPlaceGlyphAndCaption)
{
    TShineSpeedButton b;
    b.resize(60, 40);
    b.setCaption(QStringLiteral("ab"));
    const QSize t = measureText(uiFont(12), QStringLiteral("ab"), {}, 0).size();
    QPoint glyph;
    QRect rect;
    b.setLayout(blGlyphTop);
    b.CalcDrawPosition(uiFont(12), glyph, rect);
    EXPECT_EQ(rect.top(), 4 + (40 - 4 - t.height()) / 2);
    b.setLayout(blGlyphBottom);
    b.CalcDrawPosition(uiFont(12), glyph, rect);
    EXPECT_EQ(rect.top(), (40 - t.height()) / 2);

    QImage icon(10, 6, QImage::Format_RGB32);
    icon.fill(Qt::red);
    b.setGlyph(icon);
    b.setLayout(blGlyphLeft);
    b.setMargin(3);
    b.CalcDrawPosition(uiFont(12), glyph, rect);
    EXPECT_EQ(glyph, QPoint(3, (40 - std::max(6, t.height())) / 2 + (std::max(6, t.height()) - 6) / 2));
    EXPECT_EQ(rect.left(), 3 + 10 + 4);
    b.setLayout(blGlyphRight);
    b.CalcDrawPosition(uiFont(12), glyph, rect);
    EXPECT_EQ(glyph.x(), 60 - 3 - 10);
    EXPECT_EQ(rect.left(), 60 - 3 - 10 - 4 - t.width());
}

TEST(ShineButtonCaption, GlyphDrawnWithoutItsKeyColour)
{
    auto b = frameButton(ftNormalFrame);
    b->resize(12, 12);
    b->setUpFrame(false);
    QImage icon(4, 4, QImage::Format_RGB32);
    icon.fill(Qt::green);  // the key: bottom-left
    icon.setPixel(1, 1, qRgb(255, 0, 0));
    b->setGlyph(icon);
    QImage image = grabImage(*b);
    EXPECT_EQ(colorAt(image, 5, 5), clRed);
    EXPECT_TRUE(pointsOf(image, clLime).isEmpty());

    // Disabled, default look: the edge mask in the two disabled colours.
    b->setEnabled(false);
    image = grabImage(*b);
    EXPECT_FALSE(pointsOf(image, clGray).isEmpty());
    EXPECT_TRUE(pointsOf(image, clRed).isEmpty());
}

// ---- behaviour ----

TEST(ShineButtonBehaviour, PressDragAndReleaseClickOnce)
{
    Window w;
    TShineSpeedButton* b = cutButton(w.host.get());
    b->move(10, 10);
    w.show();
    QSignalSpy clicks(b, &TShineSpeedButton::clicked);
    QStringList order;
    QObject::connect(b, &TShineSpeedButton::mouseUp, [&] { order << "up"; });
    QObject::connect(b, &TShineSpeedButton::clicked, [&] { order << "click"; });

    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b->State(), stActiveDown);
    QTest::mouseMove(b, QPoint(200, 5));
    EXPECT_EQ(b->State(), stUp);
    QTest::mouseMove(b, QPoint(5, 5));
    EXPECT_EQ(b->State(), stActiveDown);
    QTest::mouseMove(b, QPoint(-1, 5));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(-1, 5));
    EXPECT_EQ(clicks.count(), 0);

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(119, 29));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(order, QStringList({"up", "up", "click"}));

    // A release of another button ends the press too, without a click.
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(b, Qt::RightButton, {}, QPoint(200, 5));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(ShineButtonBehaviour, PressedFaceStaysWhileTheClickHandlerRuns)
{
    Window w;
    TShineSpeedButton* b = cutButton(w.host.get());
    w.show();
    TShineState during = stUp;
    QRgb faceDuring = 0;
    QObject::connect(b, &TShineSpeedButton::clicked, [&] {
        during = b->State();
        faceDuring = grabImage(*b).pixel(60, 2);
    });
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(during, stActiveDown);
    EXPECT_EQ(faceDuring, buttonRamp(clRed, clMaroon)[2 * 256 / 30]);
    EXPECT_NE(b->State(), stActiveDown);
    EXPECT_EQ(grabImage(*b).pixel(60, 2), buttonRamp(clYellow, kOrange)[2 * 256 / 30]);
}

TEST(ShineButtonBehaviour, SurvivesItsOwnLongClickHandler)
{
    Window w;
    TShineSpeedButton* b = cutButton(w.host.get());
    w.show();
    int clicks = 0;
    // The handler runs a nested event loop, during which the button is repainted,
    // disabled, pressed again and finally deleted.
    QObject::connect(b, &TShineSpeedButton::clicked, [&] {
        if (++clicks > 1) return;
        QEventLoop loop;
        QTimer::singleShot(0, [&] {
            b->repaint();
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
            b->setEnabled(false);
            b->repaint();
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
            loop.quit();
        });
        loop.exec();
        EXPECT_EQ(b->State(), stDisabled);
        delete b;
    });
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(w.host->findChildren<TShineSpeedButton*>().isEmpty());
}

TEST(ShineButtonBehaviour, HotTrackingAndTheLeaveFoundByTheTimer)
{
    Window w;
    TShineSpeedButton* b = cutButton(w.host.get());
    b->move(10, 10);
    b->setEnabled(true);
    w.show();
    QSignalSpy leaves(b, &TShineSpeedButton::mouseLeave);
    QSignalSpy enters(b, &TShineSpeedButton::mouseEnter);
    QCursor::setPos(w.host->mapToGlobal(QPoint(150, 90)));
    QTest::mouseMove(b, QPoint(20, 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return b->State() == stActiveUp; }, 1000));
    EXPECT_GE(enters.count(), 1);

    // The pointer leaves without the window system telling the button.
    struct SwallowLeave : QObject {
        bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::Leave; }
    } swallow;
    b->installEventFilter(&swallow);
    leaves.clear();
    QCursor::setPos(w.host->mapToGlobal(QPoint(190, 90)));
    QCoreApplication::processEvents();
    EXPECT_EQ(b->State(), stActiveUp);
    EXPECT_TRUE(QTest::qWaitFor([&] { return b->State() == stUp; }, 1000));
    EXPECT_GE(leaves.count(), 1);
}

TEST(ShineButtonBehaviour, DisablingAndEnabling)
{
    TShineSpeedButton b;
    latchDown(b);
    b.setEnabled(false);
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(b.State(), stDisabled);
    b.setEnabled(true);
    EXPECT_EQ(b.State(), stUp);
    QSignalSpy clicks(&b, &TShineSpeedButton::clicked);
    b.setEnabled(false);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks.count(), 0);
}

TEST(ShineButtonBehaviour, GroupsLatchOneButtonDown)
{
    QWidget parent;
    TShineSpeedButton* buttons[3];
    for (auto*& b : buttons) {
        b = new TShineSpeedButton(&parent);
        b->setGroupIndex(1);
    }
    auto* outsider = new TShineSpeedButton(&parent);
    outsider->setGroupIndex(2);
    outsider->setAllowAllUp(true);
    outsider->setDown(true);

    QTest::mouseClick(buttons[0], Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(buttons[0]->Down());
    QTest::mouseClick(buttons[1], Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_EQ(buttons[0]->State(), stUp);
    EXPECT_TRUE(outsider->Down());
    // Without AllowAllUp the down button stays down.
    QTest::mouseClick(buttons[1], Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(buttons[1]->Down());

    // AllowAllUp set on one member reaches the whole group, and then all may be up.
    buttons[2]->setAllowAllUp(true);
    EXPECT_TRUE(buttons[0]->AllowAllUp());
    EXPECT_TRUE(buttons[1]->AllowAllUp());
    EXPECT_TRUE(outsider->AllowAllUp());
    QTest::mouseClick(buttons[1], Qt::LeftButton, {}, QPoint(3, 3));
    for (auto* b : buttons) EXPECT_FALSE(b->Down());

    // Outside a group Down never latches.
    TShineSpeedButton lone;
    lone.setDown(true);
    EXPECT_FALSE(lone.Down());
}

TEST(ShineButtonBehaviour, AcceleratorAndDoubleClick)
{
    Window w;
    auto* b = new TShineSpeedButton(w.host.get());
    b->setCaption(QStringLiteral("&Go"));
    w.show();
    QSignalSpy clicks(b, &TShineSpeedButton::clicked);
    EXPECT_FALSE(b->DialogChar(QChar('x')));
    EXPECT_TRUE(b->DialogChar(QChar('g')));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(b->Down());

    b->setGroupIndex(1);
    b->setAllowAllUp(true);
    b->setAccelCharDown(true);
    EXPECT_TRUE(b->DialogChar(QChar('G')));
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks.count(), 2);

    // Through the keyboard: Alt and the letter.
    w.host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.host.get()));
    QTest::keyClick(w.host.get(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 3);
    EXPECT_FALSE(b->Down());
    b->setEnabled(false);
    QTest::keyClick(w.host.get(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 3);
    b->setEnabled(true);

    // A double click counts only on a latched-down button.
    QSignalSpy doubles(b, &TShineSpeedButton::doubleClicked);
    b->setAllowAllUp(false);
    QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(doubles.count(), 0);
    b->setDown(true);
    QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(doubles.count(), 1);
}
