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

// Why an entry failed, as a short code: "exit_status 3", "destination cannot_make", ...
inline std::string reasonCode(const CutFailure& f)
{
    static const char* const reasons[] = {"",       "not_found", "destination", "not_started", "exit_status",
                                          "signal", "no_image",  "stopped",     "not_run"};
    static const char* const destinations[] = {"", "empty", "not_full_path", "cannot_make", "cannot_write"};
    std::string code = reasons[static_cast<int>(f.why)];
    if (f.why == CutReason::Destination) code += std::string(" ") + destinations[static_cast<int>(f.destination)];
    if (f.why == CutReason::ExitStatus) code += " " + std::to_string(f.exitStatus);
    if (f.why == CutReason::Signal) code += " " + std::to_string(f.exitSignal);
    return code;
}

// The failed entries of a report as "target: code", in order.
inline std::vector<std::string> failedOf(const std::vector<FailedEntry>& failed)
{
    std::vector<std::string> lines;
    for (const FailedEntry& entry : failed) lines.push_back(entry.target + ": " + reasonCode(entry.failure));
    return lines;
}

// Every step the session reports, as text, in order; the notices it asks for in short words.
class Recorder : public CutSessionListener {
public:
    std::vector<std::string> steps;
    std::vector<std::string> notices;
    std::vector<CutEntryResult> results;
    int beeps = 0;

    void batchStarted(std::size_t entries) override { steps.push_back("batch of " + std::to_string(entries)); }
    void entryStarted(const CutJob& job) override
    {
        steps.push_back(std::to_string(job.number) + "/" + std::to_string(job.total) + " "
                        + fs::path(job.target).filename().string());
    }
    void entryFinished(const CutEntryResult& r) override
    {
        results.push_back(r);
        static const char* const status[] = {"cut", "failed", "skipped", "done"};
        const std::string code = reasonCode(r.failure);
        steps.push_back(std::to_string(r.number) + "/" + std::to_string(r.total) + " "
                        + fs::path(r.target).filename().string() + " " + status[static_cast<int>(r.status)]
                        + (code.empty() ? "" : " " + code));
    }
    void beep() override { ++beeps; }
    void destinationRefused(const std::string& folder, DestinationProblem problem, int error) override
    {
        CutFailure failure;
        failure.why = CutReason::Destination;
        failure.destination = problem;
        notices.push_back(reasonCode(failure) + " " + folder + (error ? " " + std::to_string(error) : ""));
    }
    void extractorNotStarted(const std::string& program, const std::string&) override
    {
        notices.push_back("not started " + program);
    }
    void failuresToList(const std::vector<FailedEntry>& failed) override
    {
        std::string text = "failures:";
        for (const std::string& line : failedOf(failed)) text += " [" + line + "]";
        notices.push_back(text);
    }
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
                                 "KELMORA_FAKE_HOLD_NAME", "KELMORA_FAKE_NO_KEY_FRAMES"})
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
