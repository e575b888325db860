#include <gtest/gtest.h>

#include "platform/CodePage.h"

using namespace kelmora::platform;

TEST(CodePage, Cp932TrailByteBackslashIsPartOfTheCharacter)
{
    const std::string s = "a\x95\x5C";  // "a表": the trail byte of 表 is 0x5C
    EXPECT_EQ(charEnd(s, 0, CodePage::Cp932), 1u);
    EXPECT_EQ(charEnd(s, 1, CodePage::Cp932), 3u);
    EXPECT_EQ(lastCharStart(s, CodePage::Cp932), 1u);
    EXPECT_FALSE(isCharStart(s, 2, CodePage::Cp932));
    // A lone lead byte at the end counts as one character.
    EXPECT_EQ(charEnd(std::string("\x95"), 0, CodePage::Cp932), 1u);
}

TEST(CodePage, Cp932LeadByteBeforeANonTrailByteStandsAlone)
{
    // Second bytes run from 0x40 to 0xFC without 0x7F: "/", ":", a NUL or 0x7F end the lead byte.
    for (const std::string& s : {std::string("\x81/"), std::string("\x81:"), std::string("\x81\0", 2),
                                 std::string("\x81\x7F"), std::string("\xE0\xFD")}) {
        SCOPED_TRACE(testing::PrintToString(s));
        EXPECT_EQ(charEnd(s, 0, CodePage::Cp932), 1u);
        EXPECT_EQ(lastCharStart(s, CodePage::Cp932), 1u);
    }
    EXPECT_EQ(charEnd(std::string("\x81\x40"), 0, CodePage::Cp932), 2u);
    EXPECT_EQ(charEnd(std::string("\xFC\xFC"), 0, CodePage::Cp932), 2u);
}

TEST(CodePage, Utf8SequencesAndMalformedBytes)
{
    const std::string s = "x\xE3\x82\xAB/";  // "xカ/"
    EXPECT_EQ(charEnd(s, 1, CodePage::Utf8), 4u);
    EXPECT_EQ(lastCharStart(s, CodePage::Utf8), 4u);
    EXPECT_EQ(lastCharStart("x\xE3\x82\xAB", CodePage::Utf8), 1u);
    // Bytes that are not UTF-8 still advance one at a time.
    const std::string bad = "\xE3\x82/\xFF";
    EXPECT_EQ(charEnd(bad, 0, CodePage::Utf8), 1u);
    EXPECT_EQ(lastCharStart(bad, CodePage::Utf8), 3u);
    EXPECT_EQ(lastCharStart("", CodePage::Utf8), std::string_view::npos);
}

TEST(CodePage, FindCharStepsOverDoubleByteCharacters)
{
    struct Row {
        const char* name;
        std::string text;
        std::size_t from;
        std::size_t found;
    };
    const std::string hyo = "\x95\x5C";  // a kanji whose second byte is "\"
    const std::size_t none = std::string_view::npos;
    const Row rows[] = {
        {"a bare name ending in the kanji", hyo + ".exe", 0, none},
        {"the kanji before a real separator", "a" + hyo + "\\b", 0, 3},
        {"a share whose server name ends in the kanji", "\\\\s" + hyo + "\\share", 2, 5},
        {"a later start", "a\\b\\c", 2, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(findChar(row.text, "\\/:", row.from, CodePage::Cp932), row.found);
    }
    EXPECT_EQ(findChar(hyo, "\\", 0, CodePage::Utf8), 1u);  // no double-byte characters in UTF-8
}
