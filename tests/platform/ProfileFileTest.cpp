#include <gtest/gtest.h>

#include <thread>

#include "platform/ProfileFile.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

TEST(ProfileFile, ReadsLikeTheWindowsProfileFunctions)
{
    TempFolder dir;
    const std::string path = dir.write("a.ini",
                                       "top=outside\r\n"
                                       "; comment=not a key\n"
                                       " [ set1 ] \r"
                                       "  S1 = 0x10  \n"
                                       ";S2=5\n"
                                       "s1=second\n"
                                       "Q=\"  quoted  \"\n"
                                       "H='half\n"
                                       "E=\n"
                                       "[SET1]\n"
                                       "S2=later section\n"
                                       "[other]\n"
                                       "S1=other");
    const ProfileFile file(path);
    EXPECT_EQ(file.read("SET1", "S1"), "0x10");       // case, blanks, CR line end
    EXPECT_EQ(file.read("SET1", "Q"), "  quoted  ");  // quotes taken off, inner blanks kept
    EXPECT_EQ(file.read("SET1", "H"), "'half");       // no matching pair: kept
    EXPECT_EQ(file.read("SET1", "E"), "");
    EXPECT_EQ(file.read("SET1", "S2"), std::nullopt);   // commented out; the second [SET1] is not read
    EXPECT_EQ(file.read("other", "s1"), "other");       // last line without an ending
    EXPECT_EQ(file.read("SET1", "top"), std::nullopt);  // lines before any section belong to none of them
    EXPECT_EQ(file.read("", "top"), "outside");         // but to the section without a name
    EXPECT_EQ(ProfileFile(dir / "missing.ini").read("SET", "M_LEFT"), std::nullopt);
}

TEST(ProfileFile, WritesKeepEveryOtherByte)
{
    TempFolder dir;
    const std::string original =
        "; my notes\r\n"
        "[SET]\r\n"
        "M_LEFT=1\r\n"
        "Mine = keep  \r\n"
        "\r\n"
        "; about SET1\r\n"
        "[set1]\r\n"
        "R1=1\r\n"
        "\r\n"
        "[Foreign]\r\n"
        "x=y";
    const std::string path = dir.write("k.ini", original);
    ProfileFile file(path);
    ASSERT_TRUE(file.write("SET", "m_left", "300"));  // updated in place, in the file's spelling
    ASSERT_TRUE(file.write("SET", "M_TOP", "40"));    // after the section's last key
    ASSERT_TRUE(file.write("SET1", "B1", "/v"));      // after R1, before the blank line
    ASSERT_TRUE(file.write("New", "k", "v"));         // new section at the end
    EXPECT_EQ(TempFolder::read(path),
              "; my notes\r\n"
              "[SET]\r\n"
              "M_LEFT=300\r\n"
              "Mine = keep  \r\n"
              "M_TOP=40\r\n"
              "\r\n"
              "; about SET1\r\n"
              "[set1]\r\n"
              "R1=1\r\n"
              "B1=/v\r\n"
              "\r\n"
              "[Foreign]\r\n"
              "x=y\r\n"
              "[New]\r\n"
              "k=v\r\n");
}

// The section without a name is the lines before the first section: a key
// written there reads back, wherever the file has room for it.
TEST(ProfileFile, TheNamelessSectionIsTheTopOfTheFile)
{
    struct Row {
        const char* name;
        const char* before;
        const char* after;
    };
    const Row rows[] = {
        {"an empty file", "", "k=v\n"},
        {"before the first section", "[SET]\nx=1\n", "k=v\n[SET]\nx=1\n"},
        {"after the top's last key", "a=1\n\n[SET]\n", "a=1\nk=v\n\n[SET]\n"},
        {"in place", "K=old\n[SET]\nk=other\n", "K=v\n[SET]\nk=other\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ProfileText text(row.before);
        text.write("", "k", "v");
        EXPECT_EQ(text.content(), row.after);
        EXPECT_EQ(text.read("", "k"), "v");
    }
}

TEST(ProfileFile, MissingFolderIsAnError)
{
    TempFolder dir;
    ProfileFile file(dir / "no/such/folder.ini");
    EXPECT_FALSE(file.write("SET", "M_LEFT", "1"));
}

namespace {

struct EndingRow {
    const char* name;
    std::string before;
    std::string after;  // once S/K is set to "v"
};

void PrintTo(const EndingRow& row, std::ostream* os) { *os << row.name; }

class ProfileFileEndings : public ::testing::TestWithParam<EndingRow> {};

}  // namespace

TEST_P(ProfileFileEndings, AddedKeyKeepsEveryLine)
{
    TempFolder dir;
    const std::string path = dir.write("e.ini", GetParam().before);
    ASSERT_TRUE(ProfileFile(path).write("S", "K", "v"));
    EXPECT_EQ(TempFolder::read(path), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProfileFileEndings,
    ::testing::Values(EndingRow{"BlankLfLineAfterTheKeyStays", "[S]\rA=1\r\n\n[T]\rx=y\r",
                                "[S]\rA=1\r\nK=v\r\n\n[T]\rx=y\r"},
                      EndingRow{"EndingOfTheLineBefore", "[S]\nA=1\r\n[T]\n", "[S]\nA=1\r\nK=v\r\n[T]\n"},
                      EndingRow{"LastLineWithoutEnding", "[S]\r\nA=1", "[S]\r\nA=1\r\nK=v\r\n"},
                      EndingRow{"NewSectionInTheFirstLinesEnding", "[T]\rx=y\n", "[T]\rx=y\n[S]\rK=v\r"}),
    [](const ::testing::TestParamInfo<EndingRow>& row) { return std::string(row.param.name); });

TEST(ProfileFile, UpdatesFromTwoWritersWaitForEachOther)
{
    // Each update reads a count and writes it plus one: a lost update shows as a short count.
    TempFolder dir;
    const std::string path = dir.write("count.ini", "[N]\ncount=0\n");
    constexpr int perWriter = 60;
    const auto count = [&path] {
        ProfileFile file(path);  // a file object of its own, as a second window has
        for (int i = 0; i < perWriter; ++i) {
            ASSERT_TRUE(file.update([](ProfileText& text) {
                text.write("N", "count", std::to_string(std::stoi(text.read("N", "count").value()) + 1));
            }));
        }
    };
    std::thread first(count);
    std::thread second(count);
    first.join();
    second.join();
    EXPECT_EQ(ProfileFile(path).read("N", "count"), std::to_string(2 * perWriter));
}
