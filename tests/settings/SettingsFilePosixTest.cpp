// The settings file where POSIX rules decide: file modes and the XDG folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
    dir.write("relative/kelmora/Kelmora.ini", "[SET1]\nS3=1\n");
    dir.write("vendor/kelmora/Kelmora.ini", "[SET1]\nS2=9\nS5=30\n");
    dir.write("prefix/share/kelmora/installed");
    dir.write("prefix/bin/kelmora");
    dir.write("portable/kelmora");

    struct Row {
        const char* name;
        const char* program;
        const char* usersFile;               // nullptr: none yet
        std::vector<std::int32_t> expected;  // S2, S5, S3
    };
    const Row rows[] = {
        {"no file of the user's yet", "prefix/bin", nullptr, {7, 30, 320}},
        {"the user's keys over the system's", "prefix/bin", "[SET1]\nS2=11\nS3=640\n", {11, 30, 640}},
        {"a portable copy reads its own file only", "portable", "[SET1]\nS3=640\n", {1, 1, 640}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = settingsFilePath(dir / row.program);
        std::filesystem::remove(path);
        if (row.usersFile) std::ofstream(path) << row.usersFile;
        const TCutSettings s =
            readCutSettings(SettingsFile(path), settingsDefaultsFiles(dir / row.program), TCutSettings{});
        EXPECT_EQ((std::vector<std::int32_t>{s.FrameCount, s.FramesPerSecond, s.ImageWidth}), row.expected);
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CONFIG_DIRS");
}
