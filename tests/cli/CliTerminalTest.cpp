// kelmora-cli on a pseudo-terminal: a line per running job, several runs at
// once, and Ctrl+C. The stand-in extractor holds each run of a "held" video
// on a FIFO until the test lets it go, so the test waits for what the
// terminal shows, never for time.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <set>
#include <thread>

#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempFolder.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

class CliTerminal : public ::testing::Test {
protected:
    TempFolder dir;
    const std::string hold = dir / "hold";
    const std::string out = dir / "out";

    void SetUp() override { ASSERT_TRUE(makeFakeExtractorHold(hold)); }
    std::unique_ptr<PseudoTerminalRun> start(std::vector<std::string> arguments, Environment extra = {})
    {
        arguments.insert(arguments.begin(), {"--no-settings", "--ffmpeg", kFakeExtractor, "-o", out});
        extra.insert(extra.end(), {{"KELMORA_FAKE_HOLD", hold}, {"KELMORA_FAKE_HOLD_NAME", "held"}});
        return std::make_unique<PseudoTerminalRun>(kCli, arguments, cliEnvironment(extra));
    }
    // Lets every held run go, each as it comes to the hold, while the program finishes.
    int finishReleasingHolds(PseudoTerminalRun& terminal)
    {
        std::atomic<bool> done{false};
        std::thread releaser([&] {
            while (!done) HeldRun letGo(hold);
        });
        const int status = terminal.finish();
        done = true;
        const int reader = ::open(hold.c_str(), O_RDONLY | O_NONBLOCK);  // ends the releaser's last wait
        releaser.join();
        ::close(reader);
        return status;
    }
};

TEST_F(CliTerminal, EachRunningJobHasALineWithItsNameAndHowFarItIs)
{
    // The stand-in says it is at 0.5 s; its prober says the video lasts 2 s, or does not know.
    const std::pair<Environment, std::string> rows[] = {{{{"KELMORA_FAKE_DURATION", "2.000000"}}, " 25%"},
                                                        {{}, " 3 frames"}};
    for (const auto& [environment, amount] : rows) {
        SCOPED_TRACE(amount);
        fs::remove_all(out);
        auto terminal = start({dir.write("videos/held clip.mp4", "x")}, environment);
        ASSERT_TRUE(terminal->waitFor("held clip.mp4")) << terminal->output();
        ASSERT_TRUE(terminal->waitFor(amount)) << terminal->output();
        EXPECT_EQ(finishReleasingHolds(*terminal), 0) << terminal->output();
        const std::string& shown = terminal->output();
        EXPECT_NE(shown.find("] 0/1 done, 0 failed, "), std::string::npos) << "the bar";
        EXPECT_NE(shown.find("\r\x1b[2A"), std::string::npos) << "the bar and the job's line redrawn in place";
        EXPECT_NE(shown.find("] 1/1 done, 0 failed, "), std::string::npos) << "the bar as the last word";
        EXPECT_EQ(shown.find("[1/1]"), std::string::npos) << "no plain lines on a terminal";
    }
}

TEST_F(CliTerminal, SeveralRunsGoAtOnce)
{
    std::vector<std::string> videos;
    for (const char* name : {"held-a.mp4", "held-b.mp4", "held-c.mp4"})
        videos.push_back(dir.write(std::string("v/") + name));
    videos.insert(videos.begin(), {"-j", "2"});
    auto terminal = start(videos);
    // A job's line shows while its run goes on, and each run is held: both lines mean two runs at once.
    ASSERT_TRUE(terminal->waitFor("held-a.mp4")) << terminal->output();
    ASSERT_TRUE(terminal->waitFor("held-b.mp4")) << terminal->output();
    EXPECT_EQ(finishReleasingHolds(*terminal), 0) << terminal->output();
    for (const char* image : {"held-a_00003.jpg", "held-b_00003.jpg", "held-c_00003.jpg"})
        EXPECT_TRUE(fs::exists(out + "/" + image));
}

TEST_F(CliTerminal, CtrlCStopsTheRunsAndSaysWhatBecameOfEachVideo)
{
    const std::string first = dir.write("v/a-first.mp4"), held = dir.write("v/b-held.mp4"),
                      last = dir.write("v/c-last.mp4");
    // An image of the user's under the held run's name: the run takes another name, and its clean-up leaves it be.
    const std::string mine = dir.write("out/b-held_00004.jpg", "mine");
    auto terminal = start({"-j", "1", first, held, last});
    ASSERT_TRUE(terminal->waitFor("b-held.mp4")) << terminal->output();
    // Its images are written once it says how far it is.
    ASSERT_TRUE(terminal->waitFor(" 3 frames", terminal->output().find("b-held.mp4"))) << terminal->output();
    const std::size_t before = terminal->output().size();
    terminal->pressCtrlC();
    // The stand-in does not end on request as the extractor does: it is killed where it waits.
    EXPECT_EQ(terminal->finish(), 130) << terminal->output();
    const std::string said = terminal->output().substr(before);
    EXPECT_NE(said.find("stopping: the running extractors close their files"), std::string::npos) << said;
    EXPECT_NE(said.find("Stopped: 1 of 3 files cut.\r\nCut:\r\n  " + first + "\r\nNot cut:\r\n  " + held
                        + ": stopped\r\n  " + last + ": not started before the stop\r\n"),
              std::string::npos)
        << said;
    // On disk: the finished run's images, the killed run's but the last it may have been writing.
    std::set<std::string> images;
    for (const auto& entry : fs::directory_iterator(out)) images.insert(entry.path().filename().string());
    EXPECT_EQ(images, (std::set<std::string>{"a-first_00001.jpg", "a-first_00002.jpg", "a-first_00003.jpg",
                                             "b-held (2)_00001.jpg", "b-held (2)_00002.jpg", "b-held_00004.jpg"}));
    EXPECT_EQ(TempFolder::read(mine), "mine");
}

}  // namespace
}  // namespace kelmora::test
