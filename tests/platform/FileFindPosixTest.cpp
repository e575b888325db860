#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileFind_posix.h"
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
    EXPECT_EQ(namesFound(dir / "*.*"), (std::set<std::string>{".", "..", "a.avi", "b.mp4", "noext", ".hidden", "sub"}));
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

TEST(FileFindPosix, ListedEntriesAreExaminedOnlyWhenTheListingCannotTell)
{
    TempFolder dir;
    dir.write("file", "12345");
    dir.write(".hidden");
    dir.write("folder/x");
    ASSERT_EQ(::symlink((dir / "folder").c_str(), (dir / "folder-link").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "file").c_str(), (dir / "file-link").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str()), 0);
    constexpr auto kind = EntryFacts::NameAndKind;
    constexpr auto full = EntryFacts::Full;
    struct Row {
        const char* why;
        const char* name;
        unsigned char listedType;
        EntryFacts facts;
        bool described;
        bool directory;
        bool link;
        bool hidden;
        std::uint64_t size;  // what is only known by examining the entry
    };
    const Row rows[] = {
        {"a typed file is taken from the listing", "file", DT_REG, kind, true, false, false, false, 0},
        {"a typed folder is taken from the listing", "folder", DT_DIR, kind, true, true, false, false, 0},
        {"the name alone hides", ".hidden", DT_REG, kind, true, false, false, true, 0},
        {"an untyped file is examined", "file", DT_UNKNOWN, kind, true, false, false, false, 0},
        {"an untyped folder is examined", "folder", DT_UNKNOWN, kind, true, true, false, false, 0},
        {"a link to a folder counts as a folder", "folder-link", DT_LNK, kind, true, true, true, false, 0},
        {"an untyped link to a folder too", "folder-link", DT_UNKNOWN, kind, true, true, true, false, 0},
        {"a link to a file", "file-link", DT_LNK, kind, true, false, true, false, 0},
        {"a dangling link", "dangling", DT_LNK, kind, true, false, true, false, 0},
        // A name that went away after the listing: only an examination notices.
        {"a typed name is not examined", "gone", DT_REG, kind, true, false, false, false, 0},
        {"an untyped name is", "gone", DT_UNKNOWN, kind, false, false, false, false, 0},
        {"the full record examines every entry", "gone", DT_REG, full, false, false, false, false, 0},
        {"the full record of a file", "file", DT_REG, full, true, false, false, false, 5},
        {"the full record of a link describes its target", "file-link", DT_LNK, full, true, false, true, false, 5},
    };
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        FileFindData data;
        data.size = 99;  // what an earlier entry left behind
        data.writeTime.valid = true;
        ASSERT_EQ(describeListedEntry(folder, row.name, row.listedType, row.facts, data), row.described);
        if (!row.described) continue;
        EXPECT_EQ(data.name, row.name);
        EXPECT_EQ(bool(data.attributes & faDirectory), row.directory);
        EXPECT_EQ(data.isSymbolicLink, row.link);
        EXPECT_EQ(bool(data.attributes & faHidden), row.hidden);
        EXPECT_EQ(data.size, row.size);
        EXPECT_EQ(data.writeTime.valid, row.facts == full);
    }
    ::close(folder);
}

TEST(FileFindPosix, AListingOfNamesAndKindsFindsWhatTheFullOneFinds)
{
    TempFolder dir;
    dir.write("a.avi", "12345");
    dir.write("sub/inner.avi");
    ASSERT_EQ(::symlink((dir / "sub").c_str(), (dir / "sub-link").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    const auto listing = [&](EntryFacts facts, bool foldersOnly) {
        std::set<std::pair<std::string, bool>> entries;  // name, is a folder
        FileFind find;
        for (bool more = foldersOnly ? find.firstFolder(dir / "*.*", facts) : find.first(dir / "*.*", facts); more;
             more = find.next())
            entries.insert({find.data().name, (find.data().attributes & faDirectory) != 0});
        return entries;
    };
    for (const bool foldersOnly : {false, true}) {
        SCOPED_TRACE(foldersOnly ? "folders only" : "every entry");
        const auto named = listing(EntryFacts::NameAndKind, foldersOnly);
        EXPECT_EQ(named, listing(EntryFacts::Full, foldersOnly));
        EXPECT_EQ(named.count({"sub-link", true}), 1u);
        EXPECT_EQ(named.size(), foldersOnly ? 4u : 6u);  // ".", "..", sub, sub-link (a.avi, pipe)
    }
}
