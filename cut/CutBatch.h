#pragma once
// The cut batch: one extractor run per registered target, in list order, one
// after another. The batch knows no window: a front end supplies the target
// list, the options, the wait and the notices through CutBatchHost, and may
// ask the batch to stop while it waits.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "settings/CutSettings.h"

namespace kelmora {

namespace platform {
class ChildProcess;
}

class CutBatchHost {
public:
    virtual ~CutBatchHost() = default;

    // The list as it stands now; read afresh after every run, since the front
    // end may change it while a run is waited for.
    virtual std::size_t TargetCount() const = 0;
    virtual std::string Target(std::size_t index) const = 0;
    // What stays the same for an entry while others come and go: one number
    // per registration (two registrations of one path are two entries).
    virtual std::uint64_t TargetId(std::size_t index) const = 0;
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
    Completed,              // every run wrote its images
    CompletedWithFailures,  // every entry was tried, some gave no images
    StartFailed,            // the extractor could not be started; the rest was not run
    Stopped,                // the user stopped the batch
    DestinationRefused,     // the destination is not a full path or cannot be made; nothing ran
    Aborted,                // the batch could not begin (no destination folder) or hit an error
    AlreadyRunning,         // a batch was running already; nothing was done
};

// An entry that was not cut whole, and why, in a few words for the user.
struct FailedEntry {
    std::string target;
    std::string reason;
    bool operator==(const FailedEntry&) const = default;
};

class CutBatch {
public:
    // Makes a folder with its parents: 0, or the system's error number.
    using FolderMaker = std::function<int(const std::string& folder)>;

    explicit CutBatch(std::string programFolder, FolderMaker makeFolder = {});

    // Runs every entry once; see CutBatchOutcome. Beeps at the end and on every failure.
    CutBatchOutcome Run(CutBatchHost& host);

    // Ends the running extractor (its images so far stay) and the batch after
    // it; what was not finished is named at the end. Nothing when no batch runs.
    void RequestStop();

    bool Running() const { return m_running; }
    bool StopRequested() const { return m_stopRequested; }
    // The entry being cut (empty before the first).
    const std::string& CurrentTarget() const { return m_currentTarget; }
    const std::string& OutputPattern() const { return m_outputPattern; }
    // Entries not cut whole, in the order they were tried.
    const std::vector<FailedEntry>& FailedEntries() const { return m_failed; }

private:
    CutBatchOutcome RunEntries(CutBatchHost& host);
    // The first entry in list order not yet taken in this batch; the count when none is left.
    std::size_t NextEntry(const CutBatchHost& host) const;
    // The folder the next run writes into, made sure of; empty (after one notice
    // per folder) when it cannot take images.
    std::string PrepareDestination(CutBatchHost& host, const std::string& fieldText, std::string& reason);
    // The images' name for target in folder: the first that neither the disk
    // nor an earlier entry of this batch has.
    std::string ReserveOutputName(const std::string& target, const std::string& folder, const TCutSettings& settings);
    // Cuts one entry; false when the extractor could not be started.
    bool CutEntry(CutBatchHost& host, const std::string& target);
    CutBatchOutcome Finish(CutBatchHost& host);

    std::string m_programFolder;
    FolderMaker m_makeFolder;
    bool m_running = false;
    bool m_stopRequested = false;
    platform::ChildProcess* m_run = nullptr;  // the run being waited for
    std::string m_currentTarget;
    std::string m_outputPattern;
    std::vector<FailedEntry> m_failed;
    std::set<std::uint64_t> m_taken;           // entries this batch has taken
    std::set<std::string> m_handedOut;         // first image files this batch has named
    std::set<std::string> m_refusedFolders;    // destinations already reported
};

// The notice after a batch with entries not cut whole: the heading, then the
// entries one a line with their reason, at most ten, then "ほか N 件" for the rest.
std::string failedRunsNotice(const std::vector<FailedEntry>& failed);

// The destination folder the field's text stands for: no trailing separator,
// a leading "~" the home folder.
std::string destinationFolder(const std::string& fieldText);

}  // namespace kelmora
