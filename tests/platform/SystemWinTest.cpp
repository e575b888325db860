#include <gtest/gtest.h>

#include <filesystem>

#include <windows.h>

#include "platform/System.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

TEST(SystemWin, ProgramPathAndFolder)
{
    const std::string path = programPath();
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path[1], ':');
    EXPECT_EQ(path.substr(path.rfind('\\') + 1), "test_platform.exe");
    EXPECT_EQ(programFolder(), path.substr(0, path.rfind('\\')));
}

TEST(SystemWin, ExpandFileName)
{
    char cwd[MAX_PATH];
    ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    const std::string here = cwd;
    struct Row {
        const char* why;
        std::string path;
        std::string expanded;
    };
    const Row rows[] = {
        {"dots and doubled separators", "C:\\a\\.\\b\\\\c\\..\\d", "C:\\a\\b\\d"},
        {"a trailing separator stays", "C:\\a\\b\\", "C:\\a\\b\\"},
        {"the root", "C:\\..", "C:\\"},
        {"a relative name", "x\\y", here + (here.back() == '\\' ? "" : "\\") + "x\\y"},
        {"slashes become backslashes", "C:/a/b", "C:\\a\\b"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(expandFileName(row.path), row.expanded);
    }
}

TEST(SystemWin, FilesAndFolders)
{
    TempFolder dir;
    createFolderWithParents(dir / "new\\sub\\dir\\");
    EXPECT_TRUE(folderExists(dir / "new\\sub\\dir"));
    EXPECT_TRUE(isWritableFolder(dir / "new\\sub"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "new\\sub"), {}), 1);  // the probe is gone
    const std::string file = dir.write("file");
    createFolderWithParents(file + "\\below");  // cannot be made: silently nothing
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(folderExists(file));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_FALSE(isWritableFolder(file));
    EXPECT_TRUE(deleteFile(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_FALSE(deleteFile(file));
    EXPECT_EQ(resolveLinks(dir / "new\\.\\sub"), resolveLinks(dir / "new\\sub"));
}

TEST(SystemWin, UserFolders)
{
    EXPECT_TRUE(folderExists(homeFolder()));
    const std::string config = userConfigFolder();
    EXPECT_EQ(config.substr(config.rfind('\\') + 1), "Kelmora");
    EXPECT_TRUE(folderExists(config.substr(0, config.rfind('\\'))));
    EXPECT_TRUE(folderExists(userPicturesFolder()));
}

TEST(SystemWin, EntryKindsAndFolderErrors)
{
    TempFolder dir;
    const std::string file = dir.write("file");
    struct KindRow {
        std::string path;
        EntryKind kind;
        bool exists;
    };
    for (const KindRow& row :
         {KindRow{file, EntryKind::RegularFile, true}, KindRow{dir.path(), EntryKind::Folder, true},
          KindRow{"NUL", EntryKind::Other, true}, KindRow{dir / "gone", EntryKind::Missing, false}}) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(entryKind(row.path), row.kind);
        if (row.kind != EntryKind::Other) {
            EXPECT_EQ(entryExists(row.path), row.exists);
        }
    }
    struct FolderRow {
        std::string folder;
        int error;
    };
    for (const FolderRow& row : {FolderRow{dir / "new\\sub\\dir\\", 0}, FolderRow{dir / "new\\sub", 0},
                                 FolderRow{file, ENOTDIR}, FolderRow{file + "\\below\\more", ENOTDIR}}) {
        SCOPED_TRACE(row.folder);
        EXPECT_EQ(makeFolderWithParents(row.folder), row.error);
        EXPECT_EQ(folderExists(row.folder), row.error == 0);
    }
}
