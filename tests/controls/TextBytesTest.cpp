// Text crossing between the core's bytes and QString, in both code pages: CP932
// with its trail byte 0x5C and its own characters, and UTF-8 with bytes that are not.
#include <gtest/gtest.h>

#include "controls/TextBytes.h"

using namespace kelmora;
using platform::CodePage;

namespace {

struct Crossing {
    const char* name;
    CodePage cp;
    std::string bytes;
    QString text;
};

void PrintTo(const Crossing& row, std::ostream* os) { *os << row.name; }

class BothWays : public ::testing::TestWithParam<Crossing> {};

TEST_P(BothWays, BytesAndTextGiveEachOther)
{
    const Crossing& row = GetParam();
    EXPECT_EQ(fromSystemBytes(row.bytes, row.cp).toStdU32String(), row.text.toStdU32String());
    EXPECT_EQ(toSystemBytes(row.text, row.cp), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BothWays,
    ::testing::Values(Crossing{"Cp932TrailByte5CInsideACharacter", CodePage::Cp932, "\x95\x5C\x8E\xA6",
                               QStringLiteral("表示")},
                      Crossing{"Cp932FolderWithBackslashes", CodePage::Cp932, "C:\\\x83\x5C\x83\x74\x83\x67\\",
                               QStringLiteral("C:\\ソフト\\")},
                      Crossing{"Cp932LoneByte5CIsABackslash", CodePage::Cp932, "\x5C", QStringLiteral("\\")},
                      Crossing{"Cp932TildeIsATilde", CodePage::Cp932, "~", QStringLiteral("~")},
                      Crossing{"Cp932HalfWidthKatakana", CodePage::Cp932, "\xB1\xB2", QStringLiteral("ｱｲ")},
                      Crossing{"Cp932OwnWaveDash", CodePage::Cp932, "\x81\x60", QStringLiteral("\uFF5E")},
                      Crossing{"Cp932CircledDigit", CodePage::Cp932, "\x87\x40", QStringLiteral("①")},
                      Crossing{"Cp932Caption", CodePage::Cp932, "\x81\xA5\x83\x4A\x83\x62\x83\x67\x94\xCD\x88\xCD",
                               QStringLiteral("▼カット範囲")},
                      Crossing{"Utf8Japanese", CodePage::Utf8, "\xE8\xA1\xA8\xE7\xA4\xBA", QStringLiteral("表示")},
                      Crossing{"Utf8OutsideTheBasicPlane", CodePage::Utf8, "\xF0\xA0\xAE\xB7", QStringLiteral("𠮷")}),
    [](const auto& info) { return std::string(info.param.name); });

class OneWay : public ::testing::TestWithParam<Crossing> {};

// Bytes that form no character: shown as U+FFFD, one per byte, the rest intact.
TEST_P(OneWay, BrokenBytesShowAsReplacementCharacters)
{
    const Crossing& row = GetParam();
    EXPECT_EQ(fromSystemBytes(row.bytes, row.cp).toStdU32String(), row.text.toStdU32String());
}

INSTANTIATE_TEST_SUITE_P(Rows, OneWay,
                         ::testing::Values(Crossing{"Cp932LeadByteAtTheEnd", CodePage::Cp932, "a\x83",
                                                    QStringLiteral("a\uFFFD")},
                                           Crossing{"Cp932LeadByteWithoutItsTrailByte", CodePage::Cp932,
                                                    "\x81 \x95\x5C", QStringLiteral("\uFFFD 表")},
                                           Crossing{"Utf8ByteThatIsNoUtf8", CodePage::Utf8,
                                                    "a\xFF"
                                                    "b",
                                                    QStringLiteral("a\uFFFDb")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextBytes, CharacterTheCodePageLacksBecomesAQuestionMark)
{
    EXPECT_EQ(toSystemBytes(QStringLiteral("a€表"), CodePage::Cp932), "a?\x95\x5C");
    EXPECT_EQ(toSystemBytes(QStringLiteral("a€表"), CodePage::Utf8), "a\xE2\x82\xAC\xE8\xA1\xA8");
}

}  // namespace
