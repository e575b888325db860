// The local file names taken from a dropped text/uri-list.
#include <gtest/gtest.h>

#include "cut/UriList.h"

namespace kelmora {
namespace {

struct UriRow {
    const char* name;
    std::string list;
    std::vector<std::string> paths;
};

class UriListTest : public ::testing::TestWithParam<UriRow> {};

TEST_P(UriListTest, GivesTheLocalPaths) { EXPECT_EQ(parseUriList(GetParam().list), GetParam().paths); }

using V = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Rows, UriListTest,
    ::testing::Values(UriRow{"EmptyHost", "file:///v/a%20b.mp4\r\n", V{"/v/a b.mp4"}},
                      UriRow{"Localhost", "file://LOCALHOST/v/a.mp4", V{"/v/a.mp4"}},
                      UriRow{"NoAuthority", "FILE:/v/a.mp4", V{"/v/a.mp4"}},
                      UriRow{"OtherHostSkipped", "file://otherhost/v/a.mp4\nfile:///v/b.mp4", V{"/v/b.mp4"}},
                      UriRow{"LocalhostPrefixIsAnotherHost", "file://localhost.example/v/a.mp4", V{}},
                      UriRow{"RelativeSkipped", "file:v/sub\n", V{}}, UriRow{"NulSkipped", "file:///v/a%00.mp4", V{}},
                      UriRow{"CommentsBlanksAndOtherSchemes", "# c\n\n  http://x/a.mp4\n file:///v/c.mp4 \n",
                             V{"/v/c.mp4"}},
                      UriRow{"BytesThatAreNotUtf8Kept", "file:///v/%E9t%E9.mp4", V{"/v/\xE9t\xE9.mp4"}},
                      UriRow{"BadEscapeStaysLiteral", "file:///v/50%off%2", V{"/v/50%off%2"}},
                      UriRow{"EncodedSlashAndPercent", "file:///v/a%2Fb%25c", V{"/v/a/b%c"}},
                      UriRow{"QueryAndFragmentDropped", "file:///v/a.mp4?x#y", V{"/v/a.mp4"}},
                      UriRow{"HostWithoutPath", "file://localhost", V{}},
                      UriRow{"OrderKept", "file:///b\nfile:///a", V{"/b", "/a"}}),
    [](const ::testing::TestParamInfo<UriRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kelmora
