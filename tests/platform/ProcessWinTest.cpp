#include <gtest/gtest.h>

#include <filesystem>

#include "ProbeChild.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/System.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::NamedEvent;
using kelmora::test::readProbeLog;
using kelmora::test::ScopedEnv;
using kelmora::test::TempFolder;

namespace {

const std::string probeName = "kelmora_probe.exe";

std::string probePath() { return joinPath(programFolder(), probeName); }

struct CommandLineRow {
    const char* why;
    std::string commandLine;
    std::vector<std::string> argv;  // as the child's C runtime splits it
};

const CommandLineRow commandLineRows[] = {
    {"a cut, every option",
     "ffmpeg.exe -ss 10 -i \"C:\\v\\a.avi\" -vframes 30 -f image2 -s 320x240  \"D:\\out\\a_%05d.png\"",
     {"ffmpeg.exe", "-ss", "10", "-i", "C:\\v\\a.avi", "-vframes", "30", "-f", "image2", "-s", "320x240",
      "D:\\out\\a_%05d.png"}},
    {"blanks, percent signs and shell characters",
     "ffmpeg.exe -i \"C:\\my v\\50%off $(x) & y.avi\" -f image2  \"D:\\out\\50%%off $(x) & y_%05d.jpg\"",
     {"ffmpeg.exe", "-i", "C:\\my v\\50%off $(x) & y.avi", "-f", "image2", "D:\\out\\50%%off $(x) & y_%05d.jpg"}},
    {"a name beginning with a dash",
     "ffmpeg.exe -i \".\\-reverse.avi\" -f image2  \".\\-r_%05d.jpg\"",
     {"ffmpeg.exe", "-i", ".\\-reverse.avi", "-f", "image2", ".\\-r_%05d.jpg"}},
    {"a Japanese name in Shift-JIS, a trail byte 0x5C inside",
     "ffmpeg.exe -i \"C:\\\x95\x5C\\\x93\xAE\x89\xE6.avi\" -f image2  \"D:\\\x95\x5C_%05d.jpg\"",
     {"ffmpeg.exe", "-i", "C:\\\x95\x5C\\\x93\xAE\x89\xE6.avi", "-f", "image2", "D:\\\x95\x5C_%05d.jpg"}},
};

}  // namespace

TEST(ProcessWin, TheCommandLineTextArrivesAsItIs)
{
    TempFolder dir;
    ScopedEnv log("KELMORA_PROBE_LOG", dir / "log");
    for (const CommandLineRow& row : commandLineRows) {
        SCOPED_TRACE(row.why);
        std::filesystem::remove(dir / "log");
        std::string error;
        auto child = ChildProcess::startHidden({probeName, {"not", "used"}, row.commandLine}, &error);
        ASSERT_TRUE(child) << error;
        ASSERT_TRUE(child->waitFor(-1));
        EXPECT_EQ(child->exitStatus(), 0);
        const auto runs = readProbeLog(dir / "log");
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].commandLine, row.commandLine);
        EXPECT_EQ(runs[0].argv, row.argv);
    }
}

TEST(ProcessWin, AnArgumentListReachesTheChildUnchanged)
{
    TempFolder dir;
    ScopedEnv log("KELMORA_PROBE_LOG", dir / "log");
    // clang-format off
    const std::vector<std::string> arguments = {
        "-i", "a b \"c\" $(x) `y` ;|&", "", "-leading", "C:\\out\\", "C:\\my out\\", "back\\\\\"slash", "50%off *.avi",
        "\x95\x5C"};
    auto child = ChildProcess::startHidden(probePath(), arguments);
    ASSERT_TRUE(child);
    ASSERT_TRUE(child->waitFor(-1));
    const auto runs = readProbeLog(dir / "log");
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_FALSE(runs[0].argv.empty());
    EXPECT_EQ(std::vector<std::string>(runs[0].argv.begin() + 1, runs[0].argv.end()), arguments);
}

TEST(ProcessWin, ExitStatusAndWaiting)
{
    {
        ScopedEnv exit("KELMORA_PROBE_EXIT", "3");
        auto child = ChildProcess::startHidden(probePath(), {});
        ASSERT_TRUE(child);
        EXPECT_TRUE(child->waitFor(-1));
        EXPECT_TRUE(child->hasEnded());
        EXPECT_EQ(child->exitStatus(), 3);
    }
    // clang-format on
    {
        NamedEvent hold("hold");
        ScopedEnv holding("KELMORA_PROBE_HOLD", hold.name());
        auto child = ChildProcess::startHidden(probePath(), {});
        ASSERT_TRUE(child);
        EXPECT_GT(child->pid(), 0);
        EXPECT_FALSE(child->waitFor(0));
        EXPECT_FALSE(child->hasEnded());
        EXPECT_EQ(child->exitStatus(), -1);
        EXPECT_EQ(child->exitNotifier(), -1);  // no descriptor: the wait is on the process handle
        hold.set();
        EXPECT_TRUE(child->waitFor(-1));
        EXPECT_EQ(child->exitStatus(), 0);
    }
}

TEST(ProcessWin, TerminateEndsARunningChild)
{
    NamedEvent hold("hold-forever");
    ScopedEnv holding("KELMORA_PROBE_HOLD", hold.name());
    auto child = ChildProcess::startHidden(probePath(), {});
    ASSERT_TRUE(child);
    child->terminate(200);
    ASSERT_TRUE(child->waitFor(-1));
    EXPECT_NE(child->exitStatus(), 0);  // ended from outside is never success
    EXPECT_EQ(child->exitSignal(), 0);
    child->terminate(200);  // an ended child: nothing to do
}

TEST(ProcessWin, ADroppedOrDetachedRunGoesOnByItself)
{
    NamedEvent hold("hold-dropped");
    NamedEvent done("done");
    {
        ScopedEnv holding("KELMORA_PROBE_HOLD", hold.name());
        ScopedEnv signalling("KELMORA_PROBE_DONE", done.name());
        auto child = ChildProcess::startHidden(probePath(), {});
        ASSERT_TRUE(child);
        ChildProcess moved = std::move(*child);
        EXPECT_GT(moved.pid(), 0);
        EXPECT_EQ(child->pid(), -1);  // the moved-from object let go of it
    }
    hold.set();
    EXPECT_TRUE(done.waitFor(60000));

    NamedEvent detachedDone("detached-done");
    ScopedEnv signalling("KELMORA_PROBE_DONE", detachedDone.name());
    ASSERT_TRUE(startDetached(probePath(), {}));
    EXPECT_TRUE(detachedDone.waitFor(60000));
}

TEST(ProcessWin, StartFailures)
{
    std::string error;
    EXPECT_FALSE(ChildProcess::startHidden("C:\\no\\such\\program.exe", {}, &error));
    EXPECT_NE(error.find("C:\\no\\such\\program.exe"), std::string::npos);
    EXPECT_FALSE(ChildProcess::startHidden("kelmora-no-such-program.exe", {}, &error));
    EXPECT_FALSE(startDetached("kelmora-no-such-program.exe", {}));
    EXPECT_EQ(extractorProgramName(), "ffmpeg.exe");
}

TEST(ProcessWin, FindProgramLooksBesideTheProgramFirst)
{
    TempFolder dir;
    TempFolder other;
    ScopedEnv path("PATH", dir.path() + ";\"" + other.path() + "\"");
    std::filesystem::copy_file(probePath(), other / probeName);
    EXPECT_EQ(findProgram(probeName, "C:\\nonexistent"), other / probeName);  // a quoted PATH entry
    EXPECT_EQ(findProgram(probeName, programFolder()), probePath());
    std::filesystem::copy_file(probePath(), dir / probeName);
    EXPECT_EQ(findProgram(probeName, "C:\\nonexistent"), dir / probeName);  // PATH order
    EXPECT_EQ(findProgram(probeName, programFolder()), probePath());        // own folder wins
    // A name whose kanji ends in the byte of "\" is a bare name, looked for on PATH.
    const std::string kanjiName = "\x95\x5C.exe";
    const std::string kanjiPath = dir.path() + "\\" + kanjiName;  // bytes of the code page, kept as they are
    ASSERT_TRUE(::CopyFileA(probePath().c_str(), kanjiPath.c_str(), TRUE));
    EXPECT_EQ(findProgram(kanjiName, "C:\\nonexistent"), kanjiPath);
    std::filesystem::create_directory(dir / "folder.exe");
    EXPECT_EQ(findProgram("folder.exe", dir.path()), "");
    EXPECT_EQ(findProgram("kelmora-no-such-program.exe", ""), "");
}
