// The folder walk on what only POSIX file systems hold: links, FIFOs, paths
// past PATH_MAX, modes and the TZ variable.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/search/SearchFixture.h"

using namespace kelmora;
using kelmora::test::Search;
using kelmora::test::TempFolder;

TEST_F(Search, LinkToAFolderIsReportedButNotEntered)
{
    ASSERT_EQ(::symlink(A.c_str(), (A + "/S/loop").c_str()), 0);  // A/S/loop -> A
    search.setRecursive(true);
    std::vector<std::string> dirs;
    search.OnFindDir = [&](TSearchFile&, const std::string& name, const TSearchFileData&, bool&, bool&) {
        dirs.push_back(name);
    };
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(dirs, (std::vector<std::string>{A, A + "/S", A + "/S/T"}));
    EXPECT_EQ(std::count(found.begin(), found.end(), A + "/S/loop"), 1);
    EXPECT_EQ(found.size(), 7u);
}

class WalkByFacts : public Search, public ::testing::WithParamInterface<platform::EntryFacts> {};

TEST_P(WalkByFacts, ReportsTheSameEntriesAndKindsWhateverTheHandlerReads)
{
    ASSERT_EQ(::symlink(A.c_str(), (A + "/S/loop").c_str()), 0);  // a link loop, never entered
    ASSERT_EQ(::symlink((A + "/a2").c_str(), (A + "/file-link").c_str()), 0);
    ASSERT_EQ(::symlink((A + "/nowhere").c_str(), (A + "/dangling").c_str()), 0);
    ASSERT_EQ(::mkfifo((A + "/pipe").c_str(), 0644), 0);
    dir.write("A/.hidden");
    const bool full = GetParam() == platform::EntryFacts::Full;
    search.setRecursive(true);
    search.setEntryFacts(GetParam());
    std::vector<std::string> dirs;
    search.OnFindDir = [&](TSearchFile&, const std::string& name, const TSearchFileData& data, bool&, bool&) {
        EXPECT_TRUE(data.IsDirectory) << name;
        dirs.push_back(name);
    };
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(dirs, (std::vector<std::string>{A, A + "/S", A + "/S/T"}));

    std::map<std::string, bool> folders;  // every entry once, and whether it is a folder
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_TRUE(folders.emplace(found[i], foundData[i].IsDirectory).second) << found[i];
        EXPECT_EQ(foundData[i].IsHidden, found[i] == A + "/.hidden") << found[i];
    }
    EXPECT_EQ(folders, (std::map<std::string, bool>{{A + "/.hidden", false},
                                                    {A + "/S", true},
                                                    {A + "/S/T", true},
                                                    {A + "/S/T/t1", false},
                                                    {A + "/S/loop", true},
                                                    {A + "/S/s1", false},
                                                    {A + "/a1", false},
                                                    {A + "/a2", false},
                                                    {A + "/dangling", false},
                                                    {A + "/file-link", false},
                                                    {A + "/pipe", false}}));
    // Size and times come only with the full record.
    const auto a2 = std::find(found.begin(), found.end(), A + "/a2") - found.begin();
    EXPECT_EQ(foundData[a2].Size, full ? 2 : 0);
    EXPECT_EQ(foundData[a2].HasWriteTime, full);
}

INSTANTIATE_TEST_SUITE_P(Facts, WalkByFacts,
                         ::testing::Values(platform::EntryFacts::NameAndKind, platform::EntryFacts::Full),
                         [](const auto& info) {
                             return info.param == platform::EntryFacts::Full ? "Full" : "NameAndKind";
                         });

TEST(FolderWalk, DeepTreesOfLongNamesAreListedWhole)
{
    // Paths below the tenth level run past PATH_MAX; each level holds a folder and a file.
    constexpr int depth = 24;
    const std::string name(200, 'd');
    TempFolder dir;
    std::vector<int> levels{::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    std::string deepest = dir.path();
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(::mkdirat(levels.back(), name.c_str(), 0755), 0);
        levels.push_back(::openat(levels.back(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        ASSERT_GE(levels.back(), 0);
        ::close(::openat(levels.back(), "f", O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
        deepest += "/" + name;
    }
    ASSERT_GT(deepest.size(), std::size_t(PATH_MAX));

    TSearchFile search;
    search.setDirectory(dir.path());
    search.setRecursive(true);
    std::vector<std::string> found;
    search.OnFind = [&](TSearchFile&, const std::string& Name, const TSearchFileData&, bool&) {
        found.push_back(Name);
    };
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(found.size(), 2u * depth);
    EXPECT_EQ(std::count(found.begin(), found.end(), deepest + "/f"), 1);
    platform::FileFindData data;
    EXPECT_TRUE(platform::lookUpEntry(deepest + "/f", data));
    EXPECT_TRUE(platform::lookUpEntry(deepest + "/", data));

    // std::filesystem cannot remove what lies past PATH_MAX: take the chain down from below.
    for (int i = depth; i > 0; --i) {
        EXPECT_EQ(::unlinkat(levels[i], "f", 0), 0);
        ::close(levels[i]);
        EXPECT_EQ(::unlinkat(levels[i - 1], name.c_str(), AT_REMOVEDIR), 0);
    }
    ::close(levels[0]);
}

TEST(SearchFileData, TimesAndAttributes)
{
    TempFolder dir;
    const std::string file = dir.write(".hidden", "abc");
    ::chmod(file.c_str(), 0444);
    platform::FileFindData found;
    ASSERT_TRUE(platform::lookUpEntry(file, found));
    const TSearchFileData data = toSearchFileData(found);
    EXPECT_TRUE(data.IsHidden);
    EXPECT_TRUE(data.IsReadOnly);
    EXPECT_EQ(data.ShortName, ".hidden");
    EXPECT_FALSE(data.IsVolume);
    EXPECT_TRUE(data.HasWriteTime);
    const double now = 25569.0 + double(std::time(nullptr)) / 86400.0;  // roughly, in UTC
    EXPECT_NEAR(data.WriteTime, now, 1.0);

    TDateTime t = 0;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ASSERT_TRUE(toLocalDateTime(946684799, t));  // 1999-12-31 23:59:59 -> :58 at 2-second steps
    EXPECT_DOUBLE_EQ(t, 36525.0 + (86400.0 - 2.0) / 86400.0);
    ASSERT_TRUE(toLocalDateTime(315532800, t));  // 1980-01-01, the first day that can be packed
    EXPECT_DOUBLE_EQ(t, 29221.0);
    EXPECT_FALSE(toLocalDateTime(315532799, t));
    EXPECT_FALSE(toLocalDateTime(4354819200, t));  // 2108-01-01
    ::unsetenv("TZ");
    ::tzset();
}
