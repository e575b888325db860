// The terminal display as text, and what it reads from the extractor: hostile
// file names cannot steer the terminal, no line runs past its width, and the
// progress output is read whole however it is cut.
#include <gtest/gtest.h>

#include "cli/ExtractorProgress.h"
#include "cli/ProgressView.h"
#include "cli/TerminalText.h"
#include "platform/Paths.h"

namespace kelmora::cli {
namespace {

using platform::CodePage;

TEST(TerminalText, NamesAreShownSafelyAndMeasuredInColumns)
{
    const std::tuple<const char*, std::string, CodePage, std::string, std::size_t> rows[] = {
        {"escape sequence", "a\x1b[2Jb", CodePage::Utf8, "a\\x1b[2Jb", 9},
        {"line break, tab, C1 control", "a\nb\t\xc2\x9b", CodePage::Utf8, "a\\nb\\t\\xc2\\x9b", 14},
        {"bytes that are no UTF-8", "a\xff\xe3\x81", CodePage::Utf8, "a\\xff\\xe3\\x81", 13},
        {"CP932 control byte", "\x93\xae\x07", CodePage::Cp932, "\x93\xae\\x07", 6},
        {"Japanese is two columns a character", "動画.mp4", CodePage::Utf8, "動画.mp4", 8},
        {"CP932 double-byte and half-width", "\x93\xae\xb1", CodePage::Cp932, "\x93\xae\xb1", 3},
    };
    for (const auto& [name, text, cp, shown, width] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(printableText(text, cp), shown);
        EXPECT_EQ(displayWidth(shown, cp), width);
    }
    EXPECT_EQ(fitToWidth("動画動画", 6, CodePage::Utf8), "動...") << "a wide character is never split";
    EXPECT_EQ(printableLines("cannot read\n  a\x1b[2J\n", CodePage::Utf8), "cannot read\n  a\\x1b[2J\n")
        << "a message keeps its lines";
}

TEST(ProgressView, TheBarThenOneLinePerRunningJobNeverPastTheWidth)
{
    ProgressSnapshot snapshot{20, 5, 1, 12, {{"first.mp4", 0.42, 10}, {"second.mp4", std::nullopt, 120}}};
    const std::vector<std::string> lines = renderProgress(snapshot, 100);
    ASSERT_EQ(lines.size(), 3u);
    // 5.42 runs in 12 s: 14.58 to go take 32 s more.
    EXPECT_EQ(lines[0], "[#######-----------------------] 5/20 done, 1 failed, 0:12 elapsed, 0:32 left");
    EXPECT_EQ(lines[1].substr(0, 12), "  first.mp4 ");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 4), " 42%");
    EXPECT_EQ(lines[2].substr(lines[2].size() - 11), " 120 frames") << "frames while the duration is unknown";
    EXPECT_EQ(lines[1].size(), lines[2].size()) << "the amounts stand in one column";

    snapshot = {
        1000, 999, 0, 99999, {{std::string(300, 'x'), 0.999, 0}, {"動画の名前がとても長いファイル.mp4", 1.0, 0}}};
    for (std::size_t columns : {200u, 40u, 5u})
        for (const std::string& line : renderProgress(snapshot, columns))
            EXPECT_LE(displayWidth(line, CodePage::Utf8), columns) << line;
    EXPECT_EQ(redrawSequence(3, {"a"}), "\r\x1b[3Aa\x1b[K\n\x1b[J") << "up over the old lines, clearing what is left";
}

TEST(ExtractorProgress, BlocksCutAnywhereReadTheSame)
{
    const std::string output =
        "frame=0\nout_time_us=N/A\nprogress=continue\n"
        "frame=12\nout_time_us=480000\nprogress=continue\n"
        "frame=25\r\nout_time_us=1000000\r\nprogress=end\r\n";
    for (std::size_t cut = 0; cut <= output.size(); ++cut) {
        ExtractorProgress progress;
        progress.feed(output.substr(0, cut));
        if (cut == 0) {
            EXPECT_EQ(progress.fraction(4.0, std::nullopt), std::nullopt) << "nothing said yet";
        }
        progress.feed(output.substr(cut));
        EXPECT_EQ(progress.frames(), 25) << cut;
        EXPECT_EQ(progress.positionUs(), 1000000) << cut;
        EXPECT_TRUE(progress.ended()) << cut;
    }
}

TEST(ExtractorProgress, OutputWithoutLineBreaksIsNeverKept)
{
    const std::string flood(1 << 20, 'x');
    const std::tuple<const char*, std::vector<std::string>, std::int64_t> rows[] = {
        {"a flood, then lines", {flood, flood, "\nframe=7\n"}, 7},
        {"a flood after a line's start", {"frame=", flood, "9\nframe=8\n"}, 8},
    };
    for (const auto& [name, pieces, frames] : rows) {
        SCOPED_TRACE(name);
        ExtractorProgress progress;
        for (const std::string& piece : pieces) {
            progress.feed(piece);
            EXPECT_LE(progress.heldBytes(), ExtractorProgress::kMaxLineBytes);
        }
        EXPECT_EQ(progress.frames(), frames) << "the lines after the flood are read";
    }
    ProbeAnswer answer, endless;
    for (const std::string& piece : {std::string("12.5"), "00\n" + flood, flood})
        answer.feed(piece), endless.feed(flood);
    EXPECT_LE(std::max(answer.heldBytes(), endless.heldBytes()), ProbeAnswer::kMaxBytes);
    EXPECT_EQ(answer.duration(), 12.5) << "the first line alone";
    EXPECT_EQ(endless.duration(), std::nullopt);
}

TEST(ExtractorProgress, TheFractionComesFromTimeOrFramesWhicheverEndsFirst)
{
    ExtractorProgress progress;
    progress.feed("frame=30\nout_time_us=2500000\nprogress=continue\n");
    const std::tuple<const char*, std::optional<double>, std::optional<std::int64_t>, std::optional<double>> rows[] = {
        {"a quarter of the time", 10.0, std::nullopt, 0.25},
        {"the frames are further", 10.0, 60, 0.5},
        {"frames alone", std::nullopt, 120, 0.25},
        {"never past the end", 1.0, std::nullopt, 1.0},
        {"an unknown duration", 0.0, std::nullopt, std::nullopt},
    };
    for (const auto& [name, seconds, frames, fraction] : rows)
        EXPECT_EQ(progress.fraction(seconds, frames), fraction) << name;
    for (const auto& [answer, duration] :
         std::initializer_list<std::pair<const char*, std::optional<double>>>{{"1.000000\n", 1.0},
                                                                              {"N/A\n", std::nullopt},
                                                                              {"", std::nullopt},
                                                                              {"0.000\n", std::nullopt},
                                                                              {"1,5\n", std::nullopt}})
        EXPECT_EQ(parseProbedDuration(answer), duration) << answer;
    const char separator = platform::separatorChar(platform::nativePathStyle());
    EXPECT_EQ(probeDurationArguments("-x.mp4").back(), std::string(".") + separator + "-x.mp4")
        << "a name is never read as an option";
}

}  // namespace
}  // namespace kelmora::cli
