// What the targets stand for, on real files, and where a run's images are.
#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

#include "cli/ImageFiles.h"
#include "cli/TargetRegistration.h"
#include "tests/support/TempFolder.h"

namespace kelmora::cli {
namespace {

using test::TempFolder;

TEST(TargetRegistration, FilesFoldersAndPatterns)
{
    TempFolder dir;
    dir.write("v/b.mp4");
    dir.write("v/a.mp4");
    dir.write("v/sub/c.mp4");
    dir.write("v/sub/deeper/d.txt");
    dir.write("w/x.avi");
    dir.write("w/y.avi");
    dir.write("w/z.mp4");
    dir.write("lit/star*.mp4");
    dir.write("lit/stars.mp4");
    ASSERT_EQ(::mkfifo((dir / "v/sub/pipe").c_str(), 0600), 0);
    struct Row {
        const char* name;
        std::string target;
        std::vector<std::string> files;  // sorted for the comparison
        bool missing;
    };
    const Row rows[] = {
        {"a file is itself", dir / "v/a.mp4", {dir / "v/a.mp4"}, false},
        {"a relative name that is not there", "no-such-clip.mp4", {}, true},
        {"a folder gives only the files in and below it",
         dir / "v",
         {dir / "v/a.mp4", dir / "v/b.mp4", dir / "v/sub/c.mp4", dir / "v/sub/deeper/d.txt"},
         false},
        {"a pattern gives its matches", dir / "w/*.avi", {dir / "w/x.avi", dir / "w/y.avi"}, false},
        {"a pattern may match folders", dir / "v/s?b", {dir / "v/sub/c.mp4", dir / "v/sub/deeper/d.txt"}, false},
        {"a name that exists is no pattern", dir / "lit/star*.mp4", {dir / "lit/star*.mp4"}, false},
        {"a pattern without a match", dir / "w/*.mkv", {}, true},
        {"nothing there", dir / "nothing.mp4", {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Registration registration;
        registerTarget(row.target, registration);
        std::vector<std::string> files = registration.files;
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, row.files);
        EXPECT_EQ(registration.missing.empty(), !row.missing);
    }
    std::filesystem::create_directory(dir / "empty");
    Registration empty;
    registerTarget(dir / "empty", empty);
    EXPECT_TRUE(empty.files.empty());
    EXPECT_TRUE(empty.missing.empty()) << "an empty folder names something: no error";
}

TEST(TargetRegistration, ListsOfTargets)
{
    struct Row {
        const char* name;
        std::string text;
        bool nul;
        std::vector<std::string> entries;
    };
    const Row rows[] = {
        {"lines", "a.mp4\nb c.mp4\n", false, {"a.mp4", "b c.mp4"}},
        {"no last line break", "a.mp4\nb.mp4", false, {"a.mp4", "b.mp4"}},
        {"carriage returns", "a.mp4\r\nb.mp4\r\n", false, {"a.mp4", "b.mp4"}},
        {"empty lines", "\n\na.mp4\n\n", false, {"a.mp4"}},
        {"NUL ends", std::string("a\nb.mp4\0c\r\0\0", 12), true, {"a\nb.mp4", "c\r"}},
        {"bytes kept", "\xff\xfe.mp4\n", false, {"\xff\xfe.mp4"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::istringstream in(row.text);
        EXPECT_EQ(readTargetList(in, row.nul), row.entries);
    }
}

TEST(ImageFiles, NumbersAndPercentsOfTheOutputPattern)
{
    const std::tuple<const char*, std::size_t, const char*> rows[] = {
        {"/out/a_%05d.jpg", 3, "/out/a_00003.jpg"},
        {"/out/a_%05d.jpg", 123456, "/out/a_123456.jpg"},
        {"/o/50%%off_%05d.png", 1, "/o/50%off_00001.png"},
        {"/o/a%d.jpg", 12, "/o/a12.jpg"},
        {"/o/%%d_%05d.bmp", 2, "/o/%d_00002.bmp"},
    };
    for (const auto& [pattern, n, file] : rows) {
        SCOPED_TRACE(file);
        EXPECT_EQ(imageFile(pattern, n), file);
    }
}

TEST(ImageFiles, TheLastImageOfAKilledRunGoes)
{
    TempFolder dir;
    const std::string pattern = dir / "50%%off_%05d.jpg";
    EXPECT_EQ(countImages(pattern), 0u);
    EXPECT_FALSE(removeLastImage(pattern));
    for (const char* name : {"50%off_00001.jpg", "50%off_00002.jpg", "50%off_00003.jpg", "50%off_00005.jpg"})
        dir.write(name, "x");
    EXPECT_EQ(countImages(pattern), 3u) << "the numbers from 1 on";
    EXPECT_TRUE(removeLastImage(pattern));
    EXPECT_FALSE(std::filesystem::exists(dir / "50%off_00003.jpg"));
    EXPECT_TRUE(std::filesystem::exists(dir / "50%off_00002.jpg"));
    EXPECT_EQ(countImages(pattern), 2u);
}

}  // namespace
}  // namespace kelmora::cli
