#include "cut/CutSession.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/System.h"

namespace kelmora {

namespace {

constexpr std::size_t kMaxListedFailures = 10;
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

// Why a run that ended gave no whole set of images (CutReason::None when it
// did), the reason in words, and the detail in the extractor's words.
void judgeRun(const CutRunEnd& end, bool stopped, CutEntryResult& entry)
{
    entry.exitStatus = end.exitStatus;
    entry.exitSignal = end.exitSignal;
    const bool endedEarly = end.exitSignal != 0 || end.exitStatus != 0;
    if (stopped && endedEarly) {
        entry.why = CutReason::Stopped;
        entry.reason = "途中で中止しました";
    } else if (end.exitSignal != 0) {
        entry.why = CutReason::Signal;
        entry.detail = end.errorLine;
        entry.reason = "シグナル " + std::to_string(end.exitSignal) + " で終了しました";
    } else if (end.exitStatus != 0) {
        entry.why = CutReason::ExitStatus;
        entry.detail = end.errorLine;
        entry.reason = end.errorLine.empty() ? "終了コード " + std::to_string(end.exitStatus) : end.errorLine;
    } else if (entry.images == 0) {
        // A start second past the end of the video, for one, ends with status 0 and no image.
        entry.why = CutReason::NoImage;
        entry.reason = "画像が書き出されませんでした";
    }
}

OptionRuleResult exclusiveRule(bool chosen, bool otherChosen, const char* notice, ChoiceField otherBack)
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

CutSession::CutSession(std::string programFolder, FolderMaker makeFolder, NameClaimer claimName)
    : m_programFolder(std::move(programFolder)),
      m_makeFolder(makeFolder ? std::move(makeFolder) : FolderMaker(platform::makeFolderWithParents)),
      m_claimName(claimName ? std::move(claimName)
                            : NameClaimer([](const std::string& folder, const std::string& name, TOutputFormat format) {
                                  return claimOutputName(folder, name, format);
                              })),
      m_extractor(platform::extractorProgramName()),
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

OptionRuleResult CutSession::rangeRule() const
{
    return exclusiveRule(m_options.RangeFromSecond, m_options.RatePerSecond,
                         "カット範囲を指定する場合は カット間隔は全フレームが対象になります。", &TCutSettings::RateAll);
}

OptionRuleResult CutSession::intervalRule() const
{
    return exclusiveRule(m_options.RatePerSecond, m_options.RangeFromSecond,
                         "カット間隔を指定する場合は カット範囲は全フレームが対象になります。",
                         &TCutSettings::RangeAll);
}

OptionRuleResult CutSession::sizeRule() const
{
    OptionRuleResult result;
    result.valuesApply = m_options.SizeCustom;
    return result;
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
    try {
        report.outcome = runEntries(runner, std::max<std::size_t>(maxRuns, 1));
    } catch (const std::exception&) {
        announce("非対応フォーマットが含まれていました。処理を中止します。", true);
        report.outcome = CutBatchOutcome::Aborted;
    }
    report.entries = m_taken.size();
    report.cut = m_cut;
    report.failed = m_failed;
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

    const std::string fieldText = m_options.DestinationFolder;
    if (platform::removeTrailingSeparator(fieldText).empty()) throw std::runtime_error("no destination folder");
    std::string reason;
    if (prepareDestination(fieldText, reason).empty()) return CutBatchOutcome::DestinationRefused;

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
    switch (platform::entryKind(target)) {
    case platform::EntryKind::Missing:
        entry.status = CutEntryStatus::Failed;
        entry.why = CutReason::NotFound;
        entry.reason = "見つかりませんでした";
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
    settings.DestinationFolder = prepareDestination(settings.DestinationFolder, entry.reason);
    if (settings.DestinationFolder.empty()) {
        entry.status = CutEntryStatus::Failed;
        entry.why = CutReason::Destination;
        fail(entry);
        return true;
    }
    const TOutputFormat format = chooseOutputFormat(settings);
    const NameClaim claim = m_claimName(settings.DestinationFolder, outputName(target), format);
    if (claim.error != 0) {
        entry.status = CutEntryStatus::Failed;
        entry.why = CutReason::Destination;
        entry.detail = platform::errorText(claim.error);
        entry.reason = "保存先に画像を書き込めませんでした: " + entry.detail;
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
    CutCommand cut = BuildCutCommandLine(target, settings, job.outputName);
    job.outputPattern = cut.OutputPattern;
    job.command = std::move(cut.command);
    job.program = platform::findProgram(m_extractor, m_programFolder);

    std::string error = m_extractor + ": " + platform::errorText(ENOENT);
    if (job.program.empty() || !runner.start(job, error)) {
        // Nothing will write into the claimed first image.
        tidyImages(job.outputPattern, false);
        const bool failedBefore = !m_failed.empty();
        announce(job.command.program + " を起動できませんでした。処理を中止します。", true);
        entry.status = CutEntryStatus::Failed;
        entry.why = CutReason::NotStarted;
        entry.reason = "起動できませんでした";
        entry.detail = error;
        fail(entry);
        // The entries that failed before are named as after a whole batch.
        if (failedBefore) announce(failedRunsNotice(m_failed), false);
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
    // An extractor that ends by itself closes every image; one that was killed
    // or failed may have been writing its last.
    const bool closedItsFiles =
        end.exitSignal == 0 && (end.exitStatus == 0 || (m_stopRequested && end.exitStatus == kClosedOnRequestStatus));
    entry.images = tidyImages(job->outputPattern, !closedItsFiles);
    judgeRun(end, m_stopRequested, entry);
    m_jobs.erase(job);
    if (entry.why == CutReason::None) {
        ++m_cut;
        m_listener->entryFinished(entry);
    } else {
        entry.status = CutEntryStatus::Failed;
        fail(entry);
    }
}

void CutSession::fail(const CutEntryResult& entry)
{
    m_failed.push_back({entry.target, entry.reason});
    m_listener->entryFinished(entry);
}

std::string CutSession::prepareDestination(const std::string& fieldText, std::string& reason)
{
    const std::string folder = destinationFolder(fieldText);
    std::string notice;
    if (!platform::isFullPath(folder)) {
        // A relative folder would land wherever the program happened to start.
        reason = "保存先がフルパスではありません";
        notice = "保存先「" + platform::removeTrailingSeparator(fieldText) + "」はフルパスではありません。"
                 "フルパスで指定してください。";
    } else if (const int error = m_makeFolder(folder)) {
        reason = "保存先のフォルダを作成できませんでした";
        notice = "保存先のフォルダ「" + folder + "」を作成できませんでした。\n" + platform::errorText(error);
    } else {
        return folder;
    }
    if (m_refusedFolders.insert(fieldText).second) announce(notice, true);
    return {};
}

CutBatchOutcome CutSession::finish()
{
    if (m_stopRequested) {
        for (std::size_t i = 0; i < m_targets.size(); ++i) {
            const std::string& target = m_targets.at(i);
            if (m_taken.count(m_targets.serialAt(i)) == 0
                && platform::entryKind(target) == platform::EntryKind::RegularFile)
                m_failed.push_back({target, "中止のため未変換"});
        }
    }
    m_listener->beep();
    if (!m_failed.empty()) m_listener->notice(failedRunsNotice(m_failed));
    if (m_stopRequested) return CutBatchOutcome::Stopped;
    if (!m_failed.empty()) return CutBatchOutcome::CompletedWithFailures;
    return CutBatchOutcome::Completed;
}

void CutSession::announce(const std::string& text, bool withBeep)
{
    if (withBeep) m_listener->beep();
    m_listener->notice(text);
}

std::string failedRunsNotice(const std::vector<FailedEntry>& failed)
{
    std::string text = "次のファイルを変換できませんでした。";
    for (std::size_t i = 0; i < failed.size() && i < kMaxListedFailures; ++i)
        text += "\n" + failed[i].target + "（" + failed[i].reason + "）";
    if (failed.size() > kMaxListedFailures)
        text += "\nほか " + std::to_string(failed.size() - kMaxListedFailures) + " 件";
    return text;
}

std::string destinationFolder(const std::string& fieldText)
{
    std::string folder = fieldText;
    if (platform::nativePathStyle() == platform::PathStyle::Posix && (folder == "~" || folder.rfind("~/", 0) == 0))
        folder = platform::homeFolder() + folder.substr(1);
    return platform::removeTrailingSeparator(folder);
}

}  // namespace kelmora
