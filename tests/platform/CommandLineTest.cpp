#include <gtest/gtest.h>

#include "platform/CommandLine.h"

using namespace kelmora::platform;

namespace {

struct QuotingRow {
    const char* why;
    std::string argument;
    std::string text;  // how it stands in the command line
};

const QuotingRow quotingRows[] = {
    {"a plain word stays bare", "-vframes", "-vframes"},
    {"backslashes without a quote stay bare", "C:\\v\\a.avi", "C:\\v\\a.avi"},
    {"a trailing backslash stays bare", "C:\\out\\", "C:\\out\\"},
    {"a blank needs quotes", "C:\\my v\\a.avi", "\"C:\\my v\\a.avi\""},
    {"a tab needs quotes", "a\tb", "\"a\tb\""},
    {"an empty argument is a pair of quotes", "", "\"\""},
    {"a quote is escaped", "say \"hi\"", "\"say \\\"hi\\\"\""},
    {"backslashes before a quote are doubled", "a\\\"b", "\"a\\\\\\\"b\""},
    {"backslashes before the closing quote are doubled", "C:\\my out\\", "\"C:\\my out\\\\\""},
    {"percent and dollar mean nothing here", "50%off $(x).avi", "\"50%off $(x).avi\""},
    {"Shift-JIS bytes pass as they are", "\x95\x5C.avi", "\x95\x5C.avi"},
};

}  // namespace

TEST(CommandLine, QuotesEachArgumentSoTheRuntimeSplitsItBack)
{
    for (const QuotingRow& row : quotingRows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(windowsCommandLine("ffmpeg.exe", {row.argument}), "ffmpeg.exe " + row.text);
    }
    EXPECT_EQ(windowsCommandLine("C:\\Program Files\\k\\ffmpeg.exe", {"-i", "a b", "x"}),
              "\"C:\\Program Files\\k\\ffmpeg.exe\" -i \"a b\" x");
    EXPECT_EQ(windowsCommandLine("ffmpeg.exe", {}), "ffmpeg.exe");
}

TEST(CommandLine, ForThePosixShellOnlyWhatNeedsQuotesIsQuoted)
{
    // The shell's reading of these lines is tested end to end by pasting a dry run into it.
    EXPECT_EQ(posixShellLine("/usr/bin/ffmpeg", {"-vf", "fps=2", "/o/a_%05d.jpg", "it's $x", ""}),
              "/usr/bin/ffmpeg -vf fps=2 /o/a_%05d.jpg 'it'\\''s $x' ''");
    EXPECT_EQ(posixShellLine("a=b", {"c=d"}), "'a=b' c=d") << "the program is never taken for a variable";
}
