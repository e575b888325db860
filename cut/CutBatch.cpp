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

// Clears the running flag however the batch ends.
class RunningGuard {
public:
    explicit RunningGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~RunningGuard() { m_flag = false; }
    RunningGuard(const RunningGuard&) = delete;
    RunningGuard& operator=(const RunningGuard&) = delete;

private:
    bool& m_flag;
};

}  // namespace

CutBatch::CutBatch(std::string programFolder) : m_programFolder(std::move(programFolder)) {}

CutBatchOutcome CutBatch::Run(CutBatchHost& host)
{
    if (m_running) return CutBatchOutcome::AlreadyRunning;
    RunningGuard guard(m_running);
    m_failed.clear();
    try {
        return RunEntries(host);
    } catch (const std::exception&) {
        platform::beep();
        host.Notice("非対応フォーマットが含まれていました。処理を中止します。");
        return CutBatchOutcome::Aborted;
    }
}

CutBatchOutcome CutBatch::RunEntries(CutBatchHost& host)
{
    if (host.TargetCount() == 0) return CutBatchOutcome::NothingToDo;

    const std::string destination = platform::removeTrailingSeparator(host.Settings().DestinationFolder);
    if (destination.empty()) throw std::runtime_error("no destination folder");
    platform::createFolderWithParents(destination);

    // The count is read afresh every time: the list may change during a wait.
    for (std::size_t i = 0; i < host.TargetCount(); ++i) {
        m_currentTarget = host.Target(i);
        const CutCommand cut = BuildCutCommandLine(m_currentTarget, host.Settings());
        m_outputPattern = cut.OutputPattern;
        const std::string program = platform::findProgram(cut.command.program, m_programFolder);
        std::optional<platform::ChildProcess> run;
        if (!program.empty()) run = platform::ChildProcess::startHidden(program, cut.command.arguments);
        if (!run) {
            platform::beep();
            host.Notice(cut.command.program + " を起動できませんでした。処理を中止します。");
            return CutBatchOutcome::StartFailed;
        }
        host.WaitForEnd(*run);
        run->waitFor(-1);
        if (run->exitStatus() != 0) m_failed.push_back(m_currentTarget);
    }

    platform::beep();
    if (!m_failed.empty()) {
        host.Notice(failedRunsNotice(m_failed));
        return CutBatchOutcome::CompletedWithFailures;
    }
    host.Finished();
    return CutBatchOutcome::Completed;
}

std::string failedRunsNotice(const std::vector<std::string>& failed)
{
    std::string text = "次のファイルを変換できませんでした。";
    for (std::size_t i = 0; i < failed.size() && i < kMaxListedFailures; ++i) text += "\n" + failed[i];
    if (failed.size() > kMaxListedFailures)
        text += "\nほか " + std::to_string(failed.size() - kMaxListedFailures) + " 件";
    return text;
}

}  // namespace kelmora
