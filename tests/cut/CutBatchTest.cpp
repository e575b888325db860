// The batch without a window: a host that changes the list during a wait.
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include "cut/CutBatch.h"
#include "platform/Beep.h"
#include "platform/Process.h"
#include "tests/support/FakeExtractorLog.h"

namespace kelmora {
namespace {

class ScriptedHost : public CutBatchHost {
public:
    std::vector<std::string> list;
    TCutSettings settings;
    std::function<void(int)> duringWait;  // gets the number of the run
    std::vector<std::string> notices;
    int finished = 0;
    int waits = 0;

    std::size_t TargetCount() const override { return list.size(); }
    std::string Target(std::size_t index) const override { return list.at(index); }
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
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        log = folder.path().toStdString() + "/runs.log";
        setenv("KELMORA_FAKE_LOG", log.c_str(), 1);
        host.settings.DestinationFolder = folder.path().toStdString() + "/out";
    }
    void TearDown() override { unsetenv("KELMORA_FAKE_LOG"); }

    QTemporaryDir folder;
    std::string log;
    ScriptedHost host;
    CutBatch batch{KELMORA_FAKE_EXTRACTOR_DIR};
};

TEST_F(CutBatchTest, AnEntryAddedBeforeTheCurrentOneRunsTheCurrentOneAgain)
{
    host.list = {"/v/b.avi", "/v/c.avi"};
    host.duringWait = [this](int run) {
        if (run == 0) host.list.insert(host.list.begin(), "/v/a.avi");
    };
    EXPECT_EQ(batch.Run(host), CutBatchOutcome::Completed);
    const auto runs = test::readFakeExtractorLog(log);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].back(), host.settings.DestinationFolder + "/b_%05d.jpg");
    EXPECT_EQ(runs[1].back(), host.settings.DestinationFolder + "/b_%05d.jpg");
    EXPECT_EQ(runs[2].back(), host.settings.DestinationFolder + "/c_%05d.jpg");
    EXPECT_EQ(host.finished, 1);
}

TEST_F(CutBatchTest, ARunStartedFromAWaitIsRefused)
{
    host.list = {"/v/a.avi"};
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
