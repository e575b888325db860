// kelmora-cli and the window, given the same settings file and the same
// videos: the extractor gets the same arguments from both, and the CLI's dry
// run prints the window's command lines.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "cut/CutCommand.h"
#include "platform/Beep.h"
#include "platform/CommandLine.h"
#include "platform/Process.h"
#include "tests/support/FakeExtractorLog.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempFolder.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

TEST(CliMatchesWindow, SameArgumentsAndTheWindowsCommandLines)
{
    struct Row {
        const char* name;
        std::string settings;  // the [SET1] keys of Kelmora.ini
    };
    const Row rows[] = {
        {"the defaults", ""},
        {"a range at a size as PNG", "R1=0\nR2=1\nS1=3\nS2=12\nR3=0\nR4=1\nS3=160\nS4=90\nR5=0\nR7=1\n"},
        {"images a second as GIF", "R9=0\nR10=1\nS5=4\nR5=0\nR6=1\n"},
        {"values past the limits, clamped as the window's fields do", "R2=1\nR1=0\nS1=-5\nS2=500000\n"},
    };
    struct : platform::BeepSink {
        void beep() override {}
    } silence;
    platform::setBeepSink(&silence);
    setNoticeSink([](NoticeKind, const QString& text) { ADD_FAILURE() << text.toStdString(); });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder dir;
        const std::string out = dir / "out";
        dir.write("Kelmora.ini", "[SET1]\n" + row.settings + "B1=" + out + "\n");
        std::vector<std::string> videos;
        for (const char* name : {"b clip.mp4", "A.mp4", "50%off.mp4", "\xff.mp4", "a.mp4"})
            videos.push_back(dir.write(std::string("videos/") + name, "x"));
        fs::create_symlink(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg", dir / "ffmpeg");  // found beside the program
        ::setenv("KELMORA_FAKE_LOG", (dir / "window.log").c_str(), 1);

        TCutSettings settings;
        {
            TMainForm1 window(dir.path(), {dir / "videos"});
            window.FormActivate();
            settings = window.currentSettings();
            window.SSButton10Click();
        }
        ::unsetenv("KELMORA_FAKE_LOG");
        fs::remove_all(out);
        const ProgramResult dry = runProgram(
            KELMORA_CLI, {"--settings", dir / "Kelmora.ini", "--dry-run", dir / "videos"}, {{"LC_ALL", "C.UTF-8"}});
        ASSERT_EQ(dry.status, 0) << dry.err;
        const ProgramResult run =
            runProgram(KELMORA_CLI,
                       {"--settings", dir / "Kelmora.ini", "--ffmpeg", dir / "ffmpeg", "-q", "-j", "1", dir / "videos"},
                       {{"LC_ALL", "C.UTF-8"}, {"KELMORA_FAKE_LOG", dir / "cli.log"}});
        ASSERT_EQ(run.status, 0) << run.err;

        const std::vector<FakeExtractorRun> windowRuns = readFakeExtractorLog(dir / "window.log");
        ASSERT_EQ(windowRuns.size(), videos.size());
        // The window asks each run for its progress report ahead of the cut's
        // arguments (kelmora-cli -q asks for none): the cut is the same.
        std::vector<FakeExtractorRun> windowCuts = windowRuns;
        for (FakeExtractorRun& cut : windowCuts) {
            const FakeExtractorRun reporting{"-nostdin", "-progress", "pipe:1"};
            ASSERT_TRUE(cut.size() > reporting.size() && std::equal(reporting.begin(), reporting.end(), cut.begin()));
            cut.erase(cut.begin(), cut.begin() + 3);
        }
        EXPECT_EQ(readFakeExtractorLog(dir / "cli.log"), windowCuts);
        // The window's lines: its options and each video in list order (no
        // image was there before, so each keeps its own name).
        const std::string extractor = platform::findProgram("ffmpeg", fs::path(KELMORA_CLI).parent_path().string());
        std::string expected;
        for (const FakeExtractorRun& windowRun : windowRuns) {
            const auto input = std::find(windowRun.begin(), windowRun.end(), "-i") + 1;
            ASSERT_LT(input, windowRun.end());
            const ExtractorCommand command = BuildCutCommandLine(*input, settings).command;
            expected += platform::pastableCommandLine(extractor, command.arguments, command.commandLine) + "\n";
        }
        EXPECT_EQ(dry.out, expected);
    }
    setNoticeSink(nullptr);
    platform::setBeepSink(nullptr);
}

}  // namespace
}  // namespace kelmora::test
