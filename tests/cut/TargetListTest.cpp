// The sorted target list and the notice of failed runs.
#include <gtest/gtest.h>

#include "cut/CutSession.h"
#include "cut/TargetList.h"

namespace kelmora {
namespace {

TEST(TargetList, KeepsAscendingOrderIgnoringCaseWithEqualEntriesSideBySide)
{
    TargetList list;
    EXPECT_EQ(list.add("/v/b.avi"), 0u);
    EXPECT_EQ(list.add("/v/A.avi"), 0u);
    EXPECT_EQ(list.add("/v/a.avi"), 1u);   // equal to "/v/A.avi" ignoring case: after it
    EXPECT_EQ(list.add("/v/_x.avi"), 3u);  // "_" sorts after the letters once they are upper case
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"/v/A.avi", "/v/a.avi", "/v/b.avi", "/v/_x.avi"}));
}

TEST(TargetList, LongNamesCompareIgnoringCaseAtEveryByte)
{
    // Long shared starts are compared eight bytes at a time: differences
    // before, at and after each eight-byte step must still decide.
    struct Row {
        const char* why;
        std::string a, b;
        bool aFirst, bFirst;
    };
    const Row rows[] = {
        {"case differs in the first step only", "abcdefghX", "ABCDEFGHy", true, false},
        {"equal ignoring case across steps", "/videos/CLIP_b.avi", "/videos/clip_B.avi", false, false},
        {"the last byte of a step", "0123456a/", "0123456B/", true, false},
        {"the first byte of the next step", "01234567a", "01234567B", true, false},
        {"after two whole steps", "0123456789abcdefZ", "0123456789ABCDEFa", false, true},
        {"a shorter name sorts first", "/videos/long/name", "/videos/long/name/", true, false},
        {"\"_\" after letters", "/videos/a.avi", "/videos/_x.avi", true, false},
        {"bytes past ASCII by value", "/videos/z.avi", "/videos/\xE9.avi", true, false},
        {"no folding past ASCII", "/videos/\xC9.avi", "/videos/\xE9.avi", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(lessIgnoringCase(row.a, row.b), row.aFirst);
        EXPECT_EQ(lessIgnoringCase(row.b, row.a), row.bFirst);
    }
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

TEST(TargetList, AnEntryKeepsItsSerialWhileOthersComeAndGo)
{
    TargetList list;
    list.add("/v/b");
    list.addAll({"/v/c", "/v/a", "/v/b"});  // numbered in the order given: c 2, a 3, b 4
    list.add("/v/B");
    ASSERT_EQ(list.entries(), (std::vector<std::string>{"/v/a", "/v/b", "/v/b", "/v/B", "/v/c"}));
    std::vector<TargetList::Serial> serials;
    for (std::size_t i = 0; i < list.size(); ++i) serials.push_back(list.serialAt(i));
    EXPECT_EQ(serials, (std::vector<TargetList::Serial>{3, 1, 4, 5, 2}));
    list.clear();
    list.add("/v/b");
    EXPECT_EQ(list.serialAt(0), 6u);  // never handed out twice
}

}  // namespace
}  // namespace kelmora
