#include <gtest/gtest.h>

#include <filesystem>

#include <windows.h>

#include "platform/ProfileFile.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

TEST(ProfileFileWin, ANewFileIsAWindowsTextFile)
{
    TempFolder dir;
    ProfileFile file(dir / "new.ini");
    ASSERT_TRUE(file.write("SET", "M_LEFT", "20"));
    ASSERT_TRUE(file.write("SET1", "B1", " C:\\out "));
    EXPECT_EQ(TempFolder::read(dir / "new.ini"), "[SET]\r\nM_LEFT=20\r\n[SET1]\r\nB1=\" C:\\out \"\r\n");
    EXPECT_EQ(file.read("SET1", "B1"), " C:\\out ");
    // A file with LF lines keeps them.
    ProfileFile lf(dir.write("lf.ini", "[SET]\nM_LEFT=1\n"));
    ASSERT_TRUE(lf.write("SET", "M_TOP", "2"));
    EXPECT_EQ(TempFolder::read(dir / "lf.ini"), "[SET]\nM_LEFT=1\nM_TOP=2\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no temporary left
}

TEST(ProfileFileWin, RefusedWritesChangeNothing)
{
    TempFolder dir;
    const std::string readOnly = dir.write("ro.ini", "[SET]\r\nM_LEFT=1\r\n");
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    std::filesystem::create_directory(dir / "folder.ini");
    struct Row {
        const char* why;
        std::string path;
        ProfileState state;
    };
    const Row rows[] = {
        {"a read-only file", readOnly, ProfileState::Read},
        {"a folder by that name", dir / "folder.ini", ProfileState::NotAFile},
        {"a device", "NUL", ProfileState::NotAFile},
        {"a missing folder", dir / "no\\such.ini", ProfileState::Missing},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ProfileFile file(row.path);
        ProfileText text;
        EXPECT_EQ(file.load(text), row.state);
        EXPECT_FALSE(file.write("SET", "M_LEFT", "2"));
    }
    EXPECT_EQ(TempFolder::read(readOnly), "[SET]\r\nM_LEFT=1\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini"));
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(ProfileFileWin, AFileHeldOpenByAReaderIsStillSaved)
{
    // Windows refuses to replace a file that is open: the save rewrites it in place.
    TempFolder dir;
    const std::string path = dir.write("held.ini", "; mine\r\n[SET]\r\nM_LEFT=1\r\n");
    const HANDLE reader = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ProfileFile file(path);
    EXPECT_TRUE(file.write("SET", "M_LEFT", "300"));
    ::CloseHandle(reader);
    EXPECT_EQ(TempFolder::read(path), "; mine\r\n[SET]\r\nM_LEFT=300\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
