// The cut session without a window: its option rules, and batches run with
// the fake extractor while the test changes the list, the options or asks to
// stop during the waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

#include "cut/CutSession.h"
#include "tests/support/FakeExtractorLog.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitingRunner.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WaitingRunner;

// Every step the session reports, as text, in order.
class Recorder : public CutSessionListener {
public:
    std::vector<std::string> steps;
    std::vector<std::string> notices;
    int beeps = 0;

    void batchStarted(std::size_t entries) override { steps.push_back("batch of " + std::to_string(entries)); }
    void entryStarted(const CutJob& job) override
    {
        steps.push_back(std::to_string(job.number) + "/" + std::to_string(job.total) + " "
                        + fs::path(job.target).filename().string());
    }
    void entryFinished(const CutEntryResult& r) override
    {
        static const char* const status[] = {"cut", "failed", "skipped"};
        steps.push_back(std::to_string(r.number) + "/" + std::to_string(r.total) + " "
                        + fs::path(r.target).filename().string() + " " + status[static_cast<int>(r.status)]
                        + (r.reason.empty() ? "" : " " + r.reason));
    }
    void beep() override { ++beeps; }
    void notice(const std::string& text) override { notices.push_back(text); }
    void batchFinished(const CutBatchReport& report) override
    {
        steps.push_back("end: " + std::to_string(report.cut) + " of " + std::to_string(report.entries) + " cut");
    }
};

class CutSessionTest : public ::testing::Test {
public:  // the rows' steps reach the fixture
    void SetUp() override
    {
        log = dir / "runs.log";
        setenv("KELMORA_FAKE_LOG", log.c_str(), 1);
        session.setListener(&recorder);
        setDestination(dir / "out");
    }
    void TearDown() override
    {
        for (const char* name : {"KELMORA_FAKE_LOG", "KELMORA_FAKE_FRAMES", "KELMORA_FAKE_EXIT", "KELMORA_FAKE_HOLD",
                                 "KELMORA_FAKE_HOLD_NAME"})
            unsetenv(name);
    }

    void setDestination(const std::string& folder)
    {
        TCutSettings s = session.options();
        s.DestinationFolder = folder;
        session.setOptions(s);
    }
    // A video file (its content does not matter to the fake extractor).
    std::string video(const std::string& name) const { return dir.write(name, "video"); }
    void add(const std::string& name) { session.targets().add(video(name)); }
    // The output pattern of every run so far, below the test's folder.
    std::vector<std::string> outputs() const
    {
        std::vector<std::string> names;
        for (const auto& run : test::readFakeExtractorLog(log))
            names.push_back(run.back().substr(dir.path().size() + 1));
        return names;
    }
    CutBatchOutcome run(std::size_t maxRuns = 1) { return session.runBatch(runner, maxRuns).outcome; }
    // A fresh start for the next row.
    void reset()
    {
        fs::remove_all(dir / "out");
        fs::remove(log);
        session.targets().clear();
        recorder = Recorder();
        runner.waits = 0;
        runner.duringWait = nullptr;
        runner.started.clear();
    }
    // Runs of inputs containing name wait until the test lets them go (HeldRun on hold()).
    void holdRunsOf(const char* name)
    {
        ASSERT_TRUE(test::makeFakeExtractorHold(hold()));
        setenv("KELMORA_FAKE_HOLD", hold().c_str(), 1);
        setenv("KELMORA_FAKE_HOLD_NAME", name, 1);
    }
    std::string hold() const { return dir / "hold"; }

    TempFolder dir;
    std::string log;
    Recorder recorder;
    WaitingRunner runner;
    CutSession session{KELMORA_FAKE_EXTRACTOR_DIR};
};

TEST_F(CutSessionTest, TheRangeAndTheIntervalNeverGoTogether)
{
    using T = TCutSettings;
    const char* const rangeNotice = "カット範囲を指定する場合は カット間隔は全フレームが対象になります。";
    const char* const intervalNotice = "カット間隔を指定する場合は カット範囲は全フレームが対象になります。";
    struct Row {
        const char* name;
        std::vector<ChoiceField> on;  // turned on in this order
        OptionRuleResult range, interval, size;
    };
    const Row rows[] = {
        {"every frame everywhere", {}, {false, "", {}}, {false, "", {}}, {false, "", {}}},
        {"a range alone", {&T::RangeFromSecond}, {true, "", {}}, {false, "", {}}, {false, "", {}}},
        {"an interval alone", {&T::RatePerSecond}, {false, "", {}}, {true, "", {}}, {false, "", {}}},
        {"both: each rule sends the other group back",
         {&T::RangeFromSecond, &T::RatePerSecond},
         {true, rangeNotice, {&T::RateAll}},
         {true, intervalNotice, {&T::RangeAll}},
         {false, "", {}}},
        {"a size", {&T::SizeCustom}, {false, "", {}}, {false, "", {}}, {true, "", {}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        session.setOptions(TCutSettings());
        for (const ChoiceField choice : row.on) session.setChoice(choice, true);
        EXPECT_EQ(session.rangeRule(), row.range);
        EXPECT_EQ(session.intervalRule(), row.interval);
        EXPECT_EQ(session.sizeRule(), row.size);
    }
    // A choice turned off touches nothing else.
    session.setChoice(&T::FormatJpeg, false);
    EXPECT_FALSE(session.options().FormatJpeg || session.options().FormatGif || session.options().FormatPng);
    session.setChoice(&T::FormatGif, true);
    EXPECT_TRUE(session.options().FormatGif);
    EXPECT_EQ(session.setDestination("/data/out/"), "/data/out");
    EXPECT_EQ(session.options().DestinationFolder, "/data/out");
}

TEST_F(CutSessionTest, EveryEntryIsCutOnceWhileTheListChanges)
{
    struct Row {
        const char* name;
        std::vector<const char*> before;
        int atWait;  // what follows happens during this wait
        bool clear;
        std::vector<const char*> added;  // after the CLEAR
        int removedFromTheFront;
        std::vector<std::string> expected;  // in the order cut
    };
    // clang-format off
    const Row rows[] = {
        {"an entry sorting first is added while b runs", {"b.avi", "c.avi"}, 0, false, {"a.avi"}, 0,
         {"out/b_%05d.jpg", "out/a_%05d.jpg", "out/c_%05d.jpg"}},
        {"an entry sorting first is added while the second runs", {"b.avi", "c.avi", "d.avi"}, 1, false, {"a.avi"}, 0,
         {"out/b_%05d.jpg", "out/c_%05d.jpg", "out/a_%05d.jpg", "out/d_%05d.jpg"}},
        {"CLEAR and new entries", {"a.avi", "b.avi"}, 0, true, {"a.avi", "d.avi"}, 0,
         {"out/a_%05d.jpg", "out/a (2)_%05d.jpg", "out/d_%05d.jpg"}},
        {"one path registered twice is two entries", {"a.avi", "a.avi"}, 0, false, {}, 0,
         {"out/a_%05d.jpg", "out/a (2)_%05d.jpg"}},
        {"the running entry and the next are removed", {"a.avi", "b.avi", "c.avi", "d.avi"}, 0, false, {}, 2,
         {"out/a_%05d.jpg", "out/c_%05d.jpg", "out/d_%05d.jpg"}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        for (const char* name : row.before) add(name);
        runner.duringWait = [&](int wait) {
            if (wait != row.atWait) return;
            if (row.clear) session.targets().clear();
            for (const char* name : row.added) add(name);
            for (int i = 0; i < row.removedFromTheFront; ++i) session.targets().removeAt(0);
        };
        EXPECT_EQ(run(), CutBatchOutcome::Completed);
        EXPECT_EQ(outputs(), row.expected);
    }
}

TEST_F(CutSessionTest, EachStepIsReportedWithItsNumberOfTheEntries)
{
    add("b.avi");
    fs::create_directories(dir / "a folder");
    session.targets().add(dir / "a folder");
    session.targets().add(dir / "gone.avi");
    runner.duringWait = [&](int wait) {
        if (wait == 0) add("c.avi");  // the batch grows by one
    };
    EXPECT_EQ(run(), CutBatchOutcome::CompletedWithFailures);
    EXPECT_EQ(recorder.steps, (std::vector<std::string>{
                                  "batch of 3",
                                  "1/3 a folder skipped",
                                  "2/3 b.avi",
                                  "2/3 b.avi cut",
                                  "3/4 c.avi",
                                  "3/4 c.avi cut",
                                  "4/4 gone.avi failed 見つかりませんでした",
                                  "end: 2 of 4 cut",
                              }));
    EXPECT_EQ(recorder.beeps, 1);
}

TEST_F(CutSessionTest, SeveralRunsGoAtOnceAndEachEntryIsStillCutOnce)
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

TEST_F(CutSessionTest, RunsAtOnceNeverShareAnImageName)
{
    // No image reaches the disk, so only the reservations keep the names apart:
    // within a batch, and between two sessions of one process.
    setenv("KELMORA_FAKE_FRAMES", "0", 1);
    for (const char* name : {"v1/a.avi", "v2/a.avi", "v3/a.avi"}) add(name);
    CutSession other{KELMORA_FAKE_EXTRACTOR_DIR};
    other.setOptions(session.options());
    other.targets().add(video("v4/a.avi"));
    WaitingRunner otherRunner;
    runner.duringWait = [&](int wait) {
        if (wait == 0) other.runBatch(otherRunner);
    };
    run(3);
    std::vector<std::string> names;
    for (const CutJob& job : runner.started) names.push_back(job.outputName);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "a (2)", "a (3)"}));
    ASSERT_EQ(otherRunner.started.size(), 1u);
    EXPECT_EQ(otherRunner.started[0].outputName, "a (4)");
    // Once the batches are over, the names are free again.
    reset();
    add("v1/a.avi");
    run();
    EXPECT_EQ(runner.started.at(0).outputName, "a");
}

TEST_F(CutSessionTest, NoCutOverwritesAnImage)
{
    struct Row {
        const char* name;
        std::vector<const char*> existing;  // in the destination before the batch
        std::vector<const char*> videos;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"other names and formats do not count",
         {"b_00001.jpg", "a_00001.png", "a1.jpg"},
         {"v/a.avi"},
         {"out/a_%05d.jpg"}},
        {"an earlier image gets the next number", {"a_00001.jpg"}, {"v/a.avi"}, {"out/a (2)_%05d.jpg"}},
        {"the first free number", {"a_00001.jpg", "a (2)_00001.jpg"}, {"v/a.avi"}, {"out/a (3)_%05d.jpg"}},
        {"same names from two folders",
         {},
         {"d100/MVI_0001.MOV", "d101/MVI_0001.MOV"},
         {"out/MVI_0001_%05d.jpg", "out/MVI_0001 (2)_%05d.jpg"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        for (const char* name : row.existing) dir.write(std::string("out/") + name, "old");
        for (const char* name : row.videos) add(name);
        EXPECT_EQ(run(), CutBatchOutcome::Completed);
        EXPECT_EQ(outputs(), row.expected);
        for (const char* name : row.existing) EXPECT_EQ(TempFolder::read(dir / "out/" + name), "old") << name;
    }
    reset();
    fs::create_directories(dir / "out");
    fs::create_symlink(dir / "nowhere", dir / "out/a_00001.jpg");  // the extractor would write through it
    add("a.avi");
    run();
    EXPECT_EQ(outputs(), std::vector<std::string>{"out/a (2)_%05d.jpg"});
}

TEST_F(CutSessionTest, OnlyFilesAreHandedToTheExtractor)
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

TEST_F(CutSessionTest, EveryFailedEntrySaysWhy)
{
    struct Row {
        const char* name;
        const char* exitCode;
        const char* frames;
        bool removeVideo;
        const char* reason;
    };
    const Row rows[] = {
        {"a non-zero status", "3", "3", false, "終了コード 3"},
        {"status 0 without an image", "0", "0", false, "画像が書き出されませんでした"},
        {"the video is gone", "0", "3", true, "見つかりませんでした"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        const std::string target = video("a.avi");
        session.targets().add(target);
        if (row.removeVideo) fs::remove(target);
        setenv("KELMORA_FAKE_EXIT", row.exitCode, 1);
        setenv("KELMORA_FAKE_FRAMES", row.frames, 1);
        const CutBatchReport report = session.runBatch(runner);
        EXPECT_EQ(report.outcome, CutBatchOutcome::CompletedWithFailures);
        ASSERT_EQ(report.failed, (std::vector<FailedEntry>{{target, row.reason}}));
        EXPECT_EQ(recorder.notices, (std::vector<std::string>{failedRunsNotice(report.failed)}));
        EXPECT_EQ(recorder.beeps, 1);
    }
}

TEST_F(CutSessionTest, AStartFailurePartwayNamesTheEntriesThatFailedBefore)
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
              (std::vector<std::string>{"ffmpeg を起動できませんでした。処理を中止します。",
                                        "次のファイルを変換できませんでした。\n" + (dir / "a.avi")
                                            + "（終了コード 1）\n" + (dir / "b.avi") + "（起動できませんでした）"}));
    EXPECT_EQ(recorder.beeps, 1);
}

TEST_F(CutSessionTest, AStartFailureLetsTheRunsGoingOnEnd)
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
    EXPECT_EQ(recorder.notices, std::vector<std::string>{"ffmpeg を起動できませんでした。処理を中止します。"});
}

TEST_F(CutSessionTest, ADestinationThatCannotTakeImagesStopsBeforeAnyRun)
{
    const std::string file = video("file");
    struct Row {
        const char* name;
        std::string field;
        int refusal;  // what the folder maker reports; 0: the real one
        std::string notice;
    };
    const Row rows[] = {
        {"relative", "relout/", 0, "保存先「relout」はフルパスではありません。フルパスで指定してください。"},
        {"a file in the way", file + "/sub", 0,
         "保存先のフォルダ「" + file + "/sub」を作成できませんでした。\n" + std::strerror(ENOTDIR)},
        {"no permission", dir / "locked/out", EACCES,
         "保存先のフォルダ「" + (dir / "locked/out") + "」を作成できませんでした。\n" + std::strerror(EACCES)},
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

TEST_F(CutSessionTest, AnEmptyDestinationAbortsWithANotice)
{
    add("a.avi");
    setDestination("");
    EXPECT_EQ(run(), CutBatchOutcome::Aborted);
    EXPECT_EQ(recorder.notices, std::vector<std::string>{"非対応フォーマットが含まれていました。処理を中止します。"});
    EXPECT_EQ(recorder.beeps, 1);
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(CutSessionTest, TheDestinationIsMadeSureOfBeforeEachRun)
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
    EXPECT_EQ(recorder.notices[0],
              "保存先のフォルダ「" + file + "」を作成できませんでした。\n" + std::strerror(ENOTDIR));
    EXPECT_EQ(report.failed, (std::vector<FailedEntry>{{dir / "c.avi", "保存先のフォルダを作成できませんでした"},
                                                       {dir / "d.avi", "保存先のフォルダを作成できませんでした"}}));
}

TEST_F(CutSessionTest, AStopEndsTheRunningExtractorsAndNamesWhatWasNotFinished)
{
    struct Row {
        const char* name;
        std::size_t maxRuns;
        const char* held;  // runs of inputs with this in their name wait
        int stopAtWait;
        std::vector<FailedEntry> failed;  // in the order of the list
    };
    const Row rows[] = {
        {"one at a time", 1, "b.avi", 1, {{dir / "b.avi", "途中で中止しました"}, {dir / "c.avi", "中止のため未変換"}}},
        {"two at once",
         2,
         ".avi",
         0,
         {{dir / "a.avi", "途中で中止しました"},
          {dir / "b.avi", "途中で中止しました"},
          {dir / "c.avi", "中止のため未変換"}}},
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
        std::vector<FailedEntry> failed = report.failed;  // runs stopped together end in any order
        std::sort(failed.begin(), failed.end(), [](const auto& x, const auto& y) { return x.target < y.target; });
        EXPECT_EQ(failed, row.failed);
        EXPECT_EQ(recorder.notices, (std::vector<std::string>{failedRunsNotice(report.failed)}));
        EXPECT_FALSE(session.running());
        // What the held run wrote before it was stopped stays (of two at once, either may be the one).
        EXPECT_TRUE(fs::exists(dir / "out/b_00003.jpg") || (row.maxRuns > 1 && fs::exists(dir / "out/a_00003.jpg")));
    }
}

TEST_F(CutSessionTest, ABatchStartedFromAWaitIsRefused)
{
    add("a.avi");
    CutBatchOutcome nested = CutBatchOutcome::NothingToDo;
    runner.duringWait = [&](int) {
        EXPECT_TRUE(session.running());
        nested = session.runBatch(runner).outcome;
    };
    EXPECT_EQ(run(), CutBatchOutcome::Completed);
    EXPECT_EQ(nested, CutBatchOutcome::AlreadyRunning);
    EXPECT_FALSE(session.running());
    EXPECT_EQ(test::readFakeExtractorLog(log).size(), 1u);
}

TEST_F(CutSessionTest, AnEmptyListDoesNothing)
{
    EXPECT_EQ(run(), CutBatchOutcome::NothingToDo);
    EXPECT_TRUE(recorder.notices.empty());
    EXPECT_EQ(recorder.beeps, 0);
}

}  // namespace
}  // namespace kelmora
