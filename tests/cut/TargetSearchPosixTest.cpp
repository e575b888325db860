// Registering a folder where POSIX links lead to the root.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "cut/TargetSearch.h"

namespace kelmora {
namespace {

TEST(TargetSearch, TheRootRegistersNothing)
{
    // Registering it would walk every file of the system before the window answers again.
    char folder[] = "/tmp/kelmora-root-XXXXXX";
    ASSERT_TRUE(::mkdtemp(folder));
    const std::string dir = folder;
    ASSERT_EQ(::symlink("/", (dir + "/root").c_str()), 0);
    ASSERT_EQ(::symlink("root", (dir + "/hop").c_str()), 0);
    ASSERT_EQ(::symlink(folder, (dir + "/self").c_str()), 0);
    for (const std::string& root :
         {std::string("/"), std::string("//"), std::string("/."), std::string("/tmp/.."), dir + "/root", dir + "/root/",
          dir + "/hop", dir + "/self/root/.", dir + "/root/tmp/.."}) {
        EXPECT_TRUE(findCutTargets(root).empty()) << root;
    }
    // A link to any other folder still stands for what is in it.
    EXPECT_EQ(findCutTargets(dir + "/self").size(), 3u);
    std::filesystem::remove_all(dir);  // removes the links, not what they point to
}

}  // namespace
}  // namespace kelmora
