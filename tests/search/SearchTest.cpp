#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "platform/Paths.h"
#include "tests/search/SearchFixture.h"

using namespace kelmora;
using kelmora::test::Search;

TEST_F(Search, RecursiveReportsFoldersLevelByLevel)
{
    search.setRecursive(true);
    search.OnFindDir = [this](TSearchFile&, const std::string& name, const TSearchFileData&, bool&, bool&) {
        events.push_back("dir " + name);
    };
    EXPECT_TRUE(search.Search());
    EXPECT_FALSE(search.Busy());
    // Every folder first, breadth first, then the entries folder by folder.
    ASSERT_EQ(events.size(), 3u + 6u);
    EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 3),
              (std::vector<std::string>{"dir " + A, "dir " + at("S"), "dir " + at("S/T")}));
    EXPECT_EQ(sorted({found.begin(), found.begin() + 3}), (std::vector<std::string>{at("S"), at("a1"), at("a2")}));
    EXPECT_EQ(sorted({found.begin() + 3, found.begin() + 5}), (std::vector<std::string>{at("S/T"), at("S/s1")}));
    EXPECT_EQ(found[5], at("S/T/t1"));

    const auto a2 = std::find(found.begin(), found.end(), at("a2")) - found.begin();
    EXPECT_EQ(foundData[a2].FileName, "a2");
    EXPECT_EQ(foundData[a2].Size, 2);
    EXPECT_FALSE(foundData[a2].IsDirectory);
    const auto sub = std::find(found.begin(), found.end(), at("S")) - found.begin();
    EXPECT_TRUE(foundData[sub].IsDirectory);
}

TEST_F(Search, NotRecursiveAndPatterns)
{
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(sorted(found), (std::vector<std::string>{at("S"), at("a1"), at("a2")}));

    found.clear();
    search.setSearchName("");                                                       // empty is "*.*"
    search.setDirectory(A + platform::separatorChar(platform::nativePathStyle()));  // not doubled
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(sorted(found), (std::vector<std::string>{at("S"), at("a1"), at("a2")}));

    found.clear();
    search.setSearchName("?1");
    search.setRecursive(true);
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(sorted(found), (std::vector<std::string>{at("S/T/t1"), at("S/s1"), at("a1")}));
}

TEST_F(Search, SkipIgnoreSubDirAndContinue)
{
    search.setRecursive(true);
    search.OnFindDir = [this](TSearchFile&, const std::string& name, const TSearchFileData&, bool& Skip,
                              bool& IgnoreSubDir) {
        if (name == at("S")) Skip = true;  // not listed, but its sub-folders are
        if (name == at("S/T")) IgnoreSubDir = true;
    };
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(sorted(found), (std::vector<std::string>{at("S"), at("S/T/t1"), at("a1"), at("a2")}));

    found.clear();
    search.OnFindDir = [this](TSearchFile&, const std::string& name, const TSearchFileData&, bool&,
                              bool& IgnoreSubDir) { IgnoreSubDir = name == A; };
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(sorted(found), (std::vector<std::string>{at("S"), at("a1"), at("a2")}));

    found.clear();
    search.OnFindDir = nullptr;
    stopAt = at("a1");
    search.setSearchName("a1");
    EXPECT_FALSE(search.Search());  // stopped
    EXPECT_EQ(found, (std::vector<std::string>{at("a1")}));
}

TEST_F(Search, RefusalsAndMissingFolders)
{
    TSearchFile idle;
    EXPECT_FALSE(idle.Search());  // no OnFind

    search.setRecursive(true);
    bool nestedResult = true;
    search.OnFind = [&](TSearchFile& sender, const std::string&, const TSearchFileData&, bool&) {
        EXPECT_TRUE(sender.Busy());
        nestedResult = sender.Search();
    };
    EXPECT_TRUE(search.Search());
    EXPECT_FALSE(nestedResult);  // a search cannot start inside itself

    search.OnFind = [](TSearchFile&, const std::string&, const TSearchFileData&, bool&) {
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(search.Search(), std::runtime_error);
    EXPECT_FALSE(search.Busy());

    int calls = 0;
    search.OnFind = [&](TSearchFile&, const std::string&, const TSearchFileData&, bool&) { ++calls; };
    search.setDirectory(dir / "missing");
    EXPECT_TRUE(search.Search());
    search.setRecursive(false);
    EXPECT_TRUE(search.Search());
    EXPECT_EQ(calls, 0);
}

TEST_F(Search, WalkerOnItsOwn)
{
    TSearchDir walker;
    EXPECT_FALSE(walker.Search());  // no OnFind
    std::vector<std::string> dirs;
    TSearchFileData base;
    walker.OnFind = [&](TSearchDir&, const std::string& name, const TSearchFileData& data, bool&, bool& Continue) {
        if (dirs.empty()) base = data;
        dirs.push_back(name);
        Continue = dirs.size() < 2;
    };
    walker.setBaseDir(dir / "nowhere");
    EXPECT_FALSE(walker.Search());  // a missing base does not start
    walker.setBaseDir(at("./S/.."));
    EXPECT_FALSE(walker.Search());  // stopped at the second folder
    EXPECT_EQ(dirs, (std::vector<std::string>{A, at("S")}));
    EXPECT_EQ(base.FileName, "A");
    EXPECT_TRUE(base.IsDirectory);
}
