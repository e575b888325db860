#pragma once
// Runs the session's jobs for kelmora-cli: each extractor in a process group
// of its own (the interrupt key reaches this program alone, which then asks
// each run to end), with its progress read from a pipe while a display is
// shown. The wait watches every run's end, every pipe and the interrupt key
// at once.

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/ExtractorProgress.h"
#include "cli/ProgressView.h"
#include "cut/CutSession.h"
#include "cut/ProcessRunner.h"
#include "cut/RunProgress.h"
#include "platform/Interrupt.h"
#include "platform/OutputPipe.h"
#include "platform/Process.h"

namespace kelmora::cli {

// Hears the runner's wait.
class RunnerObserver {
public:
    virtual ~RunnerObserver() = default;
    // How long the wait may last before the observer wants a word (a redraw);
    // negative: until something happens.
    virtual int msUntilDue() = 0;
    // The wait woke: time passed or something happened.
    virtual void wokeUp() = 0;
    // The interrupt key was pressed (requests: how many times since the last call).
    virtual void interrupted(int requests) = 0;
};

class CliRunner : public ProcessRunner {
public:
    struct Config {
        bool readProgress = false;               // ask each run for its progress (a display shows it)
        std::string prober;                      // asked for each video's duration; empty: no durations
        double skipSeconds = 0;                  // a range's start second: that much of each video is not cut
        std::optional<std::int64_t> frameLimit;  // a range's number of frames
    };

    CliRunner(Config config, platform::InterruptWatch* interrupts, RunnerObserver* observer);

    bool start(const CutJob& job, std::string& error) override;
    CutRunEnd waitForEnd() override;
    void stop(std::uint64_t job) override;

    // The running jobs as the display shows them, in the order they started.
    std::vector<RunningJobView> runningJobs() const;

private:
    // Reads what the run (and its progress, when it has one) said so far.
    void readPipes(Run& run, RunProgress* progress);
    void runEnded(Run& run) override;

    Config m_config;
    platform::InterruptWatch* m_interrupts;
    RunnerObserver* m_observer;
    std::map<std::uint64_t, RunProgress> m_progress;  // by job, while its run goes on
};

}  // namespace kelmora::cli
