#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/ProfileFile.h"
#include "TempFolder.h"

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
    EXPECT_EQ(file.read("SET1", "S1"), "0x10");          // case, blanks, CR line end
    EXPECT_EQ(file.read("SET1", "Q"), "  quoted  ");     // quotes taken off, inner blanks kept
    EXPECT_EQ(file.read("SET1", "H"), "'half");          // no matching pair: kept
    EXPECT_EQ(file.read("SET1", "E"), "");
    EXPECT_EQ(file.read("SET1", "S2"), std::nullopt);    // commented out; the second [SET1] is not read
    EXPECT_EQ(file.read("other", "s1"), "other");        // last line without an ending
    EXPECT_EQ(file.read("SET1", "top"), std::nullopt);   // lines before any section belong to none
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
    ASSERT_TRUE(file.write("SET", "m_left", "300"));   // updated in place
    ASSERT_TRUE(file.write("SET", "M_TOP", "40"));     // after the section's last key
    ASSERT_TRUE(file.write("SET1", "B1", "/v"));       // after R1, before the blank line
    ASSERT_TRUE(file.write("New", "k", "v"));          // new section at the end
    EXPECT_EQ(TempFolder::read(path),
              "; my notes\r\n"
              "[SET]\r\n"
              "m_left=300\r\n"
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

TEST(ProfileFile, ValuesReadBackAsWritten)
{
    TempFolder dir;
    ProfileFile file(dir / "v.ini");
    ASSERT_TRUE(file.write("S", "empty", ""));
    ASSERT_TRUE(file.write("S", "blank", " /tmp/a b "));
    ASSERT_TRUE(file.write("S", "quoted", "\"x\""));
    ASSERT_TRUE(file.write("S", "bytes", "/v/\xFF\xFE=;[x]"));
    ASSERT_TRUE(file.write("S", "broken", "first\nsecond=injected"));
    ASSERT_TRUE(file.write("S", "empty", "now set"));
    EXPECT_EQ(file.read("S", "empty"), "now set");
    EXPECT_EQ(file.read("S", "blank"), " /tmp/a b ");
    EXPECT_EQ(file.read("S", "quoted"), "\"x\"");
    EXPECT_EQ(file.read("S", "bytes"), "/v/\xFF\xFE=;[x]");
    // A line break cannot be stored in a value: it ends the value, and no key is injected.
    EXPECT_EQ(file.read("S", "broken"), "first");
    EXPECT_EQ(file.read("S", "second"), std::nullopt);
    EXPECT_EQ(TempFolder::read(dir / "v.ini"),
              "[S]\nempty=now set\nblank=\" /tmp/a b \"\nquoted=\"\"x\"\"\nbytes=/v/\xFF\xFE=;[x]\nbroken=first\n");
}

TEST(ProfileFile, RefusedWriteChangesNothing)
{
    TempFolder dir;
    const std::string path = dir.write("r.ini", "[SET]\nM_LEFT=1\n");
    ::chmod(path.c_str(), 0444);
    struct stat st {};
    ProfileFile readOnly(path);
    EXPECT_FALSE(readOnly.write("SET", "M_LEFT", "2"));
    EXPECT_EQ(TempFolder::read(path), "[SET]\nM_LEFT=1\n");

    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    // The name is taken by a folder: the rename fails and the folder stays.
    std::filesystem::create_directory(dir / "dir.ini");
    dir.write("dir.ini/inside", "x");
    EXPECT_FALSE(ProfileFile(dir / "dir.ini").write("SET", "M_LEFT", "2"));
    EXPECT_EQ(TempFolder::read(dir / "dir.ini/inside"), "x");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no temporary left

    if (::geteuid() == 0) return;  // root may create files anywhere
    ::chmod(path.c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);  // the file may be written, but no temporary file can be made
    EXPECT_FALSE(readOnly.write("SET", "M_LEFT", "2"));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(TempFolder::read(path), "[SET]\nM_LEFT=1\n");
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
    ::testing::Values(
        EndingRow{"BlankLfLineAfterTheKeyStays", "[S]\rA=1\r\n\n[T]\rx=y\r", "[S]\rA=1\r\nK=v\r\n\n[T]\rx=y\r"},
        EndingRow{"EndingOfTheLineBefore", "[S]\nA=1\r\n[T]\n", "[S]\nA=1\r\nK=v\r\n[T]\n"},
        EndingRow{"LastLineWithoutEnding", "[S]\r\nA=1", "[S]\r\nA=1\r\nK=v\r\n"},
        EndingRow{"NewSectionInTheFirstLinesEnding", "[T]\rx=y\n", "[T]\rx=y\n[S]\rK=v\r"}),
    [](const ::testing::TestParamInfo<EndingRow>& row) { return std::string(row.param.name); });
