#pragma once
// A cut session with a listener that records every step, run with the fake
// extractor, which logs each run's arguments.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cut/CutSession.h"
#include "platform/Paths.h"
#include "tests/support/Environment.h"
#include "tests/support/FakeExtractorLog.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitingRunner.h"

namespace kelmora::test {

namespace fs = std::filesystem;

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
        test::setEnvironment("KELMORA_FAKE_LOG", log);
        session.setListener(&recorder);
        setDestination(dir / "out");
    }
    void TearDown() override
    {
        for (const char* name : {"KELMORA_FAKE_LOG", "KELMORA_FAKE_FRAMES", "KELMORA_FAKE_EXIT", "KELMORA_FAKE_HOLD",
                                 "KELMORA_FAKE_HOLD_NAME"})
            test::setEnvironment(name, "");
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
    // The output pattern of every run so far, below the test's folder, with "/"
    // between its parts (the names in these tests are ASCII).
    std::vector<std::string> outputs() const
    {
        std::vector<std::string> names;
        for (const auto& run : test::readFakeExtractorLog(log)) {
            std::string name = run.back().substr(dir.path().size() + 1);
            std::replace(name.begin(), name.end(), platform::separatorChar(platform::nativePathStyle()), '/');
            names.push_back(name);
        }
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

    TempFolder dir;
    std::string log;
    Recorder recorder;
    WaitingRunner runner;
    CutSession session{KELMORA_FAKE_EXTRACTOR_DIR};
};

}  // namespace kelmora::test
