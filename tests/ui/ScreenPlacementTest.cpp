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
    ::testing::Values(Placement{"on the screen", {kMain}, {20, 20}, {20, 20}},
                      Placement{"at the very corner", {kMain}, {1370, 1064}, {1370, 1064}},
                      Placement{"far left and above", {kMain}, {-2000, -2000}, {0, 0}},
                      Placement{"below the screen", {kMain}, {100, 5000}, {100, 1064}},
                      Placement{"partly past the right edge", {kMain}, {1500, 100}, {1370, 100}},
                      Placement{"under the taskbar", {kAboveTaskbar}, {100, 1030}, {100, 1024}},
                      Placement{"across two screens", {kMain, kRight}, {1700, 50}, {1700, 50}},
                      Placement{"on the right screen", {kMain, kRight}, {2500, 300}, {2500, 300}},
                      Placement{"right screen unplugged", {kMain}, {2500, 300}, {1370, 300}},
                      Placement{"nearest of two", {kMain, kRight}, {3500, -300}, {2650, 0}},
                      Placement{"below the shorter right screen", {kMain, kRight}, {2000, 1050}, {2000, 1008}},
                      Placement{"no screens known", {}, {-2000, 50}, {-2000, 50}}),
    [](const ::testing::TestParamInfo<Placement>& info) {
        std::string name;
        for (const char* c = info.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

}  // namespace
}  // namespace kelmora
