#pragma once
// The cut batch: one extractor run per registered target, in list order, one
// after another. The batch knows no window: a front end supplies the target
// list, the options, the wait and the notices through CutBatchHost.

#include <cstddef>
#include <string>
#include <vector>

#include "app/CutSettings.h"

namespace kelmora {

namespace platform {
class ChildProcess;
}

class CutBatchHost {
public:
    virtual ~CutBatchHost() = default;

    // The list as it stands now; read afresh before every entry, since the
    // front end may change it while a run is waited for.
    virtual std::size_t TargetCount() const = 0;
    virtual std::string Target(std::size_t index) const = 0;
    // The options as they stand now; taken just before each start.
    virtual TCutSettings Settings() const = 0;
    // Returns once the run has ended. A window keeps handling its events here.
    virtual void WaitForEnd(platform::ChildProcess& run) = 0;
    // A message for the user (one OK button).
    virtual void Notice(const std::string& text) = 0;
    // Every run succeeded: the finishing animation may play.
    virtual void Finished() = 0;
};

enum class CutBatchOutcome {
    NothingToDo,            // the list was empty
    Completed,              // every run ended with status 0
    CompletedWithFailures,  // every entry ran, some ended with a non-zero status
    StartFailed,            // the extractor could not be started; the rest was not run
    Aborted,                // the batch could not begin (no destination folder) or hit an error
    AlreadyRunning,         // a batch was running already; nothing was done
};

class CutBatch {
public:
    explicit CutBatch(std::string programFolder);

    // Runs every entry; see CutBatchOutcome. Beeps at the end and on every failure.
    CutBatchOutcome Run(CutBatchHost& host);

    bool Running() const { return m_running; }
    // The entry being cut (empty before the first).
    const std::string& CurrentTarget() const { return m_currentTarget; }
    const std::string& OutputPattern() const { return m_outputPattern; }
    // Entries whose run ended with a non-zero status, in the order they ran.
    const std::vector<std::string>& FailedTargets() const { return m_failed; }

private:
    CutBatchOutcome RunEntries(CutBatchHost& host);

    std::string m_programFolder;
    bool m_running = false;
    std::string m_currentTarget;
    std::string m_outputPattern;
    std::vector<std::string> m_failed;
};

// The notice after a batch with failed runs: the heading, then the entries one
// a line, at most ten, then "ほか N 件" for the rest.
std::string failedRunsNotice(const std::vector<std::string>& failed);

}  // namespace kelmora
