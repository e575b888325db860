// The batch without a window: a host that changes the list during a wait.
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cut/CutBatch.h"
#include "cut/TargetList.h"
#include "platform/Beep.h"
#include "platform/Process.h"
#include "tests/support/FakeExtractorLog.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;

class ScriptedHost : public CutBatchHost {
public:
    TargetList list;
    TCutSettings settings;
    std::function<void(int)> duringWait;  // gets the number of the run
    std::vector<std::string> notices;
    int finished = 0;
    int waits = 0;

    std::size_t TargetCount() const override { return list.size(); }
    std::string Target(std::size_t index) const override { return list.at(index); }
    std::uint64_t TargetId(std::size_t index) const override { return list.serialAt(index); }
    TCutSettings Settings() const override { return settings; }
    void WaitForEnd(platform::ChildProcess& run) override
    {
        if (duringWait) duringWait(waits);
        ++waits;
        run.waitFor(-1);
    }
    void Notice(const std::string& text) override { notices.push_back(text); }
    void Finished() override { ++finished; }
};

class CutBatchTest : public ::testing::Test {
public:  // the rows' steps reach the fixture
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        log = path("runs.log");
        setenv("KELMORA_FAKE_LOG", log.c_str(), 1);
        host.settings.DestinationFolder = path("out");
    }
    void TearDown() override
    {
        for (const char* name : {"KELMORA_FAKE_LOG", "KELMORA_FAKE_FRAMES", "KELMORA_FAKE_EXIT", "KELMORA_FAKE_HOLD",
                                 "KELMORA_FAKE_HOLD_NAME"})
            unsetenv(name);
    }

    std::string path(const std::string& name) const { return folder.path().toStdString() + "/" + name; }
    // A video file (its content does not matter to the fake extractor).
    std::string video(const std::string& name)
    {
        const std::string file = path(name);
        fs::create_directories(fs::path(file).parent_path());
        std::ofstream(file) << "video";
        return file;
    }
    static std::string contents(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The output pattern of every run so far, below the test's folder.
    std::vector<std::string> outputs() const
    {
        std::vector<std::string> names;
        for (const auto& run : test::readFakeExtractorLog(log)) names.push_back(run.back().substr(path("").size()));
        return names;
    }
    // A fresh start for the next row.
    void reset()
    {
        fs::remove_all(path("out"));
        fs::remove(log);
        host.list.clear();
        host.notices.clear();
        host.finished = host.waits = 0;
        host.duringWait = nullptr;
    }

    QTemporaryDir folder;
    std::string log;
    ScriptedHost host;
    CutBatch batch{KELMORA_FAKE_EXTRACTOR_DIR};
};

TEST_F(CutBatchTest, EveryEntryIsCutOnceWhileTheListChanges)
{
    struct Row {
        const char* name;
        std::vector<const char*> before;
        std::vector<const char*> addedDuringTheFirstRun;  // after a CLEAR when clear is set
        bool clear;
        std::vector<std::string> expected;  // in the order cut
    };
    const Row rows[] = {
        {"an entry sorting first is added while b runs", {"b.avi", "c.avi"}, {"a.avi"}, false,
         {"out/b_%05d.jpg", "out/a_%05d.jpg", "out/c_%05d.jpg"}},
        {"CLEAR and new entries", {"a.avi", "b.avi"}, {"a.avi", "d.avi"}, true,
         {"out/a_%05d.jpg", "out/a (2)_%05d.jpg", "out/d_%05d.jpg"}},
        {"one path registered twice is two entries", {"a.avi", "a.avi"}, {}, false,
         {"out/a_%05d.jpg", "out/a (2)_%05d.jpg"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        for (const char* name : row.before) host.list.add(video(name));
        host.duringWait = [&](int run) {
            if (run == 0 && row.clear) host.list.clear();
            for (const char* name : run == 0 ? row.addedDuringTheFirstRun : std::vector<const char*>{})
                host.list.add(video(name));
        };
        EXPECT_EQ(batch.Run(host), CutBatchOutcome::Completed);
        EXPECT_EQ(outputs(), row.expected);
    }
}

TEST_F(CutBatchTest, NoCutOverwritesAnImage)
{
    struct Row {
        const char* name;
        std::vector<const char*> existing;  // in the destination before the batch
        std::vector<const char*> videos;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"other names and formats do not count", {"b_00001.jpg", "a_00001.png", "a1.jpg"}, {"v/a.avi"},
         {"out/a_%05d.jpg"}},
        {"an earlier image gets the next number", {"a_00001.jpg"}, {"v/a.avi"}, {"out/a (2)_%05d.jpg"}},
        {"the first free number", {"a_00001.jpg", "a (2)_00001.jpg"}, {"v/a.avi"}, {"out/a (3)_%05d.jpg"}},
        {"same names from two folders", {}, {"d100/MVI_0001.MOV", "d101/MVI_0001.MOV"},
         {"out/MVI_0001_%05d.jpg", "out/MVI_0001 (2)_%05d.jpg"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        fs::create_directories(path("out"));
        for (const char* name : row.existing) std::ofstream(path("out/") + name) << "old";
        for (const char* name : row.videos) host.list.add(video(name));
        EXPECT_EQ(batch.Run(host), CutBatchOutcome::Completed);
        EXPECT_EQ(outputs(), row.expected);
        for (const char* name : row.existing) EXPECT_EQ(contents(path("out/") + name), "old") << name;
    }
    reset();
    fs::create_directories(path("out"));
    fs::create_symlink(path("nowhere"), path("out/a_00001.jpg"));  // the extractor would write through it
    host.list.add(video("a.avi"));
    batch.Run(host);
    EXPECT_EQ(outputs(), std::vector<std::string>{"out/a (2)_%05d.jpg"});
}

TEST_F(CutBatchTest, OnlyFilesAreHandedToTheExtractor)
{
    host.list.add(video("a.avi"));
    fs::create_directories(path("sub"));
    host.list.add(path("sub"));
    ASSERT_EQ(::mkfifo(path("fifo.avi").c_str(), 0600), 0);
    host.list.add(path("fifo.avi"));
    host.list.add("/dev/null");
    fs::create_symlink(path("a.avi"), path("link.avi"));
    host.list.add(path("link.avi"));
    EXPECT_EQ(batch.Run(host), CutBatchOutcome::Completed);
    EXPECT_EQ(outputs(), (std::vector<std::string>{"out/a_%05d.jpg", "out/link_%05d.jpg"}));
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(host.finished, 1);
}

TEST_F(CutBatchTest, EveryFailedEntrySaysWhy)
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
        host.list.add(target);
        if (row.removeVideo) fs::remove(target);
        setenv("KELMORA_FAKE_EXIT", row.exitCode, 1);
        setenv("KELMORA_FAKE_FRAMES", row.frames, 1);
        EXPECT_EQ(batch.Run(host), CutBatchOutcome::CompletedWithFailures);
        ASSERT_EQ(batch.FailedEntries(), (std::vector<FailedEntry>{{target, row.reason}}));
        EXPECT_EQ(host.notices, (std::vector<std::string>{failedRunsNotice(batch.FailedEntries())}));
        EXPECT_EQ(host.finished, 0);
    }
}

TEST_F(CutBatchTest, AStartFailurePartwayNamesTheEntriesThatFailedBefore)
{
    // The extractor beside the program vanishes while the first run, which fails, is waited for.
    const std::string programFolder = path("program");
    fs::create_directories(programFolder);
    fs::create_symlink(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg", programFolder + "/ffmpeg");
    const std::string oldPath = getenv("PATH");
    setenv("PATH", path("nowhere").c_str(), 1);
    setenv("KELMORA_FAKE_EXIT", "1", 1);
    CutBatch fromProgram(programFolder);
    host.list.add(video("a.avi"));
    host.list.add(video("b.avi"));
    host.duringWait = [&](int) { fs::remove(programFolder + "/ffmpeg"); };
    const CutBatchOutcome outcome = fromProgram.Run(host);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(outcome, CutBatchOutcome::StartFailed);
    EXPECT_EQ(host.notices,
              (std::vector<std::string>{"ffmpeg を起動できませんでした。処理を中止します。",
                                        "次のファイルを変換できませんでした。\n" + path("a.avi") + "（終了コード 1）\n"
                                            + path("b.avi") + "（起動できませんでした）"}));
}

TEST_F(CutBatchTest, ADestinationThatCannotTakeImagesStopsBeforeAnyRun)
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
        {"no permission", path("locked/out"), EACCES,
         "保存先のフォルダ「" + path("locked/out") + "」を作成できませんでした。\n" + std::strerror(EACCES)},
    };
    host.list.add(video("a.avi"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host.notices.clear();
        host.settings.DestinationFolder = row.field;
        CutBatch refusing(KELMORA_FAKE_EXTRACTOR_DIR,
                          row.refusal ? CutBatch::FolderMaker([&row](const std::string&) { return row.refusal; })
                                      : CutBatch::FolderMaker());
        EXPECT_EQ(refusing.Run(host), CutBatchOutcome::DestinationRefused);
        EXPECT_EQ(host.notices, std::vector<std::string>{row.notice});
        EXPECT_FALSE(fs::exists(log));
    }
}

TEST_F(CutBatchTest, TheDestinationIsMadeSureOfBeforeEachRun)
{
    const std::string oldHome = getenv("HOME");
    setenv("HOME", path("home").c_str(), 1);
    host.settings.DestinationFolder = "~/pics/";
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi"}) host.list.add(video(name));
    const std::string file = video("file");
    host.duringWait = [&](int run) {
        if (run == 0) host.settings.DestinationFolder = path("later/sub");
        if (run == 1) host.settings.DestinationFolder = file;  // cannot be made: said once, both entries fail
    };
    const CutBatchOutcome outcome = batch.Run(host);
    setenv("HOME", oldHome.c_str(), 1);
    EXPECT_EQ(outcome, CutBatchOutcome::CompletedWithFailures);
    EXPECT_EQ(outputs(), (std::vector<std::string>{"home/pics/a_%05d.jpg", "later/sub/b_%05d.jpg"}));
    ASSERT_EQ(host.notices.size(), 2u);
    EXPECT_EQ(host.notices[0], "保存先のフォルダ「" + file + "」を作成できませんでした。\n" + std::strerror(ENOTDIR));
    EXPECT_EQ(batch.FailedEntries(),
              (std::vector<FailedEntry>{{path("c.avi"), "保存先のフォルダを作成できませんでした"},
                                        {path("d.avi"), "保存先のフォルダを作成できませんでした"}}));
}

TEST_F(CutBatchTest, AStopEndsTheRunningExtractorAndNamesWhatWasNotFinished)
{
    const std::string hold = path("hold");
    ASSERT_TRUE(test::makeFakeExtractorHold(hold));
    setenv("KELMORA_FAKE_HOLD", hold.c_str(), 1);
    setenv("KELMORA_FAKE_HOLD_NAME", "b.avi", 1);
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) host.list.add(video(name));
    std::optional<test::HeldRun> held;
    host.duringWait = [&](int run) {
        if (run != 1) return;
        held.emplace(hold);  // b has written its images and waits until the end of the test
        batch.RequestStop();
    };
    EXPECT_EQ(batch.Run(host), CutBatchOutcome::Stopped);
    EXPECT_EQ(outputs().size(), 2u);
    EXPECT_TRUE(fs::exists(path("out/b_00003.jpg")));  // what the stopped run wrote stays
    EXPECT_EQ(batch.FailedEntries(), (std::vector<FailedEntry>{{path("b.avi"), "途中で中止しました"},
                                                                {path("c.avi"), "中止のため未変換"}}));
    EXPECT_EQ(host.notices, (std::vector<std::string>{failedRunsNotice(batch.FailedEntries())}));
    EXPECT_EQ(host.finished, 0);
    EXPECT_FALSE(batch.Running());
}

TEST_F(CutBatchTest, ARunStartedFromAWaitIsRefused)
{
    host.list.add(video("a.avi"));
    CutBatchOutcome nested = CutBatchOutcome::NothingToDo;
    host.duringWait = [&](int) {
        EXPECT_TRUE(batch.Running());
        nested = batch.Run(host);
    };
    EXPECT_EQ(batch.Run(host), CutBatchOutcome::Completed);
    EXPECT_EQ(nested, CutBatchOutcome::AlreadyRunning);
    EXPECT_FALSE(batch.Running());
    EXPECT_EQ(test::readFakeExtractorLog(log).size(), 1u);
}

TEST_F(CutBatchTest, AnEmptyListDoesNothing)
{
    EXPECT_EQ(batch.Run(host), CutBatchOutcome::NothingToDo);
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(host.finished, 0);
}

}  // namespace
}  // namespace kelmora
