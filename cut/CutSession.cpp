#include "cut/CutSession.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "cut/RunProgress.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/System.h"

namespace kelmora {

namespace p = platform;

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Sets a value for the length of a scope and puts the old one back however the scope ends.
template <typename T>
class ScopedValue {
public:
    ScopedValue(T& target, T value) : m_target(target), m_old(target) { m_target = value; }
    ~ScopedValue() { m_target = m_old; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& m_target;
    T m_old;
};

CutSessionListener& nobody()
{
    static CutSessionListener none;
    return none;
}

// The extractor's status once it has closed its files after a request to end.
constexpr int kClosedOnRequestStatus = 255;

CutFailure failureOf(CutReason why, DestinationProblem destination = DestinationProblem::None, int error = 0)
{
    CutFailure failure;
    failure.why = why;
    failure.destination = destination;
    failure.error = error;
    return failure;
}

// Why a run that ended gave no whole set of images (CutReason::None when it did).
CutFailure judgeRun(const CutRunEnd& end, bool stopped, std::size_t images)
{
    CutFailure failure;
    failure.exitStatus = end.exitStatus;
    failure.exitSignal = end.exitSignal;
    const bool endedEarly = end.exitSignal != 0 || end.exitStatus != 0;
    if (stopped && endedEarly) {
        failure.why = CutReason::Stopped;
    } else if (end.exitSignal != 0) {
        failure.why = CutReason::Signal;
        failure.detail = end.errorLine;
    } else if (end.exitStatus != 0) {
        failure.why = CutReason::ExitStatus;
        failure.detail = end.errorLine;
    } else if (images == 0) {
        // A start second past the end of the video, for one, ends with status 0 and no image.
        failure.why = CutReason::NoImage;
    }
    return failure;
}

OptionRuleResult exclusiveRule(bool chosen, bool otherChosen, RuleNotice notice, ChoiceField otherBack)
{
    OptionRuleResult result;
    result.valuesApply = chosen;
    if (chosen && otherChosen) {
        result.notice = notice;
        result.turnOn = {otherBack};
    }
    return result;
}

}  // namespace

CutSession::CutSession(std::string programFolder, FolderMaker makeFolder, NameClaimer claimName,
                       ReplacingClaimer claimReplacingName)
    : m_programFolder(std::move(programFolder)),
      m_makeFolder(makeFolder ? std::move(makeFolder) : FolderMaker(platform::makeFolderWithParents)),
      m_claimName(claimName ? std::move(claimName)
                            : NameClaimer([](const std::string& folder, const std::string& name, TOutputFormat format) {
                                  return claimOutputName(folder, name, format);
                              })),
      m_claimReplacing(claimReplacingName ? std::move(claimReplacingName)
                                          : ReplacingClaimer([](const std::string& folder, const std::string& name,
                                                                TOutputFormat format,
                                                                const std::function<bool(const std::string&)>& may) {
                                                return claimReplacing(folder, name, format, may);
                                            })),
      m_extractor(platform::extractorProgramName()),
      m_probeVideo([](const std::string& extractor, const std::string& target) {
          return probeVideo(proberBeside(extractor), target);
      }),
      m_listener(&nobody())
{
}

void CutSession::setListener(CutSessionListener* listener) { m_listener = listener ? listener : &nobody(); }

// ---- Options

void CutSession::setChoice(ChoiceField choice, bool on)
{
    if (on) turnOn(m_options, choice);
    else m_options.*choice = false;
}

std::string CutSession::setDestination(const std::string& fieldText)
{
    m_options.DestinationFolder = platform::removeTrailingSeparator(fieldText);
    return m_options.DestinationFolder;
}

// ---- The batch

CutBatchReport CutSession::runBatch(CutRunner& runner, std::size_t maxRuns)
{
    CutBatchReport report;
    if (m_running) {
        report.outcome = CutBatchOutcome::AlreadyRunning;
        return report;
    }
    ScopedValue<bool> running(m_running, true);
    ScopedValue<CutRunner*> runnerInUse(m_runner, &runner);
    m_stopRequested = false;
    m_jobs.clear();
    m_failed.clear();
    m_cut = 0;
    m_taken.clear();
    m_cursor = 0;
    m_listSeen = m_targets.changeCount();
    m_untakenSeen.reset();
    m_refusedFolders.clear();
    m_done = 0;
    m_manifests.clear();
    m_records.clear();
    try {
        report.outcome = runEntries(runner, std::max<std::size_t>(maxRuns, 1));
    } catch (const std::exception& error) {
        m_listener->beep();
        report.outcome = CutBatchOutcome::Aborted;
        report.error = error.what();
    }
    report.entries = m_taken.size();
    report.cut = m_cut;
    report.failed = m_failed;
    report.done = m_done;
    if (report.outcome == CutBatchOutcome::Stopped || report.outcome == CutBatchOutcome::StartFailed)
        report.notRun = untakenFiles();
    m_listener->batchFinished(report);
    return report;
}

void CutSession::requestStop()
{
    if (!m_running) return;
    m_stopRequested = true;
    for (const CutJob& job : m_jobs) m_runner->stop(job.id);
}

CutBatchOutcome CutSession::runEntries(CutRunner& runner, std::size_t maxRuns)
{
    if (m_targets.empty()) return CutBatchOutcome::NothingToDo;

    CutFailure refused;
    if (prepareDestination(m_options.DestinationFolder, refused).empty()) return CutBatchOutcome::DestinationRefused;

    m_listener->batchStarted(m_targets.size());
    // The list may change during every wait: the next entry is always the first
    // in list order that this batch has not taken yet.
    bool startFailed = false;
    for (;;) {
        while (!m_stopRequested && !startFailed && m_jobs.size() < maxRuns) {
            const std::size_t next = nextEntry();
            if (next == kNone) break;
            startFailed = !startEntry(runner, next);
        }
        if (m_jobs.empty()) break;
        finishRun(runner.waitForEnd());
    }
    if (startFailed) return CutBatchOutcome::StartFailed;
    return finish();
}

std::size_t CutSession::nextEntry()
{
    if (m_targets.changeCount() != m_listSeen) {
        m_cursor = 0;
        m_listSeen = m_targets.changeCount();
    }
    while (m_cursor < m_targets.size() && m_taken.count(m_targets.serialAt(m_cursor)) > 0) ++m_cursor;
    return m_cursor < m_targets.size() ? m_cursor : kNone;
}

std::size_t CutSession::untakenCount()
{
    if (m_untakenSeen != m_targets.changeCount()) {
        m_untaken = 0;
        for (std::size_t i = 0; i < m_targets.size(); ++i)
            if (m_taken.count(m_targets.serialAt(i)) == 0) ++m_untaken;
        m_untakenSeen = m_targets.changeCount();
    }
    return m_untaken;
}

bool CutSession::startEntry(CutRunner& runner, std::size_t index)
{
    const std::string target = m_targets.at(index);
    const std::size_t waiting = untakenCount() - 1;  // without this one
    m_taken.insert(m_targets.serialAt(index));
    m_untaken = waiting;
    CutEntryResult entry;
    entry.number = m_taken.size();
    entry.total = m_taken.size() + waiting;
    entry.target = target;
    entry.entry = m_targets.serialAt(index);
    switch (platform::entryKind(target)) {
    case platform::EntryKind::Missing:
        entry.status = CutEntryStatus::Failed;
        entry.failure.why = CutReason::NotFound;
        fail(entry);
        return true;
    // Only files are cut: a folder cannot be, and a FIFO or a device would hold the extractor.
    case platform::EntryKind::Folder:
    case platform::EntryKind::Other:
        entry.status = CutEntryStatus::Skipped;
        m_listener->entryFinished(entry);
        return true;
    case platform::EntryKind::RegularFile: break;
    }

    TCutSettings settings = m_options;
    settings.DestinationFolder = prepareDestination(settings.DestinationFolder, entry.failure);
    if (settings.DestinationFolder.empty()) {
        entry.status = CutEntryStatus::Failed;
        fail(entry);
        return true;
    }
    const TOutputFormat format = chooseOutputFormat(settings);
    const std::string& folder = settings.DestinationFolder;
    const auto existing = static_cast<ExistingImages>(settings.Existing);
    // A cut that may be asked about again keeps its record in the destination.
    std::optional<ManifestRecord> record;
    if (m_resume || existing != ExistingImages::Rename)
        record = describeRun(target, BuildCutCommandLine(target, settings, outputName(target)), format);
    if (record) {
        Manifest& manifest = manifestOf(folder);
        if ((m_resume || existing == ExistingImages::Skip) && manifest.isDone(*record)) {
            entry.status = CutEntryStatus::Done;
            ++m_done;
            m_listener->entryFinished(entry);
            return true;
        }
        if (m_resume && !m_dryRun) removeCutShort(manifest, folder, record->video);
    }
    NameClaim claim;
    if (existing == ExistingImages::Overwrite) {
        // Images another run may be writing now are never replaced: the
        // manifest is read afresh, since other processes add to it.
        claim = m_claimReplacing(folder, outputName(target), format, [&](const std::string& name) {
            const Manifest now = Manifest::read(folder);
            return !now.mayBeWriting(p::fileNamePart(BuildCutCommandLine(target, settings, name).OutputPattern));
        });
    } else {
        claim = m_claimName(folder, outputName(target), format);
    }
    if (claim.error != 0) {
        entry.status = CutEntryStatus::Failed;
        entry.failure = failureOf(CutReason::Destination, DestinationProblem::CannotWrite, claim.error);
        fail(entry);
        return true;
    }
    CutJob job;
    job.id = m_nextJobId++;
    job.number = entry.number;
    job.total = entry.total;
    job.target = target;
    job.entry = m_targets.serialAt(index);
    job.outputName = claim.name;
    job.firstImage = firstImagePath(settings.DestinationFolder, job.outputName, format);
    job.settings = settings;
    job.imageFolder = settings.DestinationFolder;
    job.program = platform::findProgram(m_extractor, m_programFolder);
    if (!job.program.empty() && m_probeVideo) {
        job.video = m_probeVideo(job.program, target);
        job.probed = true;
    }
    job.rate = rateChange(settings, job.video);
    job.startsPastEnd = settings.RangeFromSecond && job.video.seconds && settings.StartSecond >= *job.video.seconds;
    CutCommand cut = BuildCutCommandLine(target, settings, job.outputName, job.video);
    job.replaceLock = claim.lock;
    job.outputPattern = cut.OutputPattern;
    if (record && !m_dryRun) {
        // Written before the run starts: a run that never comes to its end
        // (a crash, a kill) is known as cut short, its images as its own.
        record->name = job.outputName;
        record->pattern = p::fileNamePart(job.outputPattern);
        manifestOf(folder).append(*record);
        m_records.emplace(job.id, std::pair(folder, std::move(*record)));
    }
    job.command = std::move(cut.command);

    std::string error = m_extractor + ": " + platform::errorText(ENOENT);
    if (job.program.empty() || !runner.start(job, error)) {
        // Nothing will write into the claimed first image.
        tidyRun(job, false, nullptr);
        closeRun(job, 0, false);
        const bool failedBefore = !m_failed.empty();
        m_listener->beep();
        m_listener->extractorNotStarted(job.command.program, error);
        entry.status = CutEntryStatus::Failed;
        entry.failure.why = CutReason::NotStarted;
        entry.failure.detail = error;
        fail(entry);
        // The entries that failed before are named as after a whole batch.
        if (failedBefore) m_listener->failuresToList(m_failed);
        return false;
    }
    m_jobs.push_back(job);
    m_listener->entryStarted(job);
    return true;
}

void CutSession::finishRun(const CutRunEnd& end)
{
    const auto job = std::find_if(m_jobs.begin(), m_jobs.end(), [&end](const CutJob& j) { return j.id == end.job; });
    if (job == m_jobs.end()) throw std::logic_error("the end of a run that was not started");
    CutEntryResult entry;
    entry.job = job->id;
    entry.number = job->number;
    entry.total = job->total;
    entry.target = job->target;
    entry.entry = job->entry;
    // An extractor that ends by itself closes every image; one that was killed
    // or failed may have been writing its last.
    const bool closedItsFiles =
        end.exitSignal == 0 && (end.exitStatus == 0 || (m_stopRequested && end.exitStatus == kClosedOnRequestStatus));
    // A run that only showed its command (a dry run) never claimed its name.
    const bool claimed = platform::entryExists(job->firstImage);
    entry.images = tidyRun(*job, !closedItsFiles, &entry);
    entry.failure = judgeRun(end, m_stopRequested, entry.images);
    if (entry.failure.why == CutReason::NoImage && job->startsPastEnd) entry.failure.videoSeconds = job->video.seconds;
    if (entry.failure.why == CutReason::None) {
        entry.warning.inputTrouble = end.inputTrouble;
        if (!end.inputTrouble.empty()) entry.warning.declaredFrames = job->video.frames;
        entry.warning.rate = job->rate;
        entry.warning.videoRate = job->video.frameRate;
    }
    const CutJob ended = *job;
    closeRun(*job, entry.images, entry.failure.why == CutReason::None);
    m_jobs.erase(job);
    if (leavesOutRepeats(ended.settings) && end.framesSeen && *end.framesSeen >= 0
        && static_cast<std::size_t>(*end.framesSeen) >= entry.images)
        entry.repeats = static_cast<std::size_t>(*end.framesSeen) - entry.images;
    // Key frames of a video that flags none: its scene changes stand in, and the result says so.
    if (ended.fallbackRun && entry.images > 0) entry.note = CutNote::NoKeyFrames;
    if (entry.failure.why == CutReason::NoImage && pickModeOf(ended.settings) == kPickKeyFrames && !ended.fallbackRun
        && claimed && !m_stopRequested && startFallback(ended))
        return;
    if (entry.failure.why == CutReason::None) {
        ++m_cut;
        m_listener->entryFinished(entry);
    } else {
        entry.status = CutEntryStatus::Failed;
        fail(entry);
    }
}

std::size_t CutSession::tidyRun(const CutJob& job, bool lastMayBePartial, CutEntryResult* entry)
{
    if (!namesByTime(job.settings)) return tidyImages(job.outputPattern, lastMayBePartial);
    std::vector<TimedImage> images = nameImagesByTime(job.imageFolder, job.outputName, chooseOutputFormat(job.settings),
                                                      lastMayBePartial, job.firstImage);
    const std::size_t count = images.size();
    if (entry) entry->timedImages = std::move(images);
    return count;
}

bool CutSession::startFallback(const CutJob& job)
{
    CutJob again = job;
    again.id = m_nextJobId++;
    again.fallbackRun = true;
    again.settings.PickMode = kPickScenes;
    // The claim went with the empty first image; the name is claimed again.
    if (platform::createNewFile(again.firstImage) != 0) return false;
    CutCommand cut = BuildCutCommandLine(again.target, again.settings, again.outputName);
    again.outputPattern = cut.OutputPattern;
    again.command = std::move(cut.command);
    std::string error;
    if (!m_runner->start(again, error)) {
        tidyRun(again, false, nullptr);
        return false;
    }
    m_jobs.push_back(again);
    m_listener->entryStarted(again);
    return true;
}

void CutSession::fail(const CutEntryResult& entry)
{
    m_failed.push_back({entry.target, entry.failure});
    m_listener->entryFinished(entry);
}

Manifest& CutSession::manifestOf(const std::string& folder)
{
    auto known = m_manifests.find(folder);
    if (known == m_manifests.end()) known = m_manifests.emplace(folder, Manifest::read(folder)).first;
    return known->second;
}

void CutSession::removeCutShort(Manifest& manifest, const std::string& folder, const std::string& video)
{
    for (const ManifestRecord& run : manifest.cutShort(video)) {
        for (const std::string& image : imagesOfPattern(folder, run.pattern)) p::deleteFile(image);
        p::deleteFile(p::joinPath(folder, ".kelmora-lock." + imageFile(run.pattern, 1)));
    }
}

void CutSession::closeRun(const CutJob& job, std::size_t images, bool finished)
{
    if (!job.replaceLock.empty()) p::deleteFile(job.replaceLock);
    const auto record = m_records.find(job.id);
    if (record == m_records.end()) return;
    record->second.second.images = images;
    record->second.second.finished = finished;
    manifestOf(record->second.first).append(record->second.second);
    m_records.erase(record);
}

std::string CutSession::prepareDestination(const std::string& fieldText, CutFailure& failure)
{
    const std::string folder = destinationFolder(fieldText);
    failure = failureOf(CutReason::Destination);
    std::string named = platform::removeTrailingSeparator(fieldText);
    if (folder.empty()) {
        failure.destination = DestinationProblem::Empty;
    } else if (!platform::isFullPath(folder)) {
        failure.destination = DestinationProblem::NotFullPath;
    } else if ((failure.error = m_makeFolder(folder)) != 0) {
        failure.destination = DestinationProblem::CannotMake;
        named = folder;
    } else {
        failure = {};
        return folder;
    }
    if (m_refusedFolders.insert(fieldText).second) {
        m_listener->beep();
        m_listener->destinationRefused(named, failure.destination, failure.error);
    }
    return {};
}

std::vector<std::string> CutSession::untakenFiles()
{
    std::vector<std::string> files;
    for (std::size_t i = 0; i < m_targets.size(); ++i) {
        const std::string& target = m_targets.at(i);
        if (m_taken.count(m_targets.serialAt(i)) == 0
            && platform::entryKind(target) == platform::EntryKind::RegularFile)
            files.push_back(target);
    }
    return files;
}

CutBatchOutcome CutSession::finish()
{
    if (m_stopRequested)
        for (const std::string& target : untakenFiles()) m_failed.push_back({target, failureOf(CutReason::NotRun)});
    m_listener->beep();
    if (!m_failed.empty()) m_listener->failuresToList(m_failed);
    if (m_stopRequested) return CutBatchOutcome::Stopped;
    if (!m_failed.empty()) return CutBatchOutcome::CompletedWithFailures;
    return CutBatchOutcome::Completed;
}

std::string destinationFolder(const std::string& fieldText)
{
    std::string folder = fieldText;
    if (platform::nativePathStyle() == platform::PathStyle::Posix && (folder == "~" || folder.rfind("~/", 0) == 0))
        folder = platform::homeFolder() + folder.substr(1);
    return platform::removeTrailingSeparator(folder);
}

OptionRuleResult rangeRule(const TCutSettings& settings)
{
    return exclusiveRule(settings.RangeFromSecond, settings.RatePerSecond, RuleNotice::RangeKeepsEveryFrame,
                         &TCutSettings::RateAll);
}

OptionRuleResult intervalRule(const TCutSettings& settings)
{
    return exclusiveRule(settings.RatePerSecond, settings.RangeFromSecond, RuleNotice::IntervalCutsWhole,
                         &TCutSettings::RangeAll);
}

OptionRuleResult sizeRule(const TCutSettings& settings)
{
    OptionRuleResult result;
    result.valuesApply = settings.SizeCustom;
    return result;
}

RuleNotice applyGroupRule(TCutSettings& settings, ChoiceGroup group)
{
    OptionRuleResult rule;
    if (group == ChoiceGroup::Range) rule = rangeRule(settings);
    else if (group == ChoiceGroup::Interval) rule = intervalRule(settings);
    else if (group == ChoiceGroup::Size) rule = sizeRule(settings);
    for (const ChoiceField choice : rule.turnOn) turnOn(settings, choice);
    return rule.notice;
}

std::vector<RuleNotice> applyOptionRules(TCutSettings& settings)
{
    std::vector<RuleNotice> notices;
    // A file is read range first: when the interval's rule ran, the range was
    // already chosen, so the interval's rule is the one that decides.
    for (const ChoiceGroup group : {ChoiceGroup::Interval, ChoiceGroup::Range, ChoiceGroup::Size})
        if (const RuleNotice notice = applyGroupRule(settings, group); notice != RuleNotice::None)
            notices.push_back(notice);
    return notices;
}

}  // namespace kelmora
