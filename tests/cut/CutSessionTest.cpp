// The cut session without a window: its option rules, and batches run with
// the fake extractor while the test changes the list or the options during
// the waits.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cut/CutSessionFixture.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;
using test::CutSessionTest;
using test::failedOf;
using test::Recorder;
using test::TempFolder;
using test::WaitingRunner;

TEST_F(CutSessionTest, TheRangeAndTheIntervalNeverGoTogether)
{
    using T = TCutSettings;
    const RuleNotice none = RuleNotice::None, rangeNotice = RuleNotice::RangeKeepsEveryFrame,
                     intervalNotice = RuleNotice::IntervalCutsWhole;
    struct Row {
        const char* name;
        std::vector<ChoiceField> on;  // turned on in this order
        OptionRuleResult range, interval, size;
    };
    const Row rows[] = {
        {"every frame everywhere", {}, {false, none, {}}, {false, none, {}}, {false, none, {}}},
        {"a range alone", {&T::RangeFromSecond}, {true, none, {}}, {false, none, {}}, {false, none, {}}},
        {"an interval alone", {&T::RatePerSecond}, {false, none, {}}, {true, none, {}}, {false, none, {}}},
        {"both: each rule sends the other group back",
         {&T::RangeFromSecond, &T::RatePerSecond},
         {true, rangeNotice, {&T::RateAll}},
         {true, intervalNotice, {&T::RangeAll}},
         {false, none, {}}},
        {"a size", {&T::SizeCustom}, {false, none, {}}, {false, none, {}}, {true, none, {}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        session.setOptions(TCutSettings());
        for (const ChoiceField choice : row.on) session.setChoice(choice, true);
        EXPECT_EQ(rangeRule(session.options()), row.range);
        EXPECT_EQ(intervalRule(session.options()), row.interval);
        EXPECT_EQ(sizeRule(session.options()), row.size);
    }
    // A settings file's choices: the interval, read last, keeps its choice.
    TCutSettings both;
    turnOn(both, &T::RangeFromSecond);
    both.RatePerSecond = true;
    both.RateAll = false;
    EXPECT_EQ(applyOptionRules(both), std::vector<RuleNotice>{intervalNotice});
    EXPECT_TRUE(both.RatePerSecond && both.RangeAll && !both.RangeFromSecond);
    // A choice turned off touches nothing else.
    session.setChoice(&T::FormatJpeg, false);
    EXPECT_FALSE(session.options().FormatJpeg || session.options().FormatGif || session.options().FormatPng);
    session.setChoice(&T::FormatGif, true);
    EXPECT_TRUE(session.options().FormatGif);
    const std::string separator(1, platform::separatorChar(platform::nativePathStyle()));
    const std::string folder = separator + "data" + separator + "out";
    EXPECT_EQ(session.setDestination(folder + separator), folder);
    EXPECT_EQ(session.options().DestinationFolder, folder);
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
                                  "4/4 gone.avi failed not_found",
                                  "end: 2 of 4 cut",
                              }));
    EXPECT_EQ(recorder.beeps, 1);
}

TEST_F(CutSessionTest, RunsAtOnceNeverShareAnImageName)
{
    // No image reaches the disk, so only the claims keep the names apart:
    // within a batch, and between two sessions.
    test::setEnvironment("KELMORA_FAKE_FRAMES", "0");
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
        bool numbered = true;  // a format chosen; else the unnumbered "a%d.jpg"
    };
    const Row rows[] = {
        {"other names and formats do not count",
         {"b_00001.jpg", "a_00001.png", "a1.jpg", "a_1_00001.jpg", "a_x.jpg", "a_.jpg"},
         {"v/a.avi"},
         {"out/a_%05d.jpg"}},
        {"an earlier image gets the next number", {"a_00001.jpg"}, {"v/a.avi"}, {"out/a (2)_%05d.jpg"}},
        {"any image of the name counts", {"a_00002.jpg", "a_123456.jpg"}, {"v/a.avi"}, {"out/a (2)_%05d.jpg"}},
        {"the first free number", {"a_00001.jpg", "a (2)_00007.jpg"}, {"v/a.avi"}, {"out/a (3)_%05d.jpg"}},
        {"same names from two folders",
         {},
         {"d100/MVI_0001.MOV", "d101/MVI_0001.MOV"},
         {"out/MVI_0001_%05d.jpg", "out/MVI_0001 (2)_%05d.jpg"}},
        {"unnumbered: a longer name's images take the shorter name",
         {"a11.jpg"},
         {"v/a.avi"},
         {"out/a (2)%d.jpg"},
         false},
        {"unnumbered: a shorter name's images take the longer name",
         {"a10.jpg"},
         {"v/a1.avi"},
         {"out/a1 (2)%d.jpg"},
         false},
        {"unnumbered: other names do not count", {"ab1.jpg", "a_00001.jpg"}, {"v/a.avi"}, {"out/a%d.jpg"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        TCutSettings options = session.options();
        options.FormatJpeg = row.numbered;
        options.FormatGif = options.FormatPng = options.FormatBmp = false;
        session.setOptions(options);
        for (const char* name : row.existing) dir.write(std::string("out/") + name, "old");
        for (const char* name : row.videos) add(name);
        EXPECT_EQ(run(), CutBatchOutcome::Completed);
        EXPECT_EQ(outputs(), row.expected);
        for (const char* name : row.existing) EXPECT_EQ(TempFolder::read(dir / "out/" + name), "old") << name;
    }
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
        {"a non-zero status", "3", "3", false, "exit_status 3"},
        {"status 0 without an image", "0", "0", false, "no_image"},
        {"the video is gone", "0", "3", true, "not_found"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        const std::string target = video("a.avi");
        session.targets().add(target);
        if (row.removeVideo) fs::remove(target);
        test::setEnvironment("KELMORA_FAKE_EXIT", row.exitCode);
        test::setEnvironment("KELMORA_FAKE_FRAMES", row.frames);
        const CutBatchReport report = session.runBatch(runner);
        EXPECT_EQ(report.outcome, CutBatchOutcome::CompletedWithFailures);
        ASSERT_EQ(failedOf(report.failed), std::vector<std::string>{target + ": " + row.reason});
        EXPECT_EQ(recorder.notices, std::vector<std::string>{"failures: [" + target + ": " + row.reason + "]"});
        EXPECT_EQ(recorder.beeps, 1);
    }
}

TEST_F(CutSessionTest, AnEmptyDestinationIsRefusedWithANotice)
{
    add("a.avi");
    setDestination("");
    EXPECT_EQ(run(), CutBatchOutcome::DestinationRefused);
    EXPECT_EQ(recorder.notices, std::vector<std::string>{"destination empty "});
    EXPECT_EQ(recorder.beeps, 1);
    EXPECT_FALSE(fs::exists(log));
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
