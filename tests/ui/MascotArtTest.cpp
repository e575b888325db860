#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ui/MascotAnimation.h"
#include "ui/MascotPanel.h"

using namespace kelmora;

namespace {

// Mean absolute difference of the colour channels, 0..255.
double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qRed(pa[x]) - qRed(pb[x])) + std::abs(qGreen(pa[x]) - qGreen(pb[x]))
                   + std::abs(qBlue(pa[x]) - qBlue(pb[x]));
    }
    return sum / (3.0 * a.width() * a.height());
}

double meanBrightness(const QImage& a)
{
    QImage black(a.size(), a.format());
    black.fill(Qt::black);
    return meanDifference(a, black);
}

class MascotArt : public ::testing::Test {
protected:
    TMascotImageList list;
    QImage frame(int k) const { return list.frame(k); }
};

}  // namespace

TEST_F(MascotArt, SheetHoldsEveryFrameFourARow)
{
    EXPECT_EQ(list.sheet().size(), QSize(4 * MascotFrameWidth, 20 * MascotFrameHeight));
    EXPECT_EQ(list.Count(), MascotFrameCount);
    for (int k : {0, 36, 78}) EXPECT_EQ(frame(k).size(), QSize(MascotFrameWidth, MascotFrameHeight));
    EXPECT_TRUE(frame(MascotFrameCount).isNull());
}

TEST_F(MascotArt, OpeningStartsAlmostBlackAndEveryRunHasAFigure)
{
    EXPECT_LT(meanBrightness(frame(0)), 3.0);
    for (int k : {10, 36, 40, 60, 78}) EXPECT_GT(meanBrightness(frame(k)), 15.0) << "frame " << k;
}

TEST_F(MascotArt, RunsJoinWithoutAJump)
{
    // The finish ends where the idle loop resumes.
    EXPECT_LT(meanDifference(frame(78), frame(36)), 1.0);

    // The loop seam 44 -> 36 (and the opening's last step into it) is no
    // bigger a change than the steps inside the loop.
    double largestStep = 0;
    for (int k = 36; k < 44; ++k) largestStep = std::max(largestStep, meanDifference(frame(k), frame(k + 1)));
    EXPECT_LE(meanDifference(frame(44), frame(36)), largestStep * 1.2);
    EXPECT_LE(meanDifference(frame(35), frame(36)), largestStep * 1.2);
    EXPECT_LT(largestStep, 12.0);  // a gentle bob, not a jump
}
