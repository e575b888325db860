#include <gtest/gtest.h>

#include "platform/Paths.h"

using namespace kelmora::platform;

namespace {
constexpr auto W = PathStyle::Windows;
constexpr auto P = PathStyle::Posix;
constexpr auto Sjis = CodePage::Cp932;
constexpr auto U8 = CodePage::Utf8;
const std::string hyo = "\x95\x5C";  // 表: its trail byte has the code of "\"
}  // namespace

TEST(Paths, FolderPartsWindows)
{
    EXPECT_EQ(folderPartWithSeparator("C:\\Tools\\cut.exe", W, Sjis), "C:\\Tools\\");
    EXPECT_EQ(folderPartWithSeparator("cut.exe", W, Sjis), "");
    EXPECT_EQ(folderPartWithSeparator("C:cut.exe", W, Sjis), "C:");
    EXPECT_EQ(folderPartWithoutSeparator("C:\\Tools\\cut.exe", W, Sjis), "C:\\Tools");
    EXPECT_EQ(folderPartWithoutSeparator("C:\\cut.exe", W, Sjis), "C:\\");
    EXPECT_EQ(folderPartWithoutSeparator("\\\\srv\\cut.exe", W, Sjis), "\\\\srv");
    EXPECT_EQ(folderPartWithoutSeparator("C:\\a\\\\cut.exe", W, Sjis), "C:\\a\\\\");
    EXPECT_EQ(fileNamePart("C:\\Tools\\cut.exe", W, Sjis), "cut.exe");
    EXPECT_EQ(fileNamePart("C:cut.exe", W, Sjis), "cut.exe");
}

TEST(Paths, FolderPartsPosix)
{
    EXPECT_EQ(folderPartWithSeparator("/opt/tools/cut", P, U8), "/opt/tools/");
    EXPECT_EQ(folderPartWithSeparator("cut", P, U8), "");
    EXPECT_EQ(folderPartWithoutSeparator("/opt/tools/cut", P, U8), "/opt/tools");
    EXPECT_EQ(folderPartWithoutSeparator("/cut", P, U8), "/");  // the root keeps its "/"
    EXPECT_EQ(fileNamePart("/opt/tools/cut", P, U8), "cut");
    EXPECT_EQ(fileNamePart("/opt/a:b", P, U8), "a:b");  // ":" is an ordinary character here
}

TEST(Paths, DoubleByteTrailIsNeverASeparator)
{
    // C:\表\x.avi : the 0x5C inside 表 must not split the name.
    const std::string path = "C:\\" + hyo + "\\x.avi";
    EXPECT_EQ(folderPartWithSeparator(path, W, Sjis), "C:\\" + hyo + "\\");
    EXPECT_EQ(fileNamePart("C:\\v\\" + hyo + ".avi", W, Sjis), hyo + ".avi");
    EXPECT_EQ(folderPartWithoutSeparator("C:\\" + hyo + "\\x", W, Sjis), "C:\\" + hyo);
    // A folder ending in 表 keeps its last byte and gets a real separator.
    EXPECT_EQ(removeTrailingSeparator("C:\\" + hyo, W, Sjis), "C:\\" + hyo);
    EXPECT_EQ(joinPath("C:\\" + hyo, "*.*", W, Sjis), "C:\\" + hyo + "\\*.*");
    EXPECT_EQ(replaceExtension("C:\\" + hyo, "_x", W, Sjis), "C:\\" + hyo + "_x");
    // Read as single bytes, the same path would lose its last byte.
    EXPECT_EQ(folderPartWithSeparator("C:\\a" + hyo + "b", W, Sjis), "C:\\");
}

TEST(Paths, ReplaceExtension)
{
    EXPECT_EQ(replaceExtension("a.tar.gz", "_x", W, Sjis), "a.tar_x");
    EXPECT_EQ(replaceExtension("C:\\v.d\\clip", "_x", W, Sjis), "C:\\v.d\\clip_x");
    EXPECT_EQ(replaceExtension("C:\\v\\a.avi", "_%05d.jpg", W, Sjis), "C:\\v\\a_%05d.jpg");
    EXPECT_EQ(replaceExtension("C:x.y", "_x", W, Sjis), "C:x_x");
    EXPECT_EQ(replaceExtension("C:.\\x", "_x", W, Sjis), "C:.\\x_x");
    EXPECT_EQ(replaceExtension("a.tar.gz", "_x", P, U8), "a.tar_x");
    EXPECT_EQ(replaceExtension("/v.d/clip", "_x", P, U8), "/v.d/clip_x");
    EXPECT_EQ(replaceExtension("/v/a:b.c", "_x", P, U8), "/v/a:b_x");
}

TEST(Paths, TrailingSeparatorAndJoin)
{
    EXPECT_EQ(removeTrailingSeparator("D:\\out\\", W, Sjis), "D:\\out");
    EXPECT_EQ(removeTrailingSeparator("C:\\", W, Sjis), "C:");
    EXPECT_EQ(removeTrailingSeparator("C:\\\\", W, Sjis), "C:\\");  // one only
    EXPECT_EQ(removeTrailingSeparator("C:", W, Sjis), "C:");
    EXPECT_EQ(removeTrailingSeparator("", W, Sjis), "");
    EXPECT_EQ(removeTrailingSeparator("/out/", P, U8), "/out");
    EXPECT_EQ(removeTrailingSeparator("/", P, U8), "/");
    EXPECT_EQ(joinPath("D:\\", "*.*", W, Sjis), "D:\\*.*");
    EXPECT_EQ(joinPath("C:", "x", W, Sjis), "C:\\x");
    EXPECT_EQ(joinPath("/", "x", P, U8), "/x");
    EXPECT_EQ(joinPath("/a", "x", P, U8), "/a/x");
}

namespace {

struct SplitRow {
    const char* name;
    std::string path;
    PathStyle style;
    CodePage cp;
    std::string fileName;
    bool endsWithSeparator;
};

void PrintTo(const SplitRow& row, std::ostream* os) { *os << row.name; }

class PathSplit : public ::testing::TestWithParam<SplitRow> {};

}  // namespace

// The folder/name split and the trailing-separator test see the same characters,
// also where a lead byte stands before a byte that cannot be its second half.
TEST_P(PathSplit, NameAndTrailingSeparatorAgree)
{
    const SplitRow& row = GetParam();
    EXPECT_EQ(fileNamePart(row.path, row.style, row.cp), row.fileName);
    EXPECT_EQ(folderPartWithSeparator(row.path, row.style, row.cp) + row.fileName, row.path);
    EXPECT_EQ(endsWithSeparator(row.path, row.style, row.cp), row.endsWithSeparator);
}

INSTANTIATE_TEST_SUITE_P(Rows, PathSplit,
                         ::testing::Values(SplitRow{"Cp932LeadBeforeSlash", "/v/\x81/", P, Sjis, "", true},
                                           SplitRow{"Cp932LeadBeforeSlashInside", "/v/\x81/x", P, Sjis, "x", false},
                                           SplitRow{"Cp932LeadBeforeColon", "C:\\a\x81:b", W, Sjis, "b", false},
                                           SplitRow{"Cp932TrailBackslash", "C:\\" + hyo, W, Sjis, hyo, false},
                                           SplitRow{"Cp932TrailBackslashThenSeparator", "C:\\" + hyo + "\\", W, Sjis,
                                                    "", true},
                                           SplitRow{"Utf8CutSequenceBeforeSlash", "/v/\xE3\x81/", P, U8, "", true}),
                         [](const ::testing::TestParamInfo<SplitRow>& row) { return std::string(row.param.name); });

TEST(Paths, FullPaths)
{
    struct Row {
        const char* path;
        PathStyle style;
        bool full;
    };
    const Row rows[] = {
        {"\\\\srv\\share\\out", W, true},
        {"\\out", W, true},
        {"C:\\out", W, true},
        {"c:\\", W, true},
        {"C:out", W, false},
        {"C:", W, false},
        {"out\\a", W, false},
        {"/out", W, false},
        {"", W, false},
        {"/out", P, true},
        {"/", P, true},
        {"out/a", P, false},
        {"C:\\out", P, false},
        {"\\out", P, false},
        {"", P, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(isFullPath(row.path, row.style), row.full);
    }
}
