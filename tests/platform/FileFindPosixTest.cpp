#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileFind.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

namespace {

std::set<std::string> namesFound(const std::string& pattern)
{
    std::set<std::string> names;
    FileFind find;
    for (bool more = find.first(pattern); more; more = find.next()) names.insert(find.data().name);
    return names;
}

}  // namespace

TEST(FileFindPosix, ListsAFolderByPattern)
{
    TempFolder dir;
    dir.write("a.avi", "12345");
    dir.write("b.mp4");
    dir.write("noext");
    dir.write(".hidden");
    dir.write("sub/inner.avi");
    EXPECT_EQ(namesFound(dir / "*.avi"), (std::set<std::string>{"a.avi"}));
    EXPECT_EQ(namesFound(dir / "*."), (std::set<std::string>{"noext", "sub"}));
    EXPECT_EQ(namesFound(dir / "*.*"),
              (std::set<std::string>{".", "..", "a.avi", "b.mp4", "noext", ".hidden", "sub"}));
    EXPECT_TRUE(namesFound(dir / "*.mkv").empty());
    EXPECT_TRUE(namesFound(dir / "missing/*.*").empty());

    FileFind find;
    ASSERT_TRUE(find.first(dir / "a.avi"));  // a plain name finds that entry
    EXPECT_EQ(find.data().size, 5u);
    EXPECT_FALSE(find.data().attributes & faDirectory);
    EXPECT_FALSE(find.data().attributes & faHidden);
    EXPECT_TRUE(find.data().writeTime.valid);
    EXPECT_FALSE(find.next());

    ASSERT_TRUE(find.first(dir / ".hidden"));
    EXPECT_TRUE(find.data().attributes & faHidden);
    EXPECT_FALSE(find.first(dir / "missing"));
}

TEST(FileFindPosix, TrailingSeparatorFindsTheFolderItself)
{
    TempFolder dir;
    dir.write("sub/x");
    FileFind find;
    ASSERT_TRUE(find.first(dir / "sub/"));
    EXPECT_EQ(find.data().name, "sub");
    EXPECT_TRUE(find.data().attributes & faDirectory);
    EXPECT_FALSE(find.first(dir / "sub/x/"));  // a file is not a folder
    ASSERT_TRUE(find.first("/"));
    EXPECT_EQ(find.data().name, "/");
}

TEST(FileFindPosix, LinksAndPermissions)
{
    TempFolder dir;
    dir.write("target/x");
    const std::string file = dir.write("ro.txt", "x");
    ::chmod(file.c_str(), 0444);
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str()), 0);

    FileFindData data;
    ASSERT_TRUE(lookUpEntry(dir / "link", data));
    EXPECT_TRUE(data.isSymbolicLink);
    EXPECT_TRUE(data.attributes & faDirectory);  // described by its target
    ASSERT_TRUE(lookUpEntry(dir / "dangling", data));
    EXPECT_TRUE(data.isSymbolicLink);
    EXPECT_FALSE(data.attributes & faDirectory);
    ASSERT_TRUE(lookUpEntry(file, data));
    EXPECT_TRUE(data.attributes & faReadOnly);
    ASSERT_TRUE(lookUpEntry(dir / "target", data));
    EXPECT_FALSE(data.attributes & faReadOnly);
}
