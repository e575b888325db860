#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/System.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

TEST(SystemPosix, ProgramPathAndFolder)
{
    const std::string path = programPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(path.substr(path.rfind('/') + 1), "test_platform");
    EXPECT_EQ(programFolder(), path.substr(0, path.rfind('/')));
}

TEST(SystemPosix, ExpandFileName)
{
    EXPECT_EQ(expandFileName("/a/./b//c/../d"), "/a/b/d");
    EXPECT_EQ(expandFileName("/a/b/"), "/a/b/");
    EXPECT_EQ(expandFileName("/.."), "/");
    EXPECT_EQ(expandFileName("/"), "/");
    char cwd[4096];
    ASSERT_TRUE(::getcwd(cwd, sizeof cwd));
    EXPECT_EQ(expandFileName("x/y"), std::string(cwd) + "/x/y");
    EXPECT_EQ(expandFileName("."), std::string(cwd));
}

TEST(SystemPosix, CreateFolderWithParents)
{
    TempFolder dir;
    createFolderWithParents(dir / "new/sub/dir/");
    EXPECT_TRUE(folderExists(dir / "new/sub/dir"));
    EXPECT_TRUE(isWritableFolder(dir / "new/sub"));
    createFolderWithParents(dir / "new/sub/dir");  // exists: nothing to do
    const std::string file = dir.write("file");
    createFolderWithParents(file + "/below");  // cannot be made: silently nothing
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(folderExists(file + "/below"));
    EXPECT_TRUE(deleteFile(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_FALSE(deleteFile(file));
}

TEST(SystemPosix, MakeFolderWithParentsSaysWhyItCannot)
{
    TempFolder dir;
    const std::string file = dir.write("file");
    struct Row {
        std::string folder;
        int error;
    };
    for (const Row& row : {Row{dir / "new/sub/dir/", 0}, Row{dir / "new/sub", 0}, Row{file, ENOTDIR},
                           Row{file + "/below/more", ENOTDIR}}) {
        SCOPED_TRACE(row.folder);
        EXPECT_EQ(makeFolderWithParents(row.folder), row.error);
        EXPECT_EQ(folderExists(row.folder), row.error == 0);
    }
    EXPECT_EQ(errorText(ENOTDIR), std::strerror(ENOTDIR));
}

TEST(SystemPosix, EntryKinds)
{
    TempFolder dir;
    const std::string file = dir.write("file");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(file.c_str(), (dir / "to-file").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "to-nothing").c_str()), 0);
    struct Row {
        std::string path;
        EntryKind kind;
        bool exists;
    };
    for (const Row& row : {Row{file, EntryKind::RegularFile, true}, Row{dir / "to-file", EntryKind::RegularFile, true},
                           Row{dir.path(), EntryKind::Folder, true}, Row{dir / "fifo", EntryKind::Other, true},
                           Row{"/dev/null", EntryKind::Other, true}, Row{dir / "to-nothing", EntryKind::Missing, true},
                           Row{dir / "gone", EntryKind::Missing, false}}) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(entryKind(row.path), row.kind);
        EXPECT_EQ(entryExists(row.path), row.exists);
    }
}

TEST(SystemPosix, UserFolders)
{
    TempFolder dir;
    const std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
    ::setenv("HOME", dir.path().c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_PICTURES_DIR");
    EXPECT_EQ(userConfigFolder(), dir / ".config/kelmora");
    EXPECT_EQ(userPicturesFolder(), dir.path());  // no pictures folder configured

    dir.write(".config/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(userPicturesFolder(), dir.path());  // configured but missing: home
    std::filesystem::create_directory(dir / "Bilder");
    EXPECT_EQ(userPicturesFolder(), dir / "Bilder");

    ::setenv("XDG_CONFIG_HOME", (dir / "cfg").c_str(), 1);
    EXPECT_EQ(userConfigFolder(), dir / "cfg/kelmora");
    ::setenv("XDG_PICTURES_DIR", (dir / "cfg").c_str(), 1);
    std::filesystem::create_directory(dir / "cfg");
    EXPECT_EQ(userPicturesFolder(), dir / "cfg");

    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_PICTURES_DIR");
    ::setenv("HOME", oldHome.c_str(), 1);
}
