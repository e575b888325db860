#include <gtest/gtest.h>

#include <QFontMetrics>
#include <memory>

#include "PaintedTestSupport.h"
#include "controls/DrawText.h"
#include "controls/ShadowLabel.h"

using namespace kelmora;
using namespace kelmora::test;

namespace {

constexpr TColor kOrange = 33023;  // FF8000

std::vector<TColor> colorsOf(const std::vector<TGradedChar>& chars)
{
    std::vector<TColor> out;
    for (const TGradedChar& c : chars) out.push_back(c.color);
    return out;
}

QStringList textsOf(const std::vector<TGradedChar>& chars)
{
    QStringList out;
    for (const TGradedChar& c : chars) out << c.text;
    return out;
}

// A caption label as the main window stores it.
TShadowLabel* captionLabel(QWidget* parent, const QString& caption)
{
    auto* label = new TShadowLabel(parent);
    label->BeginLoad();
    label->move(2, 2);
    label->setFont(uiTFont(11, kOrange));
    label->setColor(clBlack);
    label->setTransparent(true);
    label->setLayout(tlCenter);
    label->Highlight().setVisible(false);
    label->setTextGradation(tg3Colors);
    label->setTextMidColor(clYellow);
    label->setTextGradationColor(kOrange);
    label->setCaption(caption);
    label->Loaded();
    return label;
}

}  // namespace

TEST(TextGradation, ThreeColoursSplitBetweenWholeCharacters)
{
    const auto cut = textGradation(QStringLiteral("▼カット範囲"), kOrange, clYellow, kOrange, tg3Colors);
    EXPECT_EQ(textsOf(cut), QStringList({"▼", "カ", "ッ", "ト", "範", "囲"}));
    EXPECT_EQ(colorsOf(cut), (std::vector<TColor>{0x0080FF, 0x00BFFF, 0x00FFFF, 0x00FFFF, 0x00BFFF, 0x0080FF}));

    // "a", a wide character, "b": the wide one joins the first run; the lone "b" is the end colour.
    const auto mixed = textGradation(QStringLiteral("a字b"), clBlack, clWhite, clRed, tg3Colors);
    EXPECT_EQ(colorsOf(mixed), (std::vector<TColor>{clBlack, clWhite, clRed}));

    // Two characters use the two-colour rule; one character has no gradation.
    EXPECT_EQ(colorsOf(textGradation(QStringLiteral("ab"), clBlack, clWhite, clRed, tg3Colors)),
              (std::vector<TColor>{clBlack, clRed}));
    EXPECT_TRUE(textGradation(QStringLiteral("字"), clBlack, clWhite, clRed, tg3Colors).empty());
    EXPECT_TRUE(textGradation(QStringLiteral("abc"), clBlack, clWhite, clRed, tgNone).empty());

    // A character outside the basic plane stays whole.
    EXPECT_EQ(textsOf(textGradation(QStringLiteral("x𠮷"), clBlack, clWhite, clRed, tg2Colors)),
              QStringList({"x", "𠮷"}));
}

// The same captions split into the same characters whatever the system's code page.
class TextGradationInCodePage : public ::testing::TestWithParam<platform::CodePage> {};

TEST_P(TextGradationInCodePage, SplitsBetweenWholeCharacters)
{
    const platform::CodePage cp = GetParam();
    const auto cut = textGradation(QStringLiteral("▼カット範囲"), kOrange, clYellow, kOrange, tg3Colors, cp);
    EXPECT_EQ(textsOf(cut), QStringList({"▼", "カ", "ッ", "ト", "範", "囲"}));
    EXPECT_EQ(colorsOf(cut), (std::vector<TColor>{0x0080FF, 0x00BFFF, 0x00FFFF, 0x00FFFF, 0x00BFFF, 0x0080FF}));
    // "ソ" ends in the byte 0x5C in CP932, the byte of "\".
    const auto trail = textGradation(QStringLiteral("ソ\\ｱ"), clBlack, clWhite, clRed, tg3Colors, cp);
    EXPECT_EQ(textsOf(trail), QStringList({"ソ", "\\", "ｱ"}));
    EXPECT_EQ(colorsOf(trail), (std::vector<TColor>{clBlack, clWhite, clRed}));
}

INSTANTIATE_TEST_SUITE_P(CodePages, TextGradationInCodePage,
                         ::testing::Values(platform::CodePage::Utf8, platform::CodePage::Cp932),
                         [](const auto& info) { return info.param == platform::CodePage::Utf8 ? "Utf8" : "Cp932"; });

TEST(TextGradation, TwoColoursRunOverTheWholeText)
{
    // 255 over four characters: t = 1/3 gives 84 (not 85) and t = 2/3 gives 169.
    const auto run = textGradation(QStringLiteral("abcd"), clBlack, clWhite, clWhite, tg2Colors);
    EXPECT_EQ(colorsOf(run), (std::vector<TColor>{0x000000, 0x545454, 0xA9A9A9, 0xFFFFFF}));
}

TEST(ShadowLabel, CaptionCharactersAreDrawnInTheirGradationColours)
{
    std::unique_ptr<QWidget> host(blackHost(120, 20));
    TShadowLabel* label = captionLabel(host.get(), QStringLiteral("▼カット範囲"));
    label->Shadow().setVisible(false);
    EXPECT_EQ(label->height(), textLineHeight(uiFont(11)));
    const QImage image = grabImage(*host);

    const std::vector<TColor> expected{0x0080FF, 0x00BFFF, 0x00FFFF, 0x00FFFF, 0x00BFFF, 0x0080FF};
    const QStringList chars{"▼", "カ", "ッ", "ト", "範", "囲"};
    int left = label->x();
    for (int i = 0; i < chars.size(); ++i) {
        const int w = textWidth(uiFont(11), chars[i]);
        const QRect cell(left, 0, w, image.height());
        int inColour = 0, other = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const TColor c = colorAt(image, x, y);
                if (c == expected[static_cast<std::size_t>(i)]) ++inColour;
                else if (c != clBlack) ++other;
            }
        EXPECT_GT(inColour, 0) << "character " << i;
        EXPECT_EQ(other, 0) << "character " << i;
        left += w;
    }
}

TEST(ShadowLabel, ShadowHighlightAndDisabledColours)
{
    std::unique_ptr<QWidget> host(blackHost(60, 20));
    auto* label = new TShadowLabel(host.get());
    label->move(3, 3);
    label->setTransparent(true);
    label->setFont(uiTFont(11, clRed));
    label->Highlight().setVisible(false);
    label->Shadow().setVisible(false);
    label->setCaption(QStringLiteral("■W"));
    const QSet<QPoint> text = pointsOf(grabImage(*host), clRed);
    ASSERT_FALSE(text.isEmpty());
    // The copies are clipped to the label, which is as large as its text.
    const auto within = [&](const QSet<QPoint>& points) {
        QSet<QPoint> out;
        for (const QPoint& p : points)
            if (label->geometry().contains(p)) out.insert(p);
        return out;
    };

    label->Shadow().setVisible(true);  // clSilver at (1, 1)
    QImage image = grabImage(*host);
    EXPECT_EQ(pointsOf(image, clRed), text);
    EXPECT_EQ(pointsOf(image, clSilver), within(shifted(text, {1, 1}) - text));

    label->Highlight().setVisible(true);  // clWhite at (-1, -1), over the shadow
    image = grabImage(*host);
    EXPECT_EQ(pointsOf(image, clWhite), within(shifted(text, {-1, -1}) - text));

    // Disabled: text in the button-shadow grey, shadow 808080 (the same grey), highlight white.
    label->setEnabled(false);
    image = grabImage(*host);
    EXPECT_TRUE(pointsOf(image, clRed).isEmpty());
    EXPECT_EQ(pointsOf(image, clGray), within((text | shifted(text, {1, 1})) - (shifted(text, {-1, -1}) - text)));
}

TEST(ShadowLabel, BackgroundSizeAndLayout)
{
    TShadowLabel label;
    EXPECT_EQ(label.Shadow().Color(), clSilver);
    EXPECT_EQ(label.Highlight().OffsetLeft(), -1);
    label.setGradation(true);
    label.setGradationColor(clBlue);
    label.setColor(clRed);
    label.setCaption(QStringLiteral("x"));
    label.setCaption(QString());
    // An empty caption measures as one space.
    EXPECT_EQ(label.size(), QSize(textWidth(uiFont(12), QStringLiteral(" ")), textLineHeight(uiFont(12))));

    label.setAutoSize(false);
    label.resize(40, 12);
    label.Shadow().setVisible(false);
    label.Highlight().setVisible(false);
    QImage image = grabImage(label);
    EXPECT_EQ(colorAt(image, 0, 5), clBlue);
    EXPECT_EQ(colorAt(image, 39, 5), clRed);
    label.setGradateVert(true);
    image = grabImage(label);
    EXPECT_EQ(colorAt(image, 20, 0), clBlue);
    EXPECT_EQ(colorAt(image, 20, 11), clRed);

    // tlCenter with text taller than the label moves it up by half the excess.
    label.setGradation(false);
    label.setColor(clBlack);
    label.setFont(uiTFont(12, clWhite));
    label.setCaption(QStringLiteral("■"));
    label.resize(40, 12);
    const QSet<QPoint> top = pointsOf(grabImage(label), clWhite);
    label.setLayout(tlCenter);
    label.resize(40, 6);
    const int excess = textLineHeight(uiFont(12)) - 6;
    QSet<QPoint> expected;
    for (const QPoint& p : shifted(top, {0, -(excess / 2)}))
        if (p.y() >= 0 && p.y() < 6) expected.insert(p);
    EXPECT_EQ(pointsOf(grabImage(label), clWhite), expected);
}

TEST(DrawTextLayout, StringsAreAsWideAsTheirCharactersSideBySide)
{
    // Characters drawn one by one (the label's gradation) must line up with the whole string.
    for (const int height : {11, 12})
        for (const bool bold : {false, true})
            for (const QString& s : {QStringLiteral("◆ Kelmora ver.1.5"), QStringLiteral("▼画像サイズ (幅 x 高さ)"),
                                     QStringLiteral("カット！INFO.CLEAR×＿？")}) {
                const QFont font = uiFont(height, bold);
                EXPECT_EQ(textWidth(font, s), QFontMetrics(textDrawingFont(font)).horizontalAdvance(s))
                    << s.toStdString() << " at " << height;
            }
}

TEST(DrawTextLayout, PrefixesLinesWrapsAndEllipsis)
{
    const QFont font = uiFont(12);
    const int line = textLineHeight(font);
    EXPECT_EQ(accelChar(QStringLiteral("&Go")), QChar('G'));
    EXPECT_EQ(accelChar(QStringLiteral("a&&b")), QChar());
    // "&" takes no room, "&&" is one "&".
    EXPECT_EQ(measureText(font, QStringLiteral("&ab"), {}, 0).width(), textWidth(font, QStringLiteral("ab")));
    EXPECT_EQ(measureText(font, QStringLiteral("a&&b"), {}, 0).width(), textWidth(font, QStringLiteral("a&b")));
    EXPECT_EQ(measureText(font, QStringLiteral("a&&b"), {}, DT_NOPREFIX).width(),
              textWidth(font, QStringLiteral("a&&b")));
    // Line breaks start new lines; the widest line sets the width.
    const QRect two = measureText(font, QStringLiteral("ab\r\nabcd"), {}, 0);
    EXPECT_EQ(two.height(), 2 * line);
    EXPECT_EQ(two.width(), textWidth(font, QStringLiteral("abcd")));
    // Word break at spaces, within the given width.
    const int wrap = textWidth(font, QStringLiteral("word word"));
    EXPECT_EQ(measureText(font, QStringLiteral("word word word"), QRect(0, 0, wrap, 0), DT_WORDBREAK).height(),
              2 * line);
    // Tabs go to the next stop.
    EXPECT_GT(measureText(font, QStringLiteral("a\tb"), {}, DT_EXPANDTABS).width(),
              textWidth(font, QStringLiteral("ab")));
    // End ellipsis keeps the text within the width.
    const int narrow = textWidth(font, QStringLiteral("abcdef"));
    EXPECT_LE(measureText(font, QStringLiteral("abcdefghijkl"), QRect(0, 0, narrow, 0), DT_END_ELLIPSIS).width(),
              narrow);
}
