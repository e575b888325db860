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
