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
    const QuotingRow rows[] = {
        {"a path and an option stay bare", "/out/a_%05d.jpg", "/out/a_%05d.jpg"},
        {"a filter stays bare", "fps=2", "fps=2"},
        {"a blank, dollar and backquote are quoted", "$HOME `id`.mp4", "'$HOME `id`.mp4'"},
        {"a single quote ends the quotes, comes escaped and opens them again", "it's", "'it'\\''s'"},
        {"an empty argument is a pair of quotes", "", "''"},
        {"a line break and other bytes stay inside the quotes", "a\nb\xff", "'a\nb\xff'"},
        {"a tilde or a glob is quoted", "~a*", "'~a*'"},
    };
    for (const QuotingRow& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(posixShellLine("/usr/bin/ffmpeg", {row.argument}), "/usr/bin/ffmpeg " + row.text);
    }
    EXPECT_EQ(posixShellLine("/opt/a=b/ff mpeg", {}), "'/opt/a=b/ff mpeg'");
    EXPECT_EQ(posixShellLine("a=b", {"c=d"}), "'a=b' c=d") << "the program is never taken for a variable";
}
