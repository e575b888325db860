#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "ui/MascotAnimation.h"
#include "ui/MascotPanel.h"

using namespace kelmora;

namespace {

// Stands in for the main form: records presses that reach it.
class Form : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

}  // namespace

// The window paints before the frame sheet is decoded: the first tick decodes it.
TEST(MascotPanel, BeforeTheFirstTickTheBlackBackdropShows)
{
    TMascotPanel panel;
    panel.Timer1->stop();
    EXPECT_TRUE(panel.Image1->Picture.isNull());
    const QImage shot = panel.grab().toImage();
    EXPECT_FALSE(panel.ImageList1.decoded());
    panel.Timer1Timer();
    EXPECT_TRUE(panel.ImageList1.decoded());
    EXPECT_EQ(panel.ImageList1.Count(), MascotFrameCount);
    ASSERT_EQ(shot.size(), QSize(300, 311));
    EXPECT_EQ(shot.pixelColor(150, 150), QColor(Qt::black));       // inside Shape8, under Image1
    EXPECT_EQ(shot.pixelColor(6, 150), QColor(0x80, 0x80, 0x80));  // Shape8's outline
    EXPECT_GT(shot.pixelColor(2, 150).red(), 240);                 // the backdrop is white at its left
    EXPECT_LT(shot.pixelColor(297, 150).red(), 140);               // and grey at its right
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::black));           // its outline
}

TEST(MascotPanel, TimerStepsTheFramesIntoThePicture)
{
    TMascotPanel panel;
    EXPECT_EQ(panel.Timer1->interval(), 100);
    EXPECT_TRUE(panel.Timer1->isActive());
    EXPECT_EQ(panel.FrameIndex, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.FrameIndex >= 3; }, 5000));
    panel.Timer1->stop();
    EXPECT_EQ(panel.Image1->Picture.size(), QSize(MascotFrameWidth, MascotFrameHeight));
    EXPECT_EQ(panel.Image1->Picture, panel.ImageList1.frame(panel.FrameIndex - 1));
    const QImage shot = panel.grab().toImage();
    EXPECT_EQ(shot.copy(40, 8, MascotFrameWidth, MascotFrameHeight).convertToFormat(QImage::Format_RGB32),
              panel.Image1->Picture);
}

TEST(MascotPanel, FinishFlagPlaysToTheEndAndIsCleared)
{
    TMascotPanel panel;
    panel.Timer1->stop();
    for (int i = 0; i < 45; ++i) panel.Timer1Timer();
    EXPECT_EQ(panel.FrameIndex, 36);
    EXPECT_EQ(panel.Image1->Picture, panel.ImageList1.frame(44));

    panel.ImageList1.Tag = 1;
    for (int i = 36; i <= 78; ++i) panel.Timer1Timer();
    EXPECT_EQ(panel.Image1->Picture, panel.ImageList1.frame(78));
    EXPECT_EQ(panel.FrameIndex, 36);
    EXPECT_EQ(panel.ImageList1.Tag, 0);
}

TEST(MascotPanel, WithoutFramesTheAnimationDrawsBlack)
{
    TMascotPanel panel;
    panel.Timer1->stop();
    EXPECT_FALSE(panel.ImageList1.setSheet(QImage(880, 296, QImage::Format_RGB32)));
    EXPECT_EQ(panel.ImageList1.Count(), 0);
    panel.Timer1Timer();
    EXPECT_EQ(panel.FrameIndex, 1);
    EXPECT_EQ(panel.Image1->Picture.pixelColor(110, 148), QColor(Qt::black));
}

TEST(MascotPanel, AnyButtonReleasedOverTheMascotAsksForInformation)
{
    TMascotPanel panel;
    panel.Timer1->stop();
    panel.show();
    QSignalSpy spy(&panel, &TMascotPanel::infoRequested);
    QTest::mouseClick(panel.Image1, Qt::LeftButton, {}, {100, 100});
    QTest::mouseClick(panel.Image1, Qt::RightButton, {}, {5, 5});
    QTest::mouseClick(panel.Shape8, Qt::MiddleButton, {}, {10, 150});  // beside the picture
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(panel.Shape8->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_EQ(panel.Image1->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_TRUE(panel.Image1->toolTip().isEmpty());

    // A press that is dragged off and released elsewhere asks for nothing.
    QTest::mousePress(panel.Image1, Qt::LeftButton, {}, {100, 100});
    QTest::mouseRelease(panel.Image1, Qt::LeftButton, {}, {100, 400});
    EXPECT_EQ(spy.count(), 3);
}

TEST(MascotPanel, PressesStayInTheMascotArea)
{
    Form form;
    form.resize(550, 437);
    auto* panel = new TMascotPanel(&form);
    panel->move(240, 10);
    panel->Timer1->stop();
    form.show();
    QTest::mouseClick(panel, Qt::LeftButton, {}, {2, 2});  // on the backdrop
    QTest::mouseClick(panel->Shape8, Qt::LeftButton, {}, {10, 10});
    QTest::mouseClick(panel->Image1, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(form.presses, 0);
}
