#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <memory>

#include "PaintedTestSupport.h"
#include "controls/GradBox.h"
#include "controls/Gradient.h"
#include "controls/ShadowLabel.h"

using namespace kelmora;
using namespace kelmora::test;

TEST(GradientArithmetic, BoxTablesMatchTheKnownValues)
{
    const auto silver = gradientBoxTable(clWhite, clSilver);
    EXPECT_EQ(silver[0], clWhite);
    EXPECT_EQ(silver[16], rgbColor(0xFB, 0xFB, 0xFB));
    EXPECT_EQ(silver[26], rgbColor(0xF8, 0xF8, 0xF8));
    EXPECT_EQ(silver[128], rgbColor(0xDF, 0xDF, 0xDF));
    EXPECT_EQ(silver[254], rgbColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(silver[255], clSilver);

    const auto gray = gradientBoxTable(clWhite, clGray);
    EXPECT_EQ(gray[16], rgbColor(0xF7, 0xF7, 0xF7));
    EXPECT_EQ(gray[128], rgbColor(0xBF, 0xBF, 0xBF));
    EXPECT_EQ(gray[254], rgbColor(0x80, 0x80, 0x80));

    // The ends keep the given values, system colours included.
    const auto system = gradientBoxTable(clBtnFace, clBlack);
    EXPECT_EQ(system[0], clBtnFace);
    EXPECT_EQ(system[1], rgbColor(0xD3, 0xCF, 0xC7));
}

TEST(GradientArithmetic, GradationNeedsExtendedPrecision)
{
    EXPECT_EQ(gradationChannel(0, 255, 1.0 / 3), 84);
    EXPECT_EQ(gradationChannel(255, -255, 1.0 / 3), 170);
    EXPECT_EQ(gradationColor(0x0080FF, 0x00FFFF, 0.0), TColor(0x0080FF));
    EXPECT_EQ(gradationColor(0x0080FF, 0x00FFFF, 1.0), TColor(0x00FFFF));
    EXPECT_EQ(gradationColor(0x0080FF, 0x00FFFF, 0.5), TColor(0x00BFFF));
}

TEST(GradientArithmetic, ButtonRampAndBitmap)
{
    const auto ramp = buttonRamp(clYellow, 0x0080FF);
    EXPECT_EQ(ramp[0], qRgb(255, 255, 0));
    EXPECT_EQ(ramp[247], qRgb(255, 255 - 127 * 247 / 255, 0));
    EXPECT_EQ(ramp[255], qRgb(255, 128, 0));

    QImage column(3, 5, QImage::Format_RGB32);
    gradBitmap(column, clBlack, clWhite, true);
    EXPECT_EQ(column.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(column.pixel(1, 2), qRgb(127, 127, 127));
    EXPECT_EQ(column.pixel(0, 4), qRgb(255, 255, 255));

    // A single row has nowhere to run: the start colour.
    QImage row(4, 1, QImage::Format_RGB32);
    gradBitmap(row, clRed, clBlue, true);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(row.pixel(x, 0), qRgb(255, 0, 0));
    gradBitmap(row, clRed, clBlue, false);
    EXPECT_EQ(row.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(row.pixel(3, 0), qRgb(0, 0, 255));
}

namespace {

std::unique_ptr<TGradBox> box(int w, int h, TGradStyle style, TColor top = clWhite, TColor last = clSilver)
{
    auto b = std::make_unique<TGradBox>();
    b->resize(w, h);
    b->setTopColor(top);
    b->setLastColor(last);
    b->setGradStyle(style);
    return b;
}

}  // namespace

TEST(GradBox, BandsShowTheTableEntriesByRow)
{
    auto b = box(4, 16, gsTopBottom);
    const QImage image = grabImage(*b);
    const auto table = gradientBoxTable(clWhite, clSilver);
    for (int y = 0; y < 16; ++y) {
        const int entry = y == 15 ? 255 : 16 * (y + 1);
        EXPECT_EQ(colorAt(image, 2, y), table[entry]) << "row " << y;
    }
    EXPECT_EQ(colorAt(image, 0, 0), rgbColor(0xFB, 0xFB, 0xFB));

    // 255 rows: bands two rows high, row y shows entry y + 1, entry 0 nowhere.
    auto tall = box(2, 255, gsTopBottom);
    const QImage tallImage = grabImage(*tall);
    for (int y = 0; y < 255; ++y) ASSERT_EQ(colorAt(tallImage, 0, y), table[y + 1]) << "row " << y;

    auto flat = box(3, 1, gsTopBottom);
    EXPECT_EQ(colorAt(grabImage(*flat), 1, 0), clSilver);
}

TEST(GradBox, StylesChooseDirectionAndEnds)
{
    // gsRightLeft runs from LastColor at the left to TopColor at the right.
    auto b = box(10, 3, gsRightLeft);
    const QImage image = grabImage(*b);
    const auto table = gradientBoxTable(clSilver, clWhite);
    const int entries[] = {26, 51, 77, 102, 128, 153, 179, 204, 230, 255};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(colorAt(image, x, 1), table[entries[x]]) << "column " << x;
    EXPECT_EQ(colorAt(image, 9, 0), clWhite);

    auto bottomTop = box(3, 20, gsBottomTop);
    const QImage bt = grabImage(*bottomTop);
    EXPECT_EQ(colorAt(bt, 1, 19), clWhite);
    auto leftRight = box(20, 3, gsLeftRight);
    EXPECT_EQ(colorAt(grabImage(*leftRight), 19, 1), clSilver);
}

TEST(GradBox, OutlineAndNoFill)
{
    std::unique_ptr<QWidget> host(blackHost(30, 20));
    auto* b = new TGradBox(host.get());
    b->setGeometry(5, 5, 20, 10);
    b->setGradStyle(gsNone);
    b->setDrawOutLine(true);
    b->setOutLineColor(clRed);
    const QImage image = grabImage(*host);
    for (int x = 5; x < 25; ++x) {
        EXPECT_EQ(colorAt(image, x, 5), clRed);
        EXPECT_EQ(colorAt(image, x, 14), clRed);
    }
    for (int y = 5; y < 15; ++y) {
        EXPECT_EQ(colorAt(image, 5, y), clRed);
        EXPECT_EQ(colorAt(image, 24, y), clRed);
    }
    // gsNone paints no background: the host shows inside the outline.
    EXPECT_EQ(colorAt(image, 10, 10), clBlack);
    EXPECT_EQ(colorAt(image, 25, 10), clBlack);
}

TEST(GradBox, CaptionCopies)
{
    std::unique_ptr<QWidget> host(blackHost(60, 30));
    TGradBox* plain = box(60, 30, gsNone).release();
    plain->setParent(host.get());
    plain->setCaption(QStringLiteral("W■"));
    plain->setCaptionLeft(5);
    plain->setCaptionTop(5);
    plain->setFont(uiTFont(12, clBlue));
    const QSet<QPoint> text = pointsOf(grabImage(*host), clBlue);
    ASSERT_FALSE(text.isEmpty());

    // fsLow3D with depth 2: copies at (1, 1) and (2, 2) under the text.
    plain->setFont3D(true);
    plain->setStyle3D(fsLow3D);
    plain->setFontDepth(2);
    plain->setBackFont(clYellow);
    QImage image = grabImage(*host);
    EXPECT_EQ(pointsOf(image, clBlue), text);
    EXPECT_EQ(pointsOf(image, clYellow), (shifted(text, {1, 1}) | shifted(text, {2, 2})) - text);

    // fsRaiseShadow: one copy up and left.
    plain->setStyle3D(fsRaiseShadow);
    image = grabImage(*host);
    EXPECT_EQ(pointsOf(image, clYellow), shifted(text, {-2, -2}) - text);

    // Depth 0 extrudes nothing.
    plain->setStyle3D(fsRaise3D);
    plain->setFontDepth(0);
    EXPECT_TRUE(pointsOf(grabImage(*host), clYellow).isEmpty());

    // Disabled: embossed in white and grey, the font colour unused.
    plain->setEnabled(false);
    image = grabImage(*host);
    EXPECT_TRUE(pointsOf(image, clBlue).isEmpty());
    EXPECT_EQ(pointsOf(image, clGray), text);
    EXPECT_EQ(pointsOf(image, clWhite), shifted(text, {1, 1}) - text);
}

// The graphic controls take no mouse input: a press on one reaches what lies
// below it, a control under it included (not merely the window, where any
// press that a widget ignores ends up).
template <class Control>
class GraphicControl : public ::testing::Test {
};
using GraphicControls = ::testing::Types<TGradBox, TShadowLabel>;
TYPED_TEST_SUITE(GraphicControl, GraphicControls);

TYPED_TEST(GraphicControl, PressesReachTheControlBelow)
{
    struct Below : QWidget {
        using QWidget::QWidget;
        int presses = 0;
        void mousePressEvent(QMouseEvent*) override { ++presses; }
    };
    QWidget host;
    host.resize(100, 100);
    auto* below = new Below(&host);
    below->setGeometry(10, 10, 50, 50);
    auto* control = new TypeParam(&host);
    control->setGeometry(10, 10, 50, 50);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_TRUE(control->geometry().contains(QPoint(30, 30))) << "the press lands on the control";
    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(below->presses, 1);
}
