// kelmora-cli with the real ffmpeg on generated clips: the options by the
// images they give, several runs at once, failures with their reasons,
// hostile names, the terminal display and Ctrl+C in the middle of a run.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Process.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempFolder.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

class CliClip : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string ffmpeg = platform::findProgram("ffmpeg", "");
        if (ffmpeg.empty()) GTEST_SKIP() << "ffmpeg is not installed";
        // One second of ten frames.
        const ProgramResult made =
            runProgram(ffmpeg, {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10",
                                "-t", "1", "-pix_fmt", "yuv420p", clip});
        ASSERT_EQ(made.status, 0) << made.err;
    }
    std::string copy(const std::string& name)
    {
        fs::create_directories(fs::path(dir / name).parent_path());
        fs::copy_file(clip, dir / name);
        return dir / name;
    }
    ProgramResult cli(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--no-settings", "-o", out});
        return runProgram(kCli, arguments, cliEnvironment(), dir.path());
    }
    std::vector<std::string> images() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(out)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder dir;
    const std::string clip = dir / "clip.mp4";
    const std::string out = dir / "out";
};

TEST_F(CliClip, OptionsByTheImagesTheyGive)
{
    const std::tuple<std::vector<std::string>, std::size_t, std::string> rows[] = {
        {{}, 10, "clip_00010.jpg"},
        {{"--from", "0", "--frames", "3"}, 3, "clip_00003.jpg"},
        {{"--fps", "2", "--format", "png"}, 2, "clip_00002.png"},
        {{"--size", "32x24", "--format", "bmp"}, 10, "clip_00010.bmp"},
    };
    for (const auto& [options, count, last] : rows) {
        SCOPED_TRACE(last);
        fs::remove_all(out);
        std::vector<std::string> arguments = options;
        arguments.push_back(clip);
        ASSERT_EQ(cli(arguments).status, 0);
        EXPECT_EQ(images().size(), count);
        EXPECT_EQ(images().back(), last);
    }
}

TEST_F(CliClip, SeveralRunsAtOnceFailuresAndHostileNames)
{
    for (const char* name :
         {"v/a/same.mp4", "v/b/same.mp4", "v/c/same.mp4", "v/a b.mp4", "v/50%off.mp4", "v/-x.mp4", "v/\xff.mp4"})
        copy(name);
    const std::string broken = dir.write("v/broken.mp4", "these bytes are no video");
    const ProgramResult result = cli({"-j", "3", "--fps", "1", "--json", "v"});
    EXPECT_EQ(result.status, 1);
    // The failure in the extractor's own words, for people and for programs.
    const std::string why = "Invalid data found when processing input";
    EXPECT_NE(result.err.find("These files could not be cut:\n  " + broken + ": " + why), std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find(R"("reason":"exit_status","message":")" + why + "\""), std::string::npos) << result.out;
    // Three videos of one name at once, each under its own name; every name intact.
    EXPECT_EQ(images(),
              (std::vector<std::string>{"-x_00001.jpg", "50%off_00001.jpg", "a b_00001.jpg", "same (2)_00001.jpg",
                                        "same (3)_00001.jpg", "same_00001.jpg", "\xff_00001.jpg"}));
    // A start past the end: the extractor succeeds and writes nothing.
    const ProgramResult late = cli({"--from", "5", clip});
    EXPECT_EQ(late.status, 1);
    EXPECT_NE(late.err.find("  " + clip + ": no image written"), std::string::npos) << late.err;
}

TEST_F(CliClip, CtrlCLetsTheRunningExtractorCloseItsImages)
{
    // Big PNG images of a minute of video: long enough to be stopped.
    const ProgramResult made =
        runProgram(platform::findProgram("ffmpeg", ""), {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                                                         "testsrc=size=64x48:rate=25", "-t", "60", dir / "long.mp4"});
    ASSERT_EQ(made.status, 0) << made.err;
    PseudoTerminalRun terminal(
        kCli, {"--no-settings", "--format", "png", "--size", "640x480", "-o", out, dir / "long.mp4"}, cliEnvironment());
    ASSERT_TRUE(terminal.waitFor("long.mp4")) << terminal.output();
    // A percentage: the run writes, and its duration has come from ffprobe.
    ASSERT_TRUE(terminal.waitFor("%", terminal.output().find("long.mp4"))) << terminal.output();
    terminal.pressCtrlC();
    EXPECT_EQ(terminal.finish(), 130) << terminal.output();
    EXPECT_NE(terminal.output().find(": stopped\r\n"), std::string::npos) << terminal.output();
    // Every image left is whole (a PNG ends with its IEND chunk), numbered from 1 without a gap.
    // On a loaded machine the first percentage ("0%") can come before the first image is
    // written: then nothing is left, not even the run's empty claim of its name.
    const std::vector<std::string> left = images();
    EXPECT_LT(left.size(), 1500u) << "stopped before its end";
    for (std::size_t n = 1; n <= left.size(); ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "long_%05zu.png", n);
        ASSERT_EQ(left[n - 1], name);
        const std::string png = TempFolder::read(out + "/" + name);
        EXPECT_EQ(png.substr(png.size() - 8), std::string("IEND\xae\x42\x60\x82", 8)) << name;
    }
}

}  // namespace
}  // namespace kelmora::test
