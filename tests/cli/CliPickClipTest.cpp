// kelmora-cli picking frames and naming images by time, with the real ffmpeg
// on generated clips whose answers are known.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "platform/Process.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempFolder.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

class CliPickClip : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_ffmpeg = platform::findProgram("ffmpeg", "");
        if (m_ffmpeg.empty()) GTEST_SKIP() << "ffmpeg is not installed";
    }
    // A clip made by ffmpeg from these arguments (after "-nostdin -loglevel error").
    std::string make(const std::string& name, std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"-nostdin", "-loglevel", "error"});
        arguments.push_back(dir / name);
        const ProgramResult made = runProgram(m_ffmpeg, arguments);
        EXPECT_EQ(made.status, 0) << made.err;
        return dir / name;
    }
    // Four 2 s pictures, each unlike the others, a key frame every second.
    std::string cuts()
    {
        const std::string size = "s=160x120:r=25:d=2";
        return make("cuts.mp4", {"-f",
                                 "lavfi",
                                 "-i",
                                 "testsrc2=" + size,
                                 "-f",
                                 "lavfi",
                                 "-i",
                                 "smptebars=" + size,
                                 "-f",
                                 "lavfi",
                                 "-i",
                                 "rgbtestsrc=" + size,
                                 "-f",
                                 "lavfi",
                                 "-i",
                                 "color=c=red:" + size,
                                 "-filter_complex",
                                 "[0][1][2][3]concat=n=4:v=1,format=yuv420p",
                                 "-c:v",
                                 "libx264",
                                 "-g",
                                 "25",
                                 "-keyint_min",
                                 "25",
                                 "-sc_threshold",
                                 "0",
                                 "-bf",
                                 "0"});
    }
    ProgramResult cli(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--no-settings", "-q", "-o", out});
        return runProgram(kCli, arguments, cliEnvironment(), dir.path());
    }
    std::vector<std::string> images() const
    {
        std::vector<std::string> names;
        if (!fs::exists(out)) return names;
        for (const auto& entry : fs::directory_iterator(out)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string m_ffmpeg;
    TempFolder dir;
    const std::string out = dir / "out";
};

TEST_F(CliPickClip, EachModeGivesTheKnownFrames)
{
    const std::string clip = cuts();
    const std::pair<std::vector<std::string>, std::vector<std::string>> rows[] = {
        {{"--scenes"}, {"cuts_00001.jpg", "cuts_00002.jpg", "cuts_00003.jpg", "cuts_00004.jpg"}},
        {{"--scenes", "--names", "time"},
         {"cuts_00-00-00.000.jpg", "cuts_00-00-02.000.jpg", "cuts_00-00-04.000.jpg", "cuts_00-00-06.000.jpg"}},
        // No cut above 0.99: the first frame still.
        {{"--scenes=0.99", "--names", "time"}, {"cuts_00-00-00.000.jpg"}},
        {{"--keyframes", "--names", "time"},
         {"cuts_00-00-00.000.jpg", "cuts_00-00-01.000.jpg", "cuts_00-00-02.000.jpg", "cuts_00-00-03.000.jpg",
          "cuts_00-00-04.000.jpg", "cuts_00-00-05.000.jpg", "cuts_00-00-06.000.jpg", "cuts_00-00-07.000.jpg"}},
        // A seek for each: the numbers run on.
        {{"--every", "3s"}, {"cuts_00001.jpg", "cuts_00002.jpg", "cuts_00003.jpg"}},
        {{"--every", "2s", "--from", "3", "--frames", "2", "--names", "time"},
         {"cuts_00-00-03.000.jpg", "cuts_00-00-05.000.jpg"}},
    };
    for (const auto& [options, expected] : rows) {
        SCOPED_TRACE(options.front() + " " + std::to_string(options.size()));
        fs::remove_all(out);
        std::vector<std::string> arguments = options;
        arguments.push_back(clip);
        const ProgramResult result = cli(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(images(), expected);
    }
}

TEST_F(CliPickClip, NoRepeatsLeavesNoRunOfStillImagesAndSaysWhen)
{
    // 2 s moving, 4 s still, 2 s moving.
    const std::string size = "s=160x120:r=25:d=2";
    const std::string clip =
        make("still.mp4", {"-f", "lavfi", "-i", "testsrc=" + size, "-f", "lavfi", "-i",
                           "color=c=blue:s=160x120:r=25:d=4", "-f", "lavfi", "-i", "testsrc=" + size, "-filter_complex",
                           "[0][1][2]concat=n=3:v=1,format=yuv420p", "-c:v", "libx264"});
    const ProgramResult result =
        cli({"--fps", "1", "--no-repeats", "--names", "time", "--json", "--json-images", clip});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(images(),
              (std::vector<std::string>{"still_00-00-00.000.jpg", "still_00-00-01.000.jpg", "still_00-00-02.000.jpg",
                                        "still_00-00-06.000.jpg", "still_00-00-07.000.jpg"}));
    const std::vector<std::string> lines = linesOf(result.out);
    ASSERT_EQ(lines.size(), 7u) << result.out;
    EXPECT_EQ(lines[3], R"({"type":"image","number":1,"target":")" + clip + R"(","file":")" + out
                            + R"(/still_00-00-06.000.jpg","time":6.000})");
    EXPECT_NE(lines[5].find(R"("images":5,)"), std::string::npos) << lines[5];
    // Eight seconds at one a second: three still ones were left out.
    EXPECT_NE(lines[5].find(R"("note":null,"repeats":3,)"), std::string::npos) << lines[5];
}

TEST_F(CliPickClip, TimeNamesAreTheFramesOwnTimestampsInAVariableRateVideo)
{
    // Ten frames ever further apart: 0, 0.013, 0.052, 0.116, ... seconds.
    const std::string clip =
        make("vfr.mkv", {"-f", "lavfi", "-i", "testsrc=s=160x120:r=10:d=1", "-vf", "settb=1/1000,setpts='N*N*0.013/TB'",
                         "-fps_mode", "vfr", "-enc_time_base", "1/1000", "-bf", "0", "-pix_fmt", "yuv420p"});
    const ProgramResult probed = runProgram(
        platform::findProgram("ffprobe", ""),
        {"-v", "error", "-select_streams", "v:0", "-show_entries", "frame=pts_time", "-of", "default=nw=1:nk=1", clip});
    ASSERT_EQ(probed.status, 0) << probed.err;
    std::vector<std::string> expected;
    for (const std::string& line : linesOf(probed.out)) {
        const long long ms = std::llround(std::stod(line) * 1000);
        char name[64];
        std::snprintf(name, sizeof name, "vfr_00-00-%02lld.%03lld.jpg", ms / 1000, ms % 1000);
        expected.push_back(name);
    }
    ASSERT_EQ(expected.size(), 10u);
    ASSERT_EQ(cli({"--names", "time", clip}).status, 0);
    EXPECT_EQ(images(), expected);
    // A second cut of the same video takes the next name, as numbered images do.
    ASSERT_EQ(cli({"--names", "time", "--from", "0", "--frames", "1", clip}).status, 0);
    EXPECT_EQ(images().front(), "vfr (2)_00-00-00.000.jpg");
}

}  // namespace
}  // namespace kelmora::test

namespace kelmora::test {
namespace {

TEST_F(CliPickClip, EveryDSecondsBySeekingGivesTheFiltersFrames)
{
    const std::string clip = cuts();
    // Seeking needs the duration; without a prober the whole video goes through the fps filter.
    const ProgramResult seeking = cli({"--every", "3s", "--format", "png", "--dry-run", clip});
    EXPECT_NE(seeking.out.find("-ss 3 -i"), std::string::npos) << seeking.out;
    ASSERT_EQ(cli({"--every", "3s", "--format", "png", clip}).status, 0);
    fs::create_directories(dir / "alone");
    fs::create_symlink(m_ffmpeg, dir / "alone/ffmpeg");
    const auto alone = [&](const std::string& more) {
        std::vector<std::string> arguments{
            "--no-settings", "-q",  "-o", dir / "filtered", "--ffmpeg", dir / "alone/ffmpeg", "--every", "3s",
            "--format",      "png", clip};
        if (!more.empty()) arguments.insert(arguments.begin(), more);
        return runProgram(kCli, arguments, cliEnvironment({{"PATH", dir / "alone"}}), dir.path());
    };
    EXPECT_NE(alone("--dry-run").out.find("-vf fps=1/3:round=up"), std::string::npos);
    const ProgramResult filtered = alone("");
    ASSERT_EQ(filtered.status, 0) << filtered.err;
    ASSERT_EQ(images().size(), 3u);
    for (const std::string& name : images()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(TempFolder::read(out + "/" + name), TempFolder::read(dir / ("filtered/" + name)));
    }
}

}  // namespace
}  // namespace kelmora::test
