// Text crossing between the core's bytes and QString: CP932 with its trail byte
// 0x5C and its own characters, UTF-8, and bytes that form no character.
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
    bool bothWays = true;  // false: the bytes show as text, but the text is not those bytes
};

class TextBytes : public ::testing::TestWithParam<Crossing> {};

TEST_P(TextBytes, BytesAndTextGiveEachOther)
{
    const Crossing& row = GetParam();
    EXPECT_EQ(fromSystemBytes(row.bytes, row.cp).toStdU32String(), row.text.toStdU32String());
    if (row.bothWays) {
        EXPECT_EQ(toSystemBytes(row.text, row.cp), row.bytes);
    }
}

TEST(TextBytesCp932, CharacterTheCodePageLacksIsAQuestionMark)
{
    EXPECT_EQ(toSystemBytes(QStringLiteral("a€表"), CodePage::Cp932), "a?\x95\x5C");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TextBytes,
    ::testing::Values(
        Crossing{"Cp932TrailByte5CInACharacter", CodePage::Cp932, "C:\\\x83\x5C\x95\x5C\\",
                 QStringLiteral("C:\\ソ表\\")},
        Crossing{"Cp932TildeAndKatakana", CodePage::Cp932, "~\xB1", QStringLiteral("~ｱ")},
        Crossing{"Cp932OwnCharacters", CodePage::Cp932, "\x81\x60\x87\x40", QStringLiteral("\uFF5E①")},
        Crossing{"Cp932LoneLeadBytes", CodePage::Cp932, "\x81 \x83", QStringLiteral("\uFFFD \uFFFD"), false},
        Crossing{"Utf8BeyondTheBasicPlane", CodePage::Utf8, "\xE8\xA1\xA8\xF0\xA0\xAE\xB7", QStringLiteral("表𠮷")},
        Crossing{"Utf8ByteThatIsNoUtf8", CodePage::Utf8, "a\xFF", QStringLiteral("a\uFFFD"), false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
