// Where the window opens at a saved position, for various screen layouts.
#include <gtest/gtest.h>

#include "ui/ScreenPlacement.h"

namespace kelmora {
namespace {

struct Placement {
    const char* name;
    QList<QRect> available;
    QPoint saved;
    QPoint expected;
};

void PrintTo(const Placement& p, std::ostream* out) { *out << p.name; }

class ScreenPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(ScreenPlacement, TheCaptionStripEndsOnAnAvailableScreen)
{
    const Placement& p = GetParam();
    EXPECT_EQ(placeCaptionOnScreens(p.saved, 550, 16, p.available), p.expected);
}

const QRect kMain(0, 0, 1920, 1080);
const QRect kRight(1920, 0, 1280, 1024);
const QRect kAboveTaskbar(0, 0, 1920, 1040);

INSTANTIATE_TEST_SUITE_P(
    Layouts, ScreenPlacement,
    ::testing::Values(Placement{"OnTheScreen", {kMain}, {20, 20}, {20, 20}},
                      Placement{"FarLeftAndAbove", {kMain}, {-2000, -2000}, {0, 0}},
                      Placement{"PartlyPastTheRightEdge", {kMain}, {1500, 100}, {1370, 100}},
                      Placement{"UnderTheTaskbar", {kAboveTaskbar}, {100, 1030}, {100, 1024}},
                      Placement{"AcrossTwoScreens", {kMain, kRight}, {1700, 50}, {1700, 50}},
                      Placement{"RightScreenUnplugged", {kMain}, {2500, 300}, {1370, 300}},
                      Placement{"NearestOfTwo", {kMain, kRight}, {3500, -300}, {2650, 0}},
                      Placement{"BelowTheShorterRightScreen", {kMain, kRight}, {2000, 1050}, {2000, 1008}},
                      Placement{"NoScreensKnown", {}, {-2000, 50}, {-2000, 50}}),
    [](const ::testing::TestParamInfo<Placement>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelmora
