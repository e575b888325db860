#include <gtest/gtest.h>

#include <memory>
#include <set>

#include <windows.h>

#include "platform/FileFind.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

namespace {

std::set<std::string> namesFound(const std::string& pattern, bool foldersOnly = false)
{
    std::set<std::string> names;
    FileFind find;
    for (bool more = foldersOnly ? find.firstFolder(pattern) : find.first(pattern); more; more = find.next())
        names.insert(find.data().name);
    return names;
}

}  // namespace

TEST(FileFindWin, ListsAFolderByPattern)
{
    TempFolder dir;
    dir.write("a.avi", "12345");
    dir.write("b.mp4");
    dir.write("noext");
    dir.write("sub\\inner.avi");
    EXPECT_EQ(namesFound(dir / "*.avi"), (std::set<std::string>{"a.avi"}));
    EXPECT_EQ(namesFound(dir / "*.*"), (std::set<std::string>{".", "..", "a.avi", "b.mp4", "noext", "sub"}));
    EXPECT_EQ(namesFound(dir / "*.*", true), (std::set<std::string>{".", "..", "sub"}));
    EXPECT_TRUE(namesFound(dir / "*.mkv").empty());
    EXPECT_TRUE(namesFound(dir / "missing\\*.*").empty());

    FileFind find;
    ASSERT_TRUE(find.first(dir / "a.avi"));  // a plain name finds that entry
    EXPECT_EQ(find.data().name, "a.avi");
    EXPECT_EQ(find.data().size, 5u);
    EXPECT_FALSE(find.data().attributes & faDirectory);
    EXPECT_TRUE(find.data().writeTime.valid);
    EXPECT_FALSE(find.next());
    EXPECT_FALSE(find.first(dir / "missing"));
}

TEST(FileFindWin, AttributesComeFromTheFileSystem)
{
    TempFolder dir;
    const std::string hidden = dir.write("hidden.txt");
    const std::string readOnly = dir.write("ro.txt");
    ASSERT_TRUE(::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    FileFindData data;
    ASSERT_TRUE(lookUpEntry(hidden, data));
    EXPECT_TRUE(data.attributes & faHidden);
    EXPECT_FALSE(data.attributes & faReadOnly);
    ASSERT_TRUE(lookUpEntry(readOnly, data));
    EXPECT_TRUE(data.attributes & faReadOnly);
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileFindWin, TrailingSeparatorAndRoots)
{
    TempFolder dir;
    dir.write("sub\\x");
    struct Row {
        const char* why;
        std::string path;
        bool found;
        std::string name;
    };
    const std::string drive = dir.path().substr(0, 2);  // "C:"
    const Row rows[] = {
        {"a trailing separator names the folder", dir / "sub\\", true, "sub"},
        {"a trailing slash too", dir / "sub" + "/", true, "sub"},
        {"a file is no folder", dir / "sub\\x\\", false, ""},
        {"the drive root", drive + "\\", true, drive + "\\"},
        {"a wildcard is no name", dir / "s?b", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        FileFindData data;
        EXPECT_EQ(lookUpEntry(row.path, data), row.found);
        if (!row.found) continue;
        EXPECT_EQ(data.name, row.name);
        EXPECT_TRUE(data.attributes & faDirectory);
    }
}

TEST(FileFindWin, NamesEndingInAKanjiWhoseSecondByteIsABackslash)
{
    // "表" and "ソ" in the Japanese code page end in the byte of "\\".
    const std::string hyou = "\x95\x5C", so = "\x83\x5C";
    TempFolder dir;
    const std::string folder = dir.path() + "\\" + hyou;
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    const std::string file = folder + "\\" + so;
    ::CloseHandle(::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    struct Row {
        const char* why;
        std::string path;
        std::string name;
        bool isFolder;
    };
    const Row rows[] = {
        {"a folder", folder, hyou, true},
        {"the folder with a trailing separator", folder + "\\", hyou, true},
        {"a file", file, so, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        FileFindData data;
        ASSERT_TRUE(lookUpEntry(row.path, data));
        EXPECT_EQ(data.name, row.name);
        EXPECT_EQ((data.attributes & faDirectory) != 0, row.isFolder);
        FileFind find;
        ASSERT_TRUE(find.first(row.path));
        EXPECT_EQ(find.data().name, row.name);
    }
    EXPECT_FALSE(lookUpEntry(file + "\\", *std::make_unique<FileFindData>())) << "a file is no folder";
    EXPECT_EQ(namesFound(folder + "\\*"), (std::set<std::string>{".", "..", so}));
}
