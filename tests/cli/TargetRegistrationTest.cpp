// What targets stand for, on real files, and lists of targets.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <sys/stat.h>

#include "cli/TargetRegistration.h"
#include "tests/support/TempFolder.h"

namespace kelmora::cli {
namespace {

TEST(TargetRegistration, FilesFoldersAndPatterns)
{
    test::TempFolder dir;
    for (const char* name :
         {"v/a.mp4", "v/sub/c.mp4", "w/x.avi", "w/y.avi", "w/z.mp4", "lit/star*.mp4", "lit/stars.mp4"})
        dir.write(name);
    ASSERT_EQ(::mkfifo((dir / "v/sub/pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "empty");
    const std::tuple<const char*, std::string, std::vector<std::string>, bool> rows[] = {
        {"a file is itself", dir / "v/a.mp4", {dir / "v/a.mp4"}, false},
        {"a folder: the files in and below it", dir / "v", {dir / "v/a.mp4", dir / "v/sub/c.mp4"}, false},
        {"a pattern: its matches", dir / "w/*.avi", {dir / "w/x.avi", dir / "w/y.avi"}, false},
        {"a pattern matching a folder",
         dir / "?",
         {dir / "v/a.mp4", dir / "v/sub/c.mp4", dir / "w/x.avi", dir / "w/y.avi", dir / "w/z.mp4"},
         false},
        {"a name that exists is no pattern", dir / "lit/star*.mp4", {dir / "lit/star*.mp4"}, false},
        {"a pattern without a match", dir / "w/*.mkv", {}, true},
        {"nothing there", dir / "none.mp4", {}, true},
        {"an empty folder is no mistake", dir / "empty", {}, false},
    };
    for (const auto& [name, target, files, missing] : rows) {
        SCOPED_TRACE(name);
        Registration registration;
        registerTarget(target, registration);
        std::sort(registration.files.begin(), registration.files.end());
        EXPECT_EQ(registration.files, files);
        EXPECT_EQ(registration.missing, missing ? std::vector<std::string>{target} : std::vector<std::string>{});
    }
}

TEST(TargetRegistration, TheDestinationIsPassedOver)
{
    test::TempFolder dir;
    for (const char* name : {"v/a.mp4", "v/stills/a_00001.jpg", "v/stills/b.mp4"}) dir.write(name);
    std::filesystem::create_directory_symlink(dir / "v/stills", dir / "link");
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"a folder holding it", dir / "v", dir / "v/stills"},
        {"a pattern matching the folder", dir / "?", dir / "v/stills"},
        {"the destination named through a link", dir / "v", dir / "link"},
    };
    for (const auto& [name, target, destination] : rows) {
        SCOPED_TRACE(name);
        Registration registration;
        registerTarget(target, registration, destination);
        EXPECT_EQ(registration.files, std::vector<std::string>{dir / "v/a.mp4"});
    }
}

TEST(TargetRegistration, ListsOfTargets)
{
    const std::tuple<std::string, bool, std::vector<std::string>> rows[] = {
        {"a.mp4\r\n\nb c.mp4", false, {"a.mp4", "b c.mp4"}},
        {std::string("a\nb.mp4\0c\r\0\0", 12), true, {"a\nb.mp4", "c\r"}},
        {"\xff\xfe.mp4\n", false, {"\xff\xfe.mp4"}},
    };
    for (const auto& [text, nul, entries] : rows) {
        std::istringstream in(text);
        EXPECT_EQ(readTargetList(in, nul), entries) << text;
    }
}

}  // namespace
}  // namespace kelmora::cli
