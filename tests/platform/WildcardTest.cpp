#include <gtest/gtest.h>

#include "platform/FileFind.h"

using namespace kelmora::platform;

namespace {

struct WildcardRow {
    const char* why;
    const char* pattern;
    const char* name;
    bool matches;
};

const WildcardRow wildcardRows[] = {
    {"*.* matches a name without a dot", "*.*", "noext", true},
    {"*.* matches several dots", "*.*", "a.b.c", true},
    {"*.* matches the folder itself", "*.*", ".", true},
    {"*. matches a name without a dot", "*.", "noext", true},
    {"*. refuses a name with an extension", "*.", "a.avi", false},
    {"an extension", "*.avi", "x.avi", true},
    {"case matters, as on the file system", "*.avi", "x.AVI", false},
    {"only the last extension counts", "*.avi", "x.avi.bak", false},
    {"? is one character", "a?c", "abc", true},
    {"? is never none", "a?c", "ac", false},
    {"? is one whole character", "a?c",
     "a\xE8\xA1\xA8"
     "c",
     true},
    {"stars in order", "*a*b*", "xxaxxbxx", true},
    {"stars out of order", "*a*b", "xxbxxa", false},
    {"x.* matches x alone", "clip.*", "clip", true},
    {"an empty pattern matches nothing", "", "x", false},
};

}  // namespace

TEST(Wildcard, WindowsRules)
{
    for (const WildcardRow& row : wildcardRows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(matchesWildcard(row.pattern, row.name, CodePage::Utf8), row.matches)
            << row.pattern << " against " << row.name;
    }
}
