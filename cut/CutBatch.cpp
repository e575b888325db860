#include "cut/CutBatch.h"

#include <optional>
#include <stdexcept>

#include "cut/CutCommand.h"
#include "platform/Beep.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/System.h"

namespace kelmora {

namespace {

constexpr std::size_t kMaxListedFailures = 10;
// How long a stopped extractor gets to close its files before it is killed.
constexpr int kStopGraceMs = 3000;

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

bool isFullPath(const std::string& path)
{
    if (platform::nativePathStyle() == platform::PathStyle::Posix) return !path.empty() && path.front() == '/';
    return (!path.empty() && path.front() == '\\') || (path.size() >= 3 && path[1] == ':' && path[2] == '\\');
}

// Why a run that the extractor ended gave no whole set of images; empty when it did.
std::string runFailure(const platform::ChildProcess& run, bool stopped, const std::string& firstImage)
{
    const bool endedEarly = run.exitSignal() != 0 || run.exitStatus() != 0;
    if (stopped && endedEarly) return "途中で中止しました";
    if (run.exitSignal() != 0) return "シグナル " + std::to_string(run.exitSignal()) + " で終了しました";
    if (run.exitStatus() != 0) return "終了コード " + std::to_string(run.exitStatus());
    // A start second past the end of the video, for one, ends with status 0 and no image.
    if (!platform::entryExists(firstImage)) return "画像が書き出されませんでした";
    return {};
}

}  // namespace

CutBatch::CutBatch(std::string programFolder, FolderMaker makeFolder)
    : m_programFolder(std::move(programFolder)),
      m_makeFolder(makeFolder ? std::move(makeFolder) : FolderMaker(platform::makeFolderWithParents))
{
}

CutBatchOutcome CutBatch::Run(CutBatchHost& host)
{
    if (m_running) return CutBatchOutcome::AlreadyRunning;
    ScopedValue<bool> running(m_running, true);
    m_stopRequested = false;
    m_currentTarget.clear();
    m_outputPattern.clear();
    m_failed.clear();
    m_taken.clear();
    m_handedOut.clear();
    m_refusedFolders.clear();
    try {
        return RunEntries(host);
    } catch (const std::exception&) {
        platform::beep();
        host.Notice("非対応フォーマットが含まれていました。処理を中止します。");
        return CutBatchOutcome::Aborted;
    }
}

void CutBatch::RequestStop()
{
    if (!m_running) return;
    m_stopRequested = true;
    if (m_run) m_run->terminate(kStopGraceMs);
}

CutBatchOutcome CutBatch::RunEntries(CutBatchHost& host)
{
    if (host.TargetCount() == 0) return CutBatchOutcome::NothingToDo;

    const std::string fieldText = host.Settings().DestinationFolder;
    if (platform::removeTrailingSeparator(fieldText).empty()) throw std::runtime_error("no destination folder");
    std::string reason;
    if (PrepareDestination(host, fieldText, reason).empty()) return CutBatchOutcome::DestinationRefused;

    // The list may change during every wait: after each run the next entry is
    // the first in list order that this batch has not taken yet.
    for (std::size_t next = NextEntry(host); next < host.TargetCount() && !m_stopRequested; next = NextEntry(host)) {
        m_taken.insert(host.TargetId(next));
        if (!CutEntry(host, host.Target(next))) return CutBatchOutcome::StartFailed;
    }
    return Finish(host);
}

std::size_t CutBatch::NextEntry(const CutBatchHost& host) const
{
    const std::size_t count = host.TargetCount();
    for (std::size_t i = 0; i < count; ++i)
        if (m_taken.count(host.TargetId(i)) == 0) return i;
    return count;
}

std::string CutBatch::PrepareDestination(CutBatchHost& host, const std::string& fieldText, std::string& reason)
{
    const std::string folder = destinationFolder(fieldText);
    std::string notice;
    if (!isFullPath(folder)) {
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
    if (m_refusedFolders.insert(fieldText).second) {
        platform::beep();
        host.Notice(notice);
    }
    return {};
}

std::string CutBatch::ReserveOutputName(const std::string& target, const std::string& folder,
                                        const TCutSettings& settings)
{
    const TOutputFormat format = chooseOutputFormat(settings);
    const std::string name = chooseFreeOutputName(outputName(target), [&](const std::string& candidate) {
        const std::string first = firstImagePath(folder, candidate, format);
        return m_handedOut.count(first) > 0 || platform::entryExists(first);
    });
    m_handedOut.insert(firstImagePath(folder, name, format));
    return name;
}

bool CutBatch::CutEntry(CutBatchHost& host, const std::string& target)
{
    m_currentTarget = target;
    switch (platform::entryKind(target)) {
    case platform::EntryKind::Missing: m_failed.push_back({target, "見つかりませんでした"}); return true;
    // Only files are cut: a folder cannot be, and a FIFO or a device would hold the extractor.
    case platform::EntryKind::Folder:
    case platform::EntryKind::Other: return true;
    case platform::EntryKind::RegularFile: break;
    }

    TCutSettings settings = host.Settings();
    std::string reason;
    settings.DestinationFolder = PrepareDestination(host, settings.DestinationFolder, reason);
    if (settings.DestinationFolder.empty()) {
        m_failed.push_back({target, reason});
        return true;
    }
    const std::string name = ReserveOutputName(target, settings.DestinationFolder, settings);
    const CutCommand cut = BuildCutCommandLine(target, settings, name);
    m_outputPattern = cut.OutputPattern;

    const std::string program = platform::findProgram(cut.command.program, m_programFolder);
    std::optional<platform::ChildProcess> run;
    if (!program.empty()) run = platform::ChildProcess::startHidden(program, cut.command.arguments);
    if (!run) {
        platform::beep();
        host.Notice(cut.command.program + " を起動できませんでした。処理を中止します。");
        // The entries that failed before are named as after a whole batch.
        if (!m_failed.empty()) {
            m_failed.push_back({target, "起動できませんでした"});
            host.Notice(failedRunsNotice(m_failed));
        }
        return false;
    }
    {
        ScopedValue<platform::ChildProcess*> waitedFor(m_run, &*run);
        host.WaitForEnd(*run);
    }
    run->waitFor(-1);
    const std::string failure = runFailure(*run, m_stopRequested,
                                           firstImagePath(settings.DestinationFolder, name, chooseOutputFormat(settings)));
    if (!failure.empty()) m_failed.push_back({target, failure});
    return true;
}

CutBatchOutcome CutBatch::Finish(CutBatchHost& host)
{
    if (m_stopRequested) {
        for (std::size_t i = 0; i < host.TargetCount(); ++i) {
            const std::string target = host.Target(i);
            if (m_taken.count(host.TargetId(i)) == 0 && platform::entryKind(target) == platform::EntryKind::RegularFile)
                m_failed.push_back({target, "中止のため未変換"});
        }
    }
    platform::beep();
    if (!m_failed.empty()) host.Notice(failedRunsNotice(m_failed));
    if (m_stopRequested) return CutBatchOutcome::Stopped;
    if (!m_failed.empty()) return CutBatchOutcome::CompletedWithFailures;
    host.Finished();
    return CutBatchOutcome::Completed;
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
    if (platform::nativePathStyle() == platform::PathStyle::Posix
        && (folder == "~" || folder.rfind("~/", 0) == 0))
        folder = platform::homeFolder() + folder.substr(1);
    return platform::removeTrailingSeparator(folder);
}

}  // namespace kelmora
