// The settings file where POSIX rules decide: file modes and the XDG folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(SettingsLocation, BesideTheProgramOrInTheUsersFolders)
{
    TempFolder dir;
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    ::setenv("XDG_PICTURES_DIR", dir.path().c_str(), 1);

    const std::string program = dir.write("prog/kelmora").substr(0, (dir / "prog").size());
    EXPECT_EQ(settingsFilePath(program), program + "/Kelmora.ini");
    EXPECT_EQ(previewFilePath(program), program + "/_thumb.bmp");
    EXPECT_EQ(defaultDestinationFolder(program), program);
    EXPECT_EQ(settingsFilePath("/"), "/Kelmora.ini");  // no doubled separator at the root

    // A folder that cannot be written: the per-user folder, created on demand.
    const std::string system = dir / "usr/lib/kelmora";
    EXPECT_EQ(settingsFilePath(system), dir / "config/kelmora/Kelmora.ini");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "config/kelmora"));
    EXPECT_EQ(previewFilePath(system), dir / "config/kelmora/_thumb.bmp");
    EXPECT_EQ(defaultDestinationFolder(system), dir.path());

    // A settings file beside a read-only program keeps portable use.
    if (::geteuid() != 0) {
        dir.write("ro/Kelmora.ini", "[SET]\n");
        ::chmod((dir / "ro").c_str(), 0555);
        EXPECT_EQ(settingsFilePath(dir / "ro"), dir / "ro/Kelmora.ini");
        ::chmod((dir / "ro").c_str(), 0755);
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_PICTURES_DIR");
}
