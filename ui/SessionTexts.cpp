#include "ui/SessionTexts.h"

#include <QStringList>
#include <cerrno>

#include "controls/TextBytes.h"
#include "platform/System.h"

namespace kelmora {

namespace {

constexpr std::size_t kMaxListedFailures = 10;

}  // namespace

QString systemReasonText(int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("ファイルまたはフォルダが見つかりません");
    case EACCES:
    case EPERM: return QStringLiteral("アクセスが拒否されました");
    case ENOTDIR: return QStringLiteral("途中にフォルダではないファイルがあります");
    case EEXIST: return QStringLiteral("同じ名前のファイルがあります");
    case EISDIR: return QStringLiteral("フォルダです");
    case ENOSPC: return QStringLiteral("ディスクの空き容量が足りません");
    case EROFS: return QStringLiteral("読み取り専用の場所です");
    case ENAMETOOLONG: return QStringLiteral("名前が長すぎます");
    case EIO: return QStringLiteral("読み書きのエラーが起きました");
    default: break;
    }
    return fromSystemBytes(platform::errorText(error));
}

QString ruleNoticeText(RuleNotice notice)
{
    switch (notice) {
    case RuleNotice::RangeKeepsEveryFrame:
        return QStringLiteral("カット範囲を指定する場合は カット間隔は全フレームが対象になります。");
    case RuleNotice::IntervalCutsWhole:
        return QStringLiteral("カット間隔を指定する場合は カット範囲は全フレームが対象になります。");
    case RuleNotice::None: break;
    }
    return {};
}

QString reasonText(const CutFailure& failure)
{
    const QString said = fromSystemBytes(failure.detail);
    switch (failure.why) {
    case CutReason::NotFound: return QStringLiteral("見つかりませんでした");
    case CutReason::Destination:
        switch (failure.destination) {
        case DestinationProblem::NotFullPath: return QStringLiteral("保存先がフルパスではありません");
        case DestinationProblem::CannotMake: return QStringLiteral("保存先のフォルダを作成できませんでした");
        case DestinationProblem::CannotWrite:
            return QStringLiteral("保存先に画像を書き込めませんでした: ") + systemReasonText(failure.error);
        case DestinationProblem::Empty:
        case DestinationProblem::None: break;
        }
        return QStringLiteral("保存先がありません");
    case CutReason::NotStarted: return QStringLiteral("起動できませんでした");
    case CutReason::ExitStatus: return said.isEmpty() ? QStringLiteral("終了コード %1").arg(failure.exitStatus) : said;
    case CutReason::Signal: return QStringLiteral("シグナル %1 で終了しました").arg(failure.exitSignal);
    case CutReason::NoImage:
        if (failure.videoSeconds)
            return QStringLiteral("開始秒が動画の終わり（%1秒）を過ぎています").arg(*failure.videoSeconds, 0, 'f', 1);
        return QStringLiteral("画像が書き出されませんでした");
    case CutReason::Stopped: return QStringLiteral("途中で中止しました");
    case CutReason::NotRun: return QStringLiteral("中止のため未変換");
    case CutReason::None: break;
    }
    return {};
}

QString doneNoteText(const CutEntryResult& result)
{
    QStringList notes;
    if (result.repeats) notes << QStringLiteral("重複%1枚を省略").arg(*result.repeats);
    if (result.note == CutNote::NoKeyFrames) notes << QStringLiteral("キーフレームなし：シーンの変わり目");
    const CutWarning& warning = result.warning;
    if (!warning.inputTrouble.empty()) {
        QString damaged =
            QStringLiteral("注意：入力の破損（") + fromSystemBytes(warning.inputTrouble) + QStringLiteral("）");
        if (warning.declaredFrames) damaged += QStringLiteral(" 動画は%1フレーム").arg(*warning.declaredFrames);
        notes << damaged;
    }
    if (warning.rate == RateChange::EveryFrame)
        notes << QStringLiteral("動画は毎秒%1フレーム：各フレームを1枚ずつ").arg(warning.videoRate, 0, 'g', 3);
    if (warning.rate == RateChange::FirstFrame) notes << QStringLiteral("1間隔より短い動画：最初のフレーム");
    return notes.join(QStringLiteral("・"));
}

QString failedRunsNotice(const std::vector<FailedEntry>& failed)
{
    QString text = QStringLiteral("次のファイルを変換できませんでした。");
    for (std::size_t i = 0; i < failed.size() && i < kMaxListedFailures; ++i)
        text += QStringLiteral("\n") + fromSystemBytes(failed[i].target) + QStringLiteral("（")
                + reasonText(failed[i].failure) + QStringLiteral("）");
    if (failed.size() > kMaxListedFailures)
        text += QStringLiteral("\nほか %1 件").arg(failed.size() - kMaxListedFailures);
    return text;
}

QString destinationNotice(const std::string& folder, DestinationProblem problem, int error)
{
    switch (problem) {
    case DestinationProblem::NotFullPath:
        return QStringLiteral("保存先「") + fromSystemBytes(folder)
               + QStringLiteral("」はフルパスではありません。フルパスで指定してください。");
    case DestinationProblem::CannotMake:
    case DestinationProblem::CannotWrite:
        return QStringLiteral("保存先のフォルダ「") + fromSystemBytes(folder)
               + QStringLiteral("」を作成できませんでした。\n") + systemReasonText(error);
    case DestinationProblem::Empty:
    case DestinationProblem::None: break;
    }
    // No folder at all: the message the program has always given when a batch cannot begin.
    return abortedNotice();
}

QString notStartedNotice(const std::string& program)
{
    return fromSystemBytes(program) + QStringLiteral(" を起動できませんでした。処理を中止します。");
}

QString abortedNotice() { return QStringLiteral("非対応フォーマットが含まれていました。処理を中止します。"); }

}  // namespace kelmora
