// The settings file where POSIX rules decide: file modes and the XDG folders.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "tests/support/TempFolder.h"

using namespace kelmora;
using kelmora::test::TempFolder;

TEST(SettingsFile, RefusedWriteNamesTheFile)
{
    TempFolder dir;
    const std::string path = dir.write("Kelmora.ini", "[SET]\nM_LEFT=1\n");
    ::chmod(path.c_str(), 0444);
    SettingsFile file(path);
    try {
        writeCutSettings(file, TCutSettings{});
        FAIL() << "no error";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(std::string(error.what()), path + " に書き込めません");
    }
    EXPECT_EQ(TempFolder::read(path), "[SET]\nM_LEFT=1\n");
}

TEST(SettingsLocation, BesideABuiltOrUnpackedProgramElseInTheUsersFolders)
{
    TempFolder dir;
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    ::setenv("XDG_PICTURES_DIR", (dir / "pictures").c_str(), 1);
    std::filesystem::create_directories(dir / "pictures");
    const std::string user = dir / "config/kelmora";

    // The install's mark, share/kelmora/installed of the prefix, as the install puts it down.
    EXPECT_EQ(installMarkPath(dir / "prefix/bin"), dir / "prefix/share/kelmora/installed");
    dir.write("prefix/share/kelmora/installed", "x");
    dir.write("prefix/bin/Kelmora.ini", "[SET]\n");  // left by an earlier version run as root
    dir.write("build/bin/kelmora");
    dir.write("ro/Kelmora.ini", "[SET]\n");
    ::chmod((dir / "ro").c_str(), 0555);

    struct Row {
        const char* name;
        std::string program;
        std::string settingsFolder;
        std::string destination;
    };
    std::vector<Row> rows = {
        {"a build tree", dir / "build/bin", dir / "build/bin", dir / "build/bin"},
        {"a folder nobody can write", dir / "usr/lib/kelmora", user, dir / "pictures"},
        // Root can write the installed program's folder: it still counts as installed,
        // and a settings file beside the program is not used.
        {"an installed tree whose folder can be written", dir / "prefix/bin", user, dir / "pictures"},
    };
    // Root passes every permission check: a read-only folder is writable to root.
    if (::geteuid() != 0)
        rows.push_back({"a read-only copy with its own file", dir / "ro", dir / "ro", dir / "pictures"});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(settingsFilePath(row.program), row.settingsFolder + "/Kelmora.ini");
        EXPECT_EQ(previewFilePath(row.program), row.settingsFolder + "/_thumb.bmp");
        EXPECT_TRUE(std::filesystem::is_directory(row.settingsFolder));
        EXPECT_EQ(defaultDestinationFolder(row.program), row.destination);
    }
    EXPECT_EQ(settingsFilePath("/"), "/Kelmora.ini");  // no doubled separator at the root
    ::chmod((dir / "ro").c_str(), 0755);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_PICTURES_DIR");
}

TEST(SettingsLocation, SystemWideDefaultsFillTheKeysTheUsersFileLacks)
{
    TempFolder dir;
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    // The first folder that has a key wins; a relative entry is no XDG folder.
    ::setenv("XDG_CONFIG_DIRS", (dir / "site:relative::" + dir / "vendor").c_str(), 1);
    dir.write("site/kelmora/Kelmora.ini", "[SET1]\nS2=7\n");
    dir.write("relative/kelmora/Kelmora.ini", "[SET1]\nS4=1\n");
    dir.write("vendor/kelmora/Kelmora.ini", "[SET1]\nS2=9\nS5=30\nB1=/srv/stills\n");
    dir.write("prefix/share/kelmora/installed");
    const std::string installed = dir / "prefix/bin";
    std::filesystem::create_directories(installed);

    struct Row {
        const char* name;
        std::string program;
        const char* usersFile;  // nullptr: none yet
        TCutSettings expected;
    };
    TCutSettings fromSystem;
    fromSystem.FrameCount = 7;
    fromSystem.FramesPerSecond = 30;
    fromSystem.DestinationFolder = "/srv/stills";
    TCutSettings mixed = fromSystem;
    mixed.FrameCount = 11;
    mixed.ImageWidth = 640;
    const Row rows[] = {
        {"no file of the user's yet", installed, nullptr, fromSystem},
        {"the user's keys over the system's", installed, "[SET1]\nS2=11\nS3=640\n", mixed},
        {"a portable copy reads its own file only", dir / "portable", "[SET1]\nS3=640\n",
         [] {
             TCutSettings s;
             s.ImageWidth = 640;
             return s;
         }()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::create_directories(row.program);
        const std::string path = settingsFilePath(row.program);
        std::filesystem::remove(path);
        if (row.usersFile) dir.write(path.substr(dir.path().size() + 1), row.usersFile);
        const TCutSettings read =
            readCutSettings(SettingsFile(path), settingsDefaultsFiles(row.program), TCutSettings{});
        EXPECT_EQ(read.FrameCount, row.expected.FrameCount);
        EXPECT_EQ(read.FramesPerSecond, row.expected.FramesPerSecond);
        EXPECT_EQ(read.ImageWidth, row.expected.ImageWidth);
        EXPECT_EQ(read.ImageHeight, row.expected.ImageHeight);
        EXPECT_EQ(read.DestinationFolder, row.expected.DestinationFolder);
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CONFIG_DIRS");
}

TEST(SettingsFile, ATrySaveGivesUpAtOnceWhileAnotherProgramHoldsTheFile)
{
    TempFolder dir;
    const std::string path = dir.write("Kelmora.ini", "[SET]\nM_LEFT=1\n");
    // Another open file description: flock conflicts with it as with another process.
    const int other = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    TCutSettings s;
    s.WindowLeft = 5;
    SettingsFile file(path);
    EXPECT_FALSE(tryWriteCutSettings(file, s));
    EXPECT_EQ(TempFolder::read(path), "[SET]\nM_LEFT=1\n");

    ::close(other);
    EXPECT_TRUE(tryWriteCutSettings(file, s));
    EXPECT_EQ(readCutSettings(SettingsFile(path), TCutSettings{}).WindowLeft, 5);
}
