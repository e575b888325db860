// The terminal display as text: what the lines say, and that none runs past
// the terminal's width, whatever the file names hold.
#include <gtest/gtest.h>

#include "cli/ExtractorProgress.h"
#include "cli/ProgressView.h"
#include "cli/TerminalText.h"

namespace kelmora::cli {
namespace {

using platform::CodePage;

TEST(TerminalText, HostileNamesCannotSteerTheTerminal)
{
    struct Row {
        const char* name;
        std::string text;
        CodePage cp;
        std::string shown;
        std::size_t width;
    };
    const Row rows[] = {
        {"plain", "clip.mp4", CodePage::Utf8, "clip.mp4", 8},
        {"escape sequence", "a\x1b[2Jb.mp4", CodePage::Utf8, "a?[2Jb.mp4", 10},
        {"line break and tab", "a\nb\tc", CodePage::Utf8, "a?b?c", 5},
        {"C1 control in UTF-8", "a\xc2\x9b" "b", CodePage::Utf8, "a?b", 3},
        {"byte that is no UTF-8", "a\xff\xfe.mp4", CodePage::Utf8, "a??.mp4", 7},
        {"cut-off sequence", "a\xe3\x81", CodePage::Utf8, "a??", 3},
        {"Japanese is two columns each", "動画.mp4", CodePage::Utf8, "動画.mp4", 8},
        {"full-width letters", "\xef\xbc\xa1", CodePage::Utf8, "\xef\xbc\xa1", 2},
        {"CP932 double-byte", "\x93\xae\x89\xe6.avi", CodePage::Cp932, "\x93\xae\x89\xe6.avi", 8},
        {"CP932 half-width kana", "\xb1", CodePage::Cp932, "\xb1", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string shown = printableText(row.text, row.cp);
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(displayWidth(shown, row.cp), row.width);
    }
}

TEST(TerminalText, FittingCutsWholeCharactersAndMarksTheCut)
{
    struct Row {
        const char* name;
        std::string text;
        std::size_t columns;
        std::string fitted;
    };
    const Row rows[] = {
        {"fits", "abc", 3, "abc"},
        {"cut", "abcdef", 5, "ab..."},
        {"a wide character is not split", "動画動画", 6, "動..."},
        {"too narrow for the mark", "abcdef", 2, ".."},
        {"nothing", "abc", 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string fitted = fitToWidth(row.text, row.columns, CodePage::Utf8);
        EXPECT_EQ(fitted, row.fitted);
        EXPECT_LE(displayWidth(fitted, CodePage::Utf8), row.columns);
    }
}

TEST(ProgressView, DurationsReadAsClockTimes)
{
    const std::pair<double, const char*> rows[] = {
        {0, "0:00"}, {7.4, "0:07"}, {59.6, "1:00"}, {754, "12:34"}, {3723, "1:02:03"}, {-3, "0:00"},
    };
    for (const auto& [seconds, text] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(formatDuration(seconds), text);
    }
}

TEST(ProgressView, TheEstimateCountsTheDonePartsOfRunningJobs)
{
    ProgressSnapshot snapshot;
    snapshot.total = 4;
    snapshot.elapsedSeconds = 10;
    EXPECT_EQ(estimateSecondsLeft(snapshot), std::nullopt) << "nothing done yet";
    snapshot.jobs = {{"a.mp4", 0.5, 0}, {"b.mp4", std::nullopt, 40}};
    EXPECT_DOUBLE_EQ(*estimateSecondsLeft(snapshot), 70.0);  // half a run in 10 s, three and a half to go
    snapshot.finished = 4;
    snapshot.jobs.clear();
    EXPECT_DOUBLE_EQ(*estimateSecondsLeft(snapshot), 0.0);
}

TEST(ProgressView, TheBarThenOneLinePerRunningJob)
{
    ProgressSnapshot snapshot;
    snapshot.total = 20;
    snapshot.finished = 5;
    snapshot.failed = 1;
    snapshot.elapsedSeconds = 12;
    snapshot.jobs = {{"first.mp4", 0.42, 10}, {"/no/folder/shown.mp4", std::nullopt, 120}};
    snapshot.jobs[1].name = "second.mp4";
    const std::vector<std::string> lines = renderProgress(snapshot, 100);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "[#######-----------------------] 5/20 done, 1 failed, 0:12 elapsed, 0:32 left")
        << "the bar takes what the counts leave, up to 30 columns";
    EXPECT_EQ(lines[1].find("  first.mp4 "), 0u);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 4), " 42%");
    EXPECT_EQ(lines[2].substr(lines[2].size() - 11), " 120 frames") << "frames when the duration is unknown";
    EXPECT_EQ(lines[1].size(), lines[2].size()) << "the amounts stand in one column";
}

TEST(ProgressView, NoLineRunsPastTheTerminal)
{
    ProgressSnapshot snapshot;
    snapshot.total = 1000;
    snapshot.finished = 999;
    snapshot.elapsedSeconds = 99999;
    snapshot.jobs = {{std::string(300, 'x') + ".mp4", 0.999, 0}, {"動画の名前がとても長いファイル.mp4", 1.0, 0}};
    for (std::size_t columns : {200u, 80u, 40u, 20u, 5u}) {
        SCOPED_TRACE(columns);
        for (const std::string& line : renderProgress(snapshot, columns))
            EXPECT_LE(displayWidth(line, CodePage::Utf8), columns) << line;
    }
}

TEST(ProgressView, ARedrawGoesBackOverTheLinesDrawnBefore)
{
    EXPECT_EQ(redrawSequence(0, {"a", "b"}), "a\x1b[K\nb\x1b[K\n\x1b[J");
    EXPECT_EQ(redrawSequence(3, {"a"}), "\r\x1b[3Aa\x1b[K\n\x1b[J") << "and clears what the shorter display leaves";
    EXPECT_EQ(redrawSequence(2, {}), "\r\x1b[2A\x1b[J");
}

TEST(ExtractorProgress, ReadsBlocksCutAnywhere)
{
    const std::string output =
        "frame=0\nfps=0.00\nout_time_us=N/A\nprogress=continue\n"
        "frame=12\nout_time_us=480000\nout_time=00:00:00.480000\nprogress=continue\n"
        "frame=25\r\nout_time_us=1000000\r\nprogress=end\r\n";
    // Every way of cutting the output in two gives the same reading.
    for (std::size_t cut = 0; cut <= output.size(); ++cut) {
        SCOPED_TRACE(cut);
        ExtractorProgress progress;
        progress.feed(output.substr(0, cut));
        progress.feed(output.substr(cut));
        EXPECT_EQ(progress.frames(), 25);
        EXPECT_EQ(progress.positionUs(), 1000000);
        EXPECT_TRUE(progress.ended());
    }
    ExtractorProgress early;
    early.feed("frame=0\nout_time_us=N/A\nprogress=continue\nframe=3");
    EXPECT_EQ(early.frames(), 0) << "a line counts once it is whole";
    EXPECT_EQ(early.positionUs(), std::nullopt);
    EXPECT_FALSE(early.ended());
}

TEST(ExtractorProgress, TheFractionComesFromTimeOrFramesWhicheverEndsFirst)
{
    ExtractorProgress progress;
    EXPECT_EQ(progress.fraction(10.0, std::nullopt), std::nullopt);
    progress.feed("frame=30\nout_time_us=2500000\nprogress=continue\n");
    struct Row {
        const char* name;
        std::optional<double> seconds;
        std::optional<std::int64_t> frames;
        std::optional<double> fraction;
    };
    const Row rows[] = {
        {"a quarter of the time", 10.0, std::nullopt, 0.25},
        {"the frames are further", 10.0, 60, 0.5},
        {"the time is further", 5.0, 600, 0.5},
        {"frames alone", std::nullopt, 120, 0.25},
        {"never past the end", 1.0, std::nullopt, 1.0},
        {"nothing known", std::nullopt, std::nullopt, std::nullopt},
        {"an unknown duration", 0.0, std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(progress.fraction(row.seconds, row.frames), row.fraction);
    }
}

TEST(ExtractorProgress, TheProbedDuration)
{
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"1.000000\n", 1.0}, {"12.5", 12.5}, {"N/A\n", std::nullopt}, {"", std::nullopt},
        {"0.000000\n", std::nullopt}, {"-1\n", std::nullopt}, {"3.2\n4.5\n", 3.2}, {"1,5\n", std::nullopt},
    };
    for (const auto& [answer, duration] : rows) {
        SCOPED_TRACE(answer);
        EXPECT_EQ(parseProbedDuration(answer), duration);
    }
    EXPECT_EQ(probeDurationArguments("-x.mp4").back(), "./-x.mp4") << "a name is never read as an option";
}

}  // namespace
}  // namespace kelmora::cli
