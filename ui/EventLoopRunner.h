#pragma once
// Runs the cut session's jobs while the window goes on handling its events:
// the wait for a run's end is a nested event loop, so the mascot moves, the
// options and the list can change, and Esc can stop the batch meanwhile.
// Asked to, it reads how far each run is: the extractor's progress report,
// against the video's duration from the prober beside the extractor.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "cut/ProcessRunner.h"
#include "cut/RunProgress.h"
#include "settings/CutSettings.h"

namespace kelmora {

class EventLoopRunner : public ProcessRunner {
public:
    // How far a run is, from 0 to 1.
    using ProgressHook = std::function<void(std::uint64_t job, double fraction)>;

    EventLoopRunner() = default;
    // options: the session's, read as each run starts (a range cuts less of the video).
    EventLoopRunner(const TCutSettings& options, ProgressHook hook);

    bool start(const CutJob& job, std::string& error) override;
    void stop(std::uint64_t job) override;
    // Wakes once the moment a run ends (see ProcessEndWatch).
    CutRunEnd waitForEnd() override;

private:
    struct Progress {
        RunProgress run;
        int told = -1;  // the last whole percent told
    };

    // Reads the progress report, or the prober's answer, and tells the hook
    // when the run has gone on by a whole percent.
    void readProgress(std::uint64_t job, Progress& progress, bool probe);
    void runEnded(Run& run) override;

    const TCutSettings* m_options = nullptr;
    ProgressHook m_hook;
    std::map<std::uint64_t, Progress> m_progress;  // by job, while its run goes on
};

}  // namespace kelmora
