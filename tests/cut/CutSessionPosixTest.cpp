// The cut session where POSIX rules decide: links, FIFOs, PATH and HOME, file
// modes and their error texts, and runs held on a FIFO until the test lets
// them go.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

#include "tests/cut/CutSessionFixture.h"
#include "tests/support/FakeExtractorHold.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;
using test::CutSessionTest;
using test::failedOf;
using test::Recorder;
using test::TempFolder;
using test::WaitingRunner;

class CutSessionPosixTest : public CutSessionTest {
public:
    // Runs of inputs containing name wait until the test lets them go (HeldRun on hold()).
    void holdRunsOf(const char* name)
    {
        ASSERT_TRUE(test::makeFakeExtractorHold(hold()));
        test::setEnvironment("KELMORA_FAKE_HOLD", hold());
        test::setEnvironment("KELMORA_FAKE_HOLD_NAME", name);
    }
    std::string hold() const { return dir / "hold"; }
};

TEST_F(CutSessionPosixTest, ALinkThatLeadsNowhereTakesTheImageName)
{
    fs::create_directories(dir / "out");
    fs::create_symlink(dir / "nowhere", dir / "out/a_00001.jpg");  // the extractor would write through it
    add("a.avi");
    run();
    EXPECT_EQ(outputs(), std::vector<std::string>{"out/a (2)_%05d.jpg"});
}

TEST_F(CutSessionPosixTest, SeveralRunsGoAtOnceAndEachEntryIsStillCutOnce)
{
    holdRunsOf("a.avi");
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi"}) add(name);
    std::vector<std::size_t> runningAtEachWait;
    std::optional<test::HeldRun> held;
    runner.duringWait = [&](int wait) {
        runningAtEachWait.push_back(session.runningJobs().size());
        if (wait == 0) held.emplace(hold());  // a is at work and waits
        if (wait == 2) held.reset();          // b and c have ended meanwhile
    };
    EXPECT_EQ(run(2), CutBatchOutcome::Completed);
    // a holds one place while b, c and d pass through the other.
    EXPECT_EQ(runningAtEachWait, (std::vector<std::size_t>{2, 2, 2, 1}));
    EXPECT_EQ(outputs().size(), 4u);
    std::vector<std::string> targets;
    for (const CutJob& job : runner.started) targets.push_back(fs::path(job.target).filename().string());
    EXPECT_EQ(targets, (std::vector<std::string>{"a.avi", "b.avi", "c.avi", "d.avi"}));
    for (const char* image : {"out/a_00003.jpg", "out/b_00003.jpg", "out/c_00003.jpg", "out/d_00003.jpg"})
        EXPECT_TRUE(fs::exists(dir / image)) << image;
}

TEST_F(CutSessionPosixTest, OnlyFilesAreHandedToTheExtractor)
{
    add("a.avi");
    fs::create_directories(dir / "sub");
    session.targets().add(dir / "sub");
    ASSERT_EQ(::mkfifo((dir / "fifo.avi").c_str(), 0600), 0);
    session.targets().add(dir / "fifo.avi");
    session.targets().add("/dev/null");
    fs::create_symlink(dir / "a.avi", dir / "link.avi");
    session.targets().add(dir / "link.avi");
    EXPECT_EQ(run(), CutBatchOutcome::Completed);
    EXPECT_EQ(outputs(), (std::vector<std::string>{"out/a_%05d.jpg", "out/link_%05d.jpg"}));
    EXPECT_TRUE(recorder.notices.empty());
}

TEST_F(CutSessionPosixTest, AStartFailurePartwayNamesTheEntriesThatFailedBefore)
{
    // The extractor beside the program vanishes while the first run, which fails, is waited for.
    const std::string programFolder = dir / "program";
    fs::create_directories(programFolder);
    fs::create_symlink(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg", programFolder + "/ffmpeg");
    const std::string oldPath = getenv("PATH");
    setenv("PATH", (dir / "nowhere").c_str(), 1);
    setenv("KELMORA_FAKE_EXIT", "1", 1);
    CutSession fromProgram(programFolder);
    fromProgram.setOptions(session.options());
    fromProgram.setListener(&recorder);
    fromProgram.targets().add(video("a.avi"));
    fromProgram.targets().add(video("b.avi"));
    runner.duringWait = [&](int) { fs::remove(programFolder + "/ffmpeg"); };
    const CutBatchOutcome outcome = fromProgram.runBatch(runner).outcome;
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(outcome, CutBatchOutcome::StartFailed);
    EXPECT_EQ(recorder.notices,
              (std::vector<std::string>{"not started ffmpeg", "failures: [" + (dir / "a.avi") + ": exit_status 1] ["
                                                                  + (dir / "b.avi") + ": not_started]"}));
    EXPECT_EQ(recorder.beeps, 1);
}

TEST_F(CutSessionPosixTest, AStartFailureLetsTheRunsGoingOnEnd)
{
    // b cannot be started while a runs: a is waited for, and nothing after b starts.
    holdRunsOf("a.avi");
    const std::string programFolder = dir / "program";
    fs::create_directories(programFolder);
    fs::create_symlink(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg", programFolder + "/ffmpeg");
    const std::string oldPath = getenv("PATH");
    setenv("PATH", (dir / "nowhere").c_str(), 1);
    struct VanishingRunner : WaitingRunner {
        std::string extractor;
        bool start(const CutJob& job, std::string& error) override
        {
            const bool started = WaitingRunner::start(job, error);
            fs::remove(extractor);  // gone once the first run is under way
            return started;
        }
    } vanishing;
    vanishing.extractor = programFolder + "/ffmpeg";
    std::optional<test::HeldRun> held;
    vanishing.duringWait = [&](int) {
        held.emplace(hold());
        held.reset();
    };
    CutSession fromProgram(programFolder);
    fromProgram.setOptions(session.options());
    fromProgram.setListener(&recorder);
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) fromProgram.targets().add(video(name));
    const CutBatchReport report = fromProgram.runBatch(vanishing, 3);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(report.outcome, CutBatchOutcome::StartFailed);
    EXPECT_EQ(report.cut, 1u);
    EXPECT_EQ(outputs(), std::vector<std::string>{"out/a_%05d.jpg"});
    EXPECT_EQ(recorder.notices, std::vector<std::string>{"not started ffmpeg"});
    EXPECT_EQ(report.notRun, std::vector<std::string>{dir / "c.avi"});
}

TEST_F(CutSessionPosixTest, ADestinationThatCannotTakeImagesStopsBeforeAnyRun)
{
    const std::string file = video("file");
    struct Row {
        const char* name;
        std::string field;
        int refusal;  // what the folder maker reports; 0: the real one
        std::string notice;
    };
    const Row rows[] = {
        {"relative", "relout/", 0, "destination not_full_path relout"},
        {"a file in the way", file + "/sub", 0, "destination cannot_make " + file + "/sub " + std::to_string(ENOTDIR)},
        {"no permission", dir / "locked/out", EACCES,
         "destination cannot_make " + (dir / "locked/out") + " " + std::to_string(EACCES)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Recorder heard;
        CutSession refusing(KELMORA_FAKE_EXTRACTOR_DIR,
                            row.refusal ? CutSession::FolderMaker([&row](const std::string&) { return row.refusal; })
                                        : CutSession::FolderMaker());
        refusing.setListener(&heard);
        refusing.setDestination(row.field);
        refusing.targets().add(video("a.avi"));
        EXPECT_EQ(refusing.runBatch(runner).outcome, CutBatchOutcome::DestinationRefused);
        EXPECT_EQ(heard.notices, std::vector<std::string>{row.notice});
        EXPECT_EQ(heard.beeps, 1);
        EXPECT_FALSE(fs::exists(log));
    }
}

TEST_F(CutSessionPosixTest, TheDestinationIsMadeSureOfBeforeEachRun)
{
    const std::string oldHome = getenv("HOME");
    setenv("HOME", (dir / "home").c_str(), 1);
    setDestination("~/pics/");
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi"}) add(name);
    const std::string file = video("file");
    runner.duringWait = [&](int wait) {
        if (wait == 0) setDestination(dir / "later/sub");
        if (wait == 1) setDestination(file);  // cannot be made: said once, both entries fail
    };
    const CutBatchReport report = session.runBatch(runner);
    setenv("HOME", oldHome.c_str(), 1);
    EXPECT_EQ(report.outcome, CutBatchOutcome::CompletedWithFailures);
    EXPECT_EQ(outputs(), (std::vector<std::string>{"home/pics/a_%05d.jpg", "later/sub/b_%05d.jpg"}));
    ASSERT_EQ(recorder.notices.size(), 2u);
    EXPECT_EQ(recorder.notices[0], "destination cannot_make " + file + " " + std::to_string(ENOTDIR));
    EXPECT_EQ(failedOf(report.failed), (std::vector<std::string>{dir / "c.avi" + ": destination cannot_make",
                                                                 dir / "d.avi" + ": destination cannot_make"}));
}

TEST_F(CutSessionPosixTest, AStopEndsTheRunningExtractorsAndNamesWhatWasNotFinished)
{
    struct Row {
        const char* name;
        std::size_t maxRuns;
        const char* held;  // runs of inputs with this in their name wait
        int stopAtWait;
        std::vector<std::string> failed;  // in the order of the list
    };
    const Row rows[] = {
        {"one at a time", 1, "b.avi", 1, {dir / "b.avi" + ": stopped", dir / "c.avi" + ": not_run"}},
        {"two at once",
         2,
         ".avi",
         0,
         {dir / "a.avi" + ": stopped", dir / "b.avi" + ": stopped", dir / "c.avi" + ": not_run"}},
    };
    holdRunsOf("");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        setenv("KELMORA_FAKE_HOLD_NAME", row.held, 1);
        for (const char* name : {"a.avi", "b.avi", "c.avi"}) add(name);
        std::optional<test::HeldRun> held;
        runner.duringWait = [&](int wait) {
            if (wait != row.stopAtWait) return;
            held.emplace(hold());  // a held run waits until the end of the row
            session.requestStop();
        };
        const CutBatchReport report = session.runBatch(runner, row.maxRuns);
        held.reset();
        EXPECT_EQ(report.outcome, CutBatchOutcome::Stopped);
        EXPECT_EQ(runner.started.size(), 2u);
        std::vector<std::string> failed = failedOf(report.failed);  // runs stopped together end in any order
        std::sort(failed.begin(), failed.end());
        EXPECT_EQ(failed, row.failed);
        EXPECT_EQ(report.notRun, std::vector<std::string>{dir / "c.avi"});
        ASSERT_EQ(recorder.notices.size(), 1u);
        EXPECT_EQ(recorder.notices[0].rfind("failures: [", 0), 0u);
        EXPECT_FALSE(session.running());
        // What the held run wrote before it was stopped stays, but for its last
        // image: killed by the signal, the run may have been writing it (of two
        // at once, either may be the one held).
        const auto keptAllButTheLast = [&](const std::string& name) {
            return fs::exists(dir / ("out/" + name + "_00002.jpg"))
                   && !fs::exists(dir / ("out/" + name + "_00003.jpg"));
        };
        EXPECT_TRUE(keptAllButTheLast("b") || (row.maxRuns > 1 && keptAllButTheLast("a")));
    }
}

TEST_F(CutSessionPosixTest, ANameNearTheLimitIsShortenedToTakeItsNumber)
{
    // A name of 255 bytes at most, which " (2)" and the image numbers must fit in.
    const std::string longName(243, 'x');
    for (const char* folder : {"v1/", "v2/"}) add(folder + longName + ".avi");
    EXPECT_EQ(run(), CutBatchOutcome::Completed);
    EXPECT_EQ(outputs(), (std::vector<std::string>{"out/" + longName + "_%05d.jpg",
                                                   "out/" + std::string(240, 'x') + " (2)_%05d.jpg"}));
}

}  // namespace
}  // namespace kelmora
