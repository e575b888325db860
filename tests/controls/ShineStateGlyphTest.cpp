#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <string>
#include <vector>

#include "controls/ShineStateGlyph.h"

using namespace kelmora;

namespace {

constexpr QRgb K = 0xFF00FF00;  // the key (bottom-left) colour in these glyphs
constexpr QRgb R = 0xFFFF0000;

// A glyph drawn from rows of characters: '.' key, 'r' red.
QImage glyph(std::initializer_list<const char*> rows)
{
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(std::strlen(*rows.begin()));
    QImage image(w, h, QImage::Format_RGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < w; ++x) image.setPixel(x, y, row[x] == 'r' ? R : K);
        ++y;
    }
    return image;
}

// The result as rows of characters: '.' key, 'r' red, 's' the shine colour (white), '?' other.
std::vector<std::string> picture(const QImage& image)
{
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) | 0xFF000000;
            row += p == K ? '.' : p == R ? 'r' : p == 0xFFFFFFFF ? 's' : p == 0xFF000000 ? 'b' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

QImage hot(const QImage& g, TActiveImageType effect, TColor shine = clWhite)
{
    return createStateGlyph(g, stActiveUp, effect, diDefault, shine, clBtnFace);
}

QImage disabled(const QImage& g, TDisabledImageType look, TColor face = clBtnFace)
{
    return createStateGlyph(g, stDisabled, aiNormal, look, clYellow, face);
}

QImage solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, h - 1, K);
    return image;
}

}  // namespace

TEST(StateGlyph, PlainStatesAndEmptyGlyph)
{
    const QImage g = glyph({"r.", ".r"});
    EXPECT_TRUE(createStateGlyph(QImage(), stUp, aiNormal, diDefault, clYellow, clBtnFace).isNull());
    EXPECT_EQ(picture(createStateGlyph(g, stUp, aiAddLight, diGrayscale, clWhite, clBtnFace)), picture(g));
    EXPECT_EQ(picture(createStateGlyph(g, stDown, aiAddLight, diGrayscale, clWhite, clBtnFace)), picture(g));
}

TEST(StateGlyph, ColourEffectsOnOpaquePixels)
{
    const QImage g = glyph({"r.", ".r"});
    EXPECT_EQ(picture(hot(g, aiAddLight)), (std::vector<std::string>{"s.", ".s"}));
    EXPECT_EQ(picture(hot(g, aiXorLight, clBlack)), picture(g));
    EXPECT_EQ(hot(g, aiXorLight, clWhite).pixel(0, 0), 0xFF00FFFFu);
    EXPECT_EQ(hot(g, aiHalfLight, clBlue).pixel(0, 0), qRgb(127, 0, 127));
    EXPECT_EQ(hot(g, aiQuaterLight, clBlue).pixel(0, 0), qRgb(63, 0, 191));
    EXPECT_EQ(hot(g, aiNormal).pixel(1, 1), R);

    EXPECT_EQ(disabled(g, diGrayscale).pixel(0, 0), qRgb(85, 85, 85));
    EXPECT_EQ(disabled(g, diGrayscale).pixel(1, 0), K);
    EXPECT_EQ(disabled(g, diAlphaHalfTrans, clBlack).pixel(0, 0), qRgb(127, 0, 0));
    EXPECT_EQ(disabled(g, diAlphaQuaterTrans, clBlack).pixel(0, 0), qRgb(63, 0, 0));
}

TEST(StateGlyph, OutlinesStayOnKeyPixelsInsideTheGlyph)
{
    const QImage dot = glyph({".....", ".....", "..r..", ".....", "....."});
    EXPECT_EQ(picture(hot(dot, aiFrameLight)), (std::vector<std::string>{".....", "..s..", ".srs.", "..s..", "....."}));
    EXPECT_EQ(picture(hot(dot, aiFrameLight2)),
              (std::vector<std::string>{"..s..", ".sss.", "ssrss", ".sss.", "..s.."}));

    // Opaque pixels on the border get no outline beyond it.
    const QImage edge = glyph({"rr.", "...", "..."});
    EXPECT_EQ(picture(hot(edge, aiFrameLight)), (std::vector<std::string>{"rrs", "ss.", "..."}));

    // When the bottom-left pixel becomes outline, the shine colour is the transparent one.
    const QImage corner = glyph({"...", "r..", "..."});
    const QImage result = hot(corner, aiFrameLight);
    EXPECT_EQ(result.pixel(0, 2), 0xFFFFFFFFu);
}

TEST(StateGlyph, DitherFollowsTheHeightsParity)
{
    const QImage square = createStateGlyph(solid(16, 16, R), stActiveUp, aiMaskLight, diDefault, clWhite, clBtnFace);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (x == 0 && y == 15) continue;
            ASSERT_EQ(square.pixel(x, y), (x + y) % 2 ? 0xFFFFFFFFu : R) << x << "," << y;
        }
    // An odd height gives stripes: every odd column.
    const QImage stripes = createStateGlyph(solid(16, 15, R), stActiveUp, aiMaskLight, diDefault, clWhite, clBtnFace);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(stripes.pixel(x, y), x % 2 ? 0xFFFFFFFFu : R) << x << "," << y;

    // diMaskTrans puts the key in the same places, so they drop out when drawn.
    const QImage holes = disabled(solid(4, 4, R), diMaskTrans);
    EXPECT_EQ(holes.pixel(1, 0), K);
    EXPECT_EQ(holes.pixel(0, 0), R);
}

TEST(StateGlyph, EdgeMaskMarksDiagonalChanges)
{
    // One colour throughout: nothing differs, all black.
    EXPECT_EQ(picture(disabled(solid(3, 3, K), diDefault)), (std::vector<std::string>{"bbb", "bbb", "bbb"}));
    const QImage dot = glyph({"...", ".r.", "..."});
    EXPECT_EQ(picture(disabled(dot, diDefault)), (std::vector<std::string>{"ssb", "ssb", "bbb"}));
}
