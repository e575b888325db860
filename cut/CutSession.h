#pragma once
// The cut workflow without a window: the options and their rules, the list of
// targets, and the batch that cuts every entry with the extractor. A front end
// (the window, the terminal program) keeps the options up to date, registers
// targets, starts and waits for the runs through a CutRunner, and shows what
// the session reports through a CutSessionListener. The session itself shows
// nothing and waits for nothing: it hands out jobs and takes their ends.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "cut/CutCommand.h"
#include "cut/FramePicking.h"
#include "cut/ImageFiles.h"
#include "cut/Manifest.h"
#include "cut/TargetList.h"
#include "settings/CutSettings.h"

namespace kelmora {

// What a rule tells the user when it changes a choice the user did not touch.
enum class RuleNotice {
    None,
    RangeKeepsEveryFrame,  // a range was chosen: the interval goes back to every frame
    IntervalCutsWhole,     // an interval was chosen: the range goes back to the whole video
};

// What an option rule decided after a choice of its group changed.
struct OptionRuleResult {
    bool valuesApply = false;              // the group's own values are in use (their fields take input)
    RuleNotice notice = RuleNotice::None;  // for the user, before the changes
    std::vector<ChoiceField> turnOn;       // choices to turn on afterwards, each as a click on it would
    bool operator==(const OptionRuleResult&) const = default;
};

// The rules that keep the choices consistent. A range of frames from a start
// second and a number of frames a second never go together: the group the
// user touched last keeps its choice, the other goes back to every frame, and
// the notice says why.
OptionRuleResult rangeRule(const TCutSettings& settings);
OptionRuleResult intervalRule(const TCutSettings& settings);
OptionRuleResult sizeRule(const TCutSettings& settings);
// The rule of group, applied to settings as a click on its choice applies
// it; its notice (None for a group without one).
RuleNotice applyGroupRule(TCutSettings& settings, ChoiceGroup group);
// Every group's rule in the order a settings file is read (the interval last,
// so a file with both keeps the interval); the notices given, in that order.
std::vector<RuleNotice> applyOptionRules(TCutSettings& settings);

// One extractor run of a batch.
struct CutJob {
    std::uint64_t id = 0;          // unique within the session
    std::size_t number = 0;        // entry k of total: the k-th entry the batch has taken, from 1
    std::size_t total = 0;         // the entries taken so far and those still waiting in the list
    std::string target;            // the entry as registered
    TargetList::Serial entry = 0;  // the list entry's registration number
    std::string program;           // the extractor's full path
    ExtractorCommand command;      // what the extractor is started with
    std::string outputPattern;     // where the images go, as the extractor reads it ("/out/a_%05d.jpg")
    std::string outputName;        // the images' name, claimed for this run ("a", "a (2)")
    std::string firstImage;        // the file of the first image ("/out/a_00001.jpg"), made by the claim

    // Picking and names by time (FramePicking.h).
    TCutSettings settings;     // the options the run was started with
    std::string imageFolder;   // the destination folder the run writes into
    bool fallbackRun = false;  // a second run for key frames in a video that flags none
    // What the prober said of the video (known false without a prober), and
    // what the cut takes instead of the interval asked for.
    VideoFacts video;
    bool probed = false;  // the prober was asked, whatever it answered: there is no second probe
    RateChange rate = RateChange::None;
    bool startsPastEnd = false;  // the range's start second is at or past the video's end
    std::string replaceLock;     // the hold on the name of a run that replaces images (claimReplacing)
};

// How a started run ended.
struct CutRunEnd {
    std::uint64_t job = 0;
    int exitStatus = 0;     // 0 for success; the exit code, or 128 + N for a run ended by signal N
    int exitSignal = 0;     // the signal that ended the run; 0 when it exited by itself
    std::string errorLine;  // the extractor's own last words on what went wrong (ExtractorErrors)
    // The frames of the extractor's first output, as its last progress line
    // said; a run without repeats counts there what it looked at.
    std::optional<std::int64_t> framesSeen;
    std::string inputTrouble;  // its words on damaged input, though it may have ended well (ExtractorErrors)
};

// Starts the session's runs and tells it when they end.
class CutRunner {
public:
    virtual ~CutRunner() = default;
    // Starts the job's run. False, with the program and the system's reason
    // in error, when it could not be started.
    virtual bool start(const CutJob& job, std::string& error) = 0;
    // Returns once one of the started runs has ended; the session asks again
    // for each. Meanwhile the front end goes on with its own events (a window
    // handles its input, a terminal program draws its progress), which may
    // call into the session: change the options or the list, or ask to stop.
    virtual CutRunEnd waitForEnd() = 0;
    // Asks a started run to end; the extractor gets time to close its files.
    virtual void stop(std::uint64_t job) = 0;
};

enum class CutBatchOutcome {
    NothingToDo,            // the list was empty
    Completed,              // every run wrote its images
    CompletedWithFailures,  // every entry was tried, some gave no images
    StartFailed,            // the extractor could not be started; the rest was not run
    Stopped,                // the user stopped the batch
    DestinationRefused,     // the destination is empty, not a full path or cannot be made; nothing ran
    Aborted,                // the batch hit an error it could not go on after
    AlreadyRunning,         // a batch was running already; nothing was done
};

// Why an entry was not cut whole. The front ends put it into words.
enum class CutReason {
    None,
    NotFound,     // the target is gone
    Destination,  // the destination cannot take the images (see DestinationProblem)
    NotStarted,   // the extractor could not be started
    ExitStatus,   // the extractor failed
    Signal,       // the extractor was ended by a signal
    NoImage,      // the extractor succeeded but wrote no image
    Stopped,      // the user stopped the batch during the run
    NotRun,       // the user stopped the batch before the entry's turn
};

// What is wrong with a destination.
enum class DestinationProblem {
    None,
    Empty,        // no folder given
    NotFullPath,  // a relative folder would land wherever the program happened to start
    CannotMake,   // the folder or a parent cannot be made (error)
    CannotWrite,  // no image can be made in it (error)
};

// Why an entry was not cut whole, with what the system or the extractor said.
struct CutFailure {
    CutReason why = CutReason::None;
    DestinationProblem destination = DestinationProblem::None;  // for CutReason::Destination
    int error = 0;                                              // the system's error number (Destination)
    std::string detail;  // the extractor's last error line (ExitStatus, Signal), the start's error (NotStarted)
    int exitStatus = 0;  // of the run, when there was one
    int exitSignal = 0;  // the signal that ended the run, when one did
    // NoImage: the range started at or past the end of a video this long (seconds).
    std::optional<double> videoSeconds;
    bool operator==(const CutFailure&) const = default;
};

// An entry that was not cut whole, and why.
struct FailedEntry {
    std::string target;
    CutFailure failure;
    bool operator==(const FailedEntry&) const = default;
};

// How a run that wrote its images differed from what was asked.
enum class CutNote {
    None,
    NoKeyFrames,  // the video flags no key frame: its images are those of the scene changes instead
};

enum class CutEntryStatus {
    Cut,      // the run wrote its images
    Failed,   // see the reason
    Skipped,  // not a file (a folder, a FIFO, a device): nothing to cut
    Done,     // cut before with the same options, every image still there: passed over
};

// What a run that wrote its images did beside what was asked: the user reads
// it beside the count.
struct CutWarning {
    std::string inputTrouble;                    // the extractor's words on damaged input ("partial file")
    std::optional<std::int64_t> declaredFrames;  // the frames the video declares, to set beside the images
    RateChange rate = RateChange::None;          // each frame once, or the first frame only
    double videoRate = 0;                        // the video's own frames a second, for RateChange::EveryFrame
    // Something for the user to read.
    bool any() const { return !inputTrouble.empty() || rate != RateChange::None; }
    bool operator==(const CutWarning&) const = default;
};

// What became of one entry the batch took.
struct CutEntryResult {
    std::uint64_t job = 0;  // the run's job; 0 when the entry got no run
    std::size_t number = 0;
    std::size_t total = 0;
    std::string target;
    TargetList::Serial entry = 0;  // the list entry's registration number
    CutEntryStatus status = CutEntryStatus::Cut;
    CutFailure failure;      // for a failed entry; exitStatus and exitSignal for every run
    std::size_t images = 0;  // the whole images the run left

    // Picking and names by time (FramePicking.h).
    std::vector<TimedImage> timedImages;  // a run named by time: its images, earliest first
    CutNote note = CutNote::None;         // how the run differed from what was asked
    std::optional<std::size_t> repeats;   // a run without repeats: the images it left out
    CutWarning warning;                   // for a run that wrote its images
};

struct CutBatchReport {
    CutBatchOutcome outcome = CutBatchOutcome::NothingToDo;
    std::size_t entries = 0;          // entries the batch took
    std::size_t cut = 0;              // of them, the ones whose run wrote its images
    std::vector<FailedEntry> failed;  // in the order they were tried
    std::vector<std::string> notRun;  // files of the list the batch never took (after a stop or a start failure)
    std::string error;                // what ended an Aborted batch
    std::size_t done = 0;             // entries passed over as cut before (CutEntryStatus::Done)
};

// Hears what the session does; every step of a batch, in order.
class CutSessionListener {
public:
    virtual ~CutSessionListener() = default;
    virtual void batchStarted(std::size_t /*entries*/) {}
    virtual void entryStarted(const CutJob& /*job*/) {}
    virtual void entryFinished(const CutEntryResult& /*result*/) {}
    // The system's sound: a notice follows, or the batch has ended.
    virtual void beep() {}
    // The destination cannot take images: told once per folder in a batch.
    // folder: the field's text for Empty and NotFullPath, else the folder.
    virtual void destinationRefused(const std::string& /*folder*/, DestinationProblem /*problem*/, int /*error*/) {}
    // The extractor could not be started (error: the system's reason); the batch ends.
    virtual void extractorNotStarted(const std::string& /*program*/, const std::string& /*error*/) {}
    // The entries not cut whole, to be listed for the user: at the end of a
    // batch, or after a start failure when entries had failed before it.
    virtual void failuresToList(const std::vector<FailedEntry>& /*failed*/) {}
    virtual void batchFinished(const CutBatchReport& /*report*/) {}
};

class CutSession {
public:
    // Makes a folder with its parents: 0, or the system's error number.
    using FolderMaker = std::function<int(const std::string& folder)>;
    // Claims a name for a run's images in a folder (claimOutputName).
    using NameClaimer =
        std::function<NameClaim(const std::string& folder, const std::string& name, TOutputFormat format)>;
    // Claims a name whose images a run replaces (claimReplacing); mayReplace
    // says whether another run may be writing the images of a name.
    using ReplacingClaimer =
        std::function<NameClaim(const std::string& folder, const std::string& name, TOutputFormat format,
                                const std::function<bool(const std::string& name)>& mayReplace)>;

    // programFolder: where the extractor is looked for first, before PATH.
    // A dry run that writes nothing passes its own folder maker and claimers.
    explicit CutSession(std::string programFolder, FolderMaker makeFolder = {}, NameClaimer claimName = {},
                        ReplacingClaimer claimReplacing = {});
    CutSession(const CutSession&) = delete;
    CutSession& operator=(const CutSession&) = delete;

    // Hears every step from now on; nullptr: no one does.
    void setListener(CutSessionListener* listener);

    // The extractor: a bare name (looked for beside the program, then on PATH)
    // or a path. The system's extractor name unless set.
    void setExtractor(std::string nameOrPath) { m_extractor = std::move(nameOrPath); }

    // Asks what a target's video needs before its run; by default the prober
    // beside the extractor (proberBeside) is run once a video.
    using VideoProber = std::function<VideoFacts(const std::string& extractor, const std::string& target)>;
    void setVideoProber(VideoProber prober) { m_probeVideo = std::move(prober); }

    // ---- The options. A batch reads them afresh before each run.
    const TCutSettings& options() const { return m_options; }
    void setOptions(const TCutSettings& options) { m_options = options; }
    void setInteger(IntegerField field, std::int32_t value) { m_options.*field = value; }
    // On turns the other choices of its group off; the group's rule is the caller's to run.
    void setChoice(ChoiceField choice, bool on);
    // The destination field's text. Kept without a trailing separator, which is
    // returned: what the field settles on and its hint shows.
    std::string setDestination(const std::string& fieldText);

    // ---- The targets. A front end may change the list during a batch.
    TargetList& targets() { return m_targets; }
    const TargetList& targets() const { return m_targets; }

    // ---- Going on after a batch that was cut short
    // On: the next batches pass over what was cut whole before (as
    // ExistingImages::Skip does), and a video whose run was cut short (its
    // record in the destination's manifest never finished) has the images of
    // that run removed and is cut again whole. Use it only when no other run
    // into the destination is going on, since such a run looks cut short too.
    void setResume(bool on) { m_resume = on; }
    // On: the batch only shows what it would do. The manifest is read, never
    // written, and no image of a run cut short is removed.
    void setDryRun(bool on) { m_dryRun = on; }
    bool resume() const { return m_resume; }

    // ---- The batch
    // Cuts every entry of the list once, in list order, with at most maxRuns
    // runs at a time, and returns when the last has ended. Each entry is cut
    // with the options as they stand when its run starts, into the
    // destination made sure of just before; an entry added meanwhile is cut
    // too, and a path registered twice is cut twice.
    CutBatchReport runBatch(CutRunner& runner, std::size_t maxRuns = 1);
    // Ends the running extractors (their images so far stay) and the batch
    // after them; what was not finished is named at the end. Nothing when no batch runs.
    void requestStop();

    bool running() const { return m_running; }
    bool stopRequested() const { return m_stopRequested; }
    // The runs going on now, in the order they started.
    const std::vector<CutJob>& runningJobs() const { return m_jobs; }

private:
    CutBatchOutcome runEntries(CutRunner& runner, std::size_t maxRuns);
    // The index of the first entry in list order not yet taken in this batch;
    // the largest size_t when none is left.
    std::size_t nextEntry();
    // How many entries of the list this batch has not taken yet.
    std::size_t untakenCount();
    // Takes entry index and starts its run when it is a file; false when the extractor could not be started.
    bool startEntry(CutRunner& runner, std::size_t index);
    void finishRun(const CutRunEnd& end);
    // The folder the next run writes into, made sure of; empty (after one notice
    // per folder) when it cannot take images, with the failure in failure.
    std::string prepareDestination(const std::string& fieldText, CutFailure& failure);
    // The files of the list this batch has not taken.
    std::vector<std::string> untakenFiles();
    CutBatchOutcome finish();
    void fail(const CutEntryResult& entry);
    // The destination's manifest as this batch knows it: read at its first use in the batch.
    Manifest& manifestOf(const std::string& folder);
    // Removes the images (and hold) of the runs of video cut short in folder.
    void removeCutShort(Manifest& manifest, const std::string& folder, const std::string& video);
    // The end of a run: its record in the manifest, its hold on its name let go.
    void closeRun(const CutJob& job, std::size_t images, bool finished);

    // The images a run left, put in order (see tidyImages, nameImagesByTime).
    std::size_t tidyRun(const CutJob& job, bool lastMayBePartial, CutEntryResult* entry);
    // Starts the run of scene changes in place of key frames for a video that
    // flags none; false when it could not be started.
    bool startFallback(const CutJob& job);

    std::string m_programFolder;
    FolderMaker m_makeFolder;
    NameClaimer m_claimName;
    ReplacingClaimer m_claimReplacing;
    std::string m_extractor;
    VideoProber m_probeVideo;
    CutSessionListener* m_listener;
    TCutSettings m_options;
    TargetList m_targets;

    bool m_running = false;
    bool m_stopRequested = false;
    CutRunner* m_runner = nullptr;  // of the batch that runs
    std::vector<CutJob> m_jobs;
    std::uint64_t m_nextJobId = 1;
    std::vector<FailedEntry> m_failed;
    std::size_t m_cut = 0;
    std::unordered_set<TargetList::Serial> m_taken;    // entries this batch has taken
    std::size_t m_cursor = 0;                          // entries before it are all taken
    std::uint64_t m_listSeen = 0;                      // the list's change count m_cursor was found at
    std::size_t m_untaken = 0;                         // entries of the list not taken yet
    std::optional<std::uint64_t> m_untakenSeen;        // the list's change count m_untaken was counted at
    std::unordered_set<std::string> m_refusedFolders;  // destinations already reported
    bool m_resume = false;
    bool m_dryRun = false;
    std::size_t m_done = 0;                       // entries passed over as cut before
    std::map<std::string, Manifest> m_manifests;  // by destination folder, for this batch
    // By job: the destination and what its run's manifest lines say.
    std::map<std::uint64_t, std::pair<std::string, ManifestRecord>> m_records;
};

// The destination folder the field's text stands for: no trailing separator,
// a leading "~" the home folder.
std::string destinationFolder(const std::string& fieldText);

}  // namespace kelmora
