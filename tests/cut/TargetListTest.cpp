// The sorted target list and the notice of failed runs.
#include <gtest/gtest.h>

#include "cut/CutBatch.h"
#include "cut/TargetList.h"
#include "cut/TargetSearch.h"

namespace kelmora {
namespace {

TEST(TargetList, KeepsAscendingOrderIgnoringCaseWithEqualEntriesSideBySide)
{
    TargetList list;
    EXPECT_EQ(list.add("/v/b.avi"), 0u);
    EXPECT_EQ(list.add("/v/A.avi"), 0u);
    EXPECT_EQ(list.add("/v/a.avi"), 1u);  // equal to "/v/A.avi" ignoring case: after it
    EXPECT_EQ(list.add("/v/_x.avi"), 3u);  // "_" sorts after the letters once they are upper case
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"/v/A.avi", "/v/a.avi", "/v/b.avi", "/v/_x.avi"}));
}

TEST(TargetList, ABulkAddGivesTheSameOrderAsSingleAdds)
{
    const std::vector<std::string> first{"C", "a", "\xE9t\xE9", "b", "B"};
    const std::vector<std::string> second{"A", "c", "b", "", "z"};
    TargetList one, bulk;
    for (const auto& e : first) one.add(e);
    for (const auto& e : second) one.add(e);
    bulk.addAll(first);
    bulk.addAll(second);
    EXPECT_EQ(bulk.entries(), one.entries());
}

TEST(TargetSearch, TheRootRegistersNothing)
{
    // Registering it would walk every file of the system before the window answers again.
    for (const char* root : {"/", "//", "/.", "/tmp/.."}) EXPECT_TRUE(findCutTargets(root).empty()) << root;
}

TEST(FailedRunsNotice, ListsTenEntriesAndCountsTheRest)
{
    EXPECT_EQ(failedRunsNotice({"a"}), "次のファイルを変換できませんでした。\na");
    std::vector<std::string> many;
    for (int i = 0; i < 12; ++i) many.push_back("f" + std::to_string(i));
    const std::string text = failedRunsNotice(many);
    EXPECT_NE(text.find("\nf9\nほか 2 件"), std::string::npos);
    EXPECT_EQ(text.find("f10"), std::string::npos);
}

}  // namespace
}  // namespace kelmora
