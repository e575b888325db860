#include "ui/BatchView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "controls/ShadowLabel.h"
#include "controls/ShineSpeedButton.h"
#include "controls/TextBytes.h"
#include "platform/Beep.h"
#include "ui/EventLoopRunner.h"
#include "ui/HelpLinks.h"
#include "ui/MascotPanel.h"
#include "ui/Notice.h"
#include "ui/SessionTexts.h"
#include "ui/TargetListHandling.h"
#include "ui/TargetListModel.h"

namespace kelmora {

namespace {

constexpr int kRedrawPauseMs = 250;

}  // namespace

BatchView::BatchView(CutSession& session, QWidget& window, TargetListHandling& targets, TMascotPanel& mascot,
                     TShadowLabel& caption, TargetListModel& rows, TShineSpeedButton& summary,
                     std::string unfinishedFile)
    : m_session(session),
      m_window(window),
      m_targets(targets),
      m_mascot(mascot),
      m_caption(caption),
      m_rows(rows),
      m_summary(summary),
      m_restingCaption(caption.Caption()),
      m_unfinishedFile(std::move(unfinishedFile))
{
    m_session.setListener(this);
    m_redrawPause.setSingleShot(true);
    m_redrawPause.setInterval(kRedrawPauseMs);
    connect(&m_redrawPause, &QTimer::timeout, this, [this] {
        if (!std::exchange(m_redrawDue, false)) return;
        drawProgress();
        m_redrawPause.start();
    });
}

BatchView::~BatchView() { m_session.setListener(nullptr); }

void BatchView::run()
{
    if (m_session.running()) return;  // a second click while a batch runs is ignored
    // Esc reaches the window through the application, whichever control has the focus.
    struct EscWatch {
        QObject* filter;
        explicit EscWatch(QObject* f) : filter(f) { QCoreApplication::instance()->installEventFilter(filter); }
        ~EscWatch() { QCoreApplication::instance()->removeEventFilter(filter); }
    } escWatch(this);
    EventLoopRunner runner(m_session.options(),
                           [this](std::uint64_t job, double fraction) { runProgressed(job, fraction); });
    m_session.runBatch(runner);
    if (!std::exchange(m_closeAfterBatch, false)) return;
    // The close during the batch has saved the settings: they are not saved again.
    m_closingAfterBatch = true;
    m_window.close();
    m_closingAfterBatch = false;
}

void BatchView::closeWhenDone(bool stop)
{
    if (stop) m_session.requestStop();
    m_closeAfterBatch = true;
}

bool BatchView::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && m_session.running() && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == &m_window) {
            if (askQuestion(QStringLiteral("カットを中止しますか？"))) m_session.requestStop();
            return true;
        }
    }
    return QObject::eventFilter(watched, e);
}

void BatchView::showProgress()
{
    if (m_redrawPause.isActive()) {
        m_redrawDue = true;
        return;
    }
    drawProgress();
    m_redrawPause.start();
}

void BatchView::drawProgress()
{
    m_caption.setCaption(m_restingCaption + m_count);
    m_rows.refreshStates();
}

// The first entry's start follows at once and draws the batch's first state.
void BatchView::batchStarted(std::size_t)
{
    m_count.clear();
    m_images = 0;
    m_destination.clear();
    m_patterns.clear();
    m_stopped = {};
    m_summary.parentWidget()->hide();
    m_rows.startStates();
}

// The entry being cut is selected and in view, and the title (what the task
// bar shows) and the drawn caption say how far the batch is.
void BatchView::entryStarted(const CutJob& job)
{
    m_targets.showEntry(job.entry);
    m_window.setWindowTitle(QStringLiteral("Kelmora (%1/%2)").arg(job.number).arg(job.total));
    m_count = QStringLiteral(" — %1/%2").arg(job.number).arg(job.total);
    // The run writes where the options say as it starts ("%" in the pattern is doubled).
    m_destination = destinationFolder(m_session.options().DestinationFolder);
    m_patterns[job.entry] = job.outputPattern;
    m_rows.setState(job.entry, {});
    showProgress();
}

void BatchView::runProgressed(std::uint64_t job, double fraction)
{
    const std::vector<CutJob>& jobs = m_session.runningJobs();
    const auto running = std::find_if(jobs.begin(), jobs.end(), [job](const CutJob& j) { return j.id == job; });
    if (running == jobs.end()) return;
    EntryState state;
    state.percent = static_cast<int>(fraction * 100);
    m_rows.setState(running->entry, std::move(state));
    showProgress();
}

void BatchView::entryFinished(const CutEntryResult& result)
{
    EntryState state;
    switch (result.status) {
    case CutEntryStatus::Cut:
        state.kind = EntryState::Kind::Done;
        state.images = result.images;
        m_images += result.images;
        state.note = doneNoteText(result);
        break;
    case CutEntryStatus::Failed:
        state.kind = EntryState::Kind::Failed;
        state.reason = reasonText(result.failure);
        if (result.failure.why == CutReason::Stopped) {
            m_stopped.targets.push_back(result.target);
            m_stopped.stopped.push_back({m_patterns[result.entry], result.images});
        }
        break;
    case CutEntryStatus::Skipped: state.kind = EntryState::Kind::Skipped; break;
    // Cut whole before: nothing to do, as for an entry that is no file.
    case CutEntryStatus::Done: state.kind = EntryState::Kind::Skipped; break;
    }
    m_rows.setState(result.entry, std::move(state));
    showProgress();
}

// Once a run has written into a folder: what the batch did, and a click to the images.
void BatchView::showSummary(const CutBatchReport& report)
{
    if (m_destination.empty()) return;
    QString text = QStringLiteral("完了 %1本 %2枚").arg(report.cut).arg(m_images);
    if (!report.failed.empty()) text += QStringLiteral(" 失敗 %1").arg(report.failed.size());
    m_summary.setCaption(text + QStringLiteral(" ▶開く"));
    m_summary.setToolTip(QStringLiteral(" 保存先のフォルダを開く\n ") + fromSystemBytes(m_destination));
    m_summary.parentWidget()->show();
}

void BatchView::openDestination()
{
    if (!m_destination.empty()) openForUser(m_destination);
}

void BatchView::offerToGoOn()
{
    const std::optional<UnfinishedBatch> left = takeUnfinishedBatch(m_unfinishedFile);
    if (!left
        || !askQuestion(QStringLiteral("前回のカットは途中で中止されました。残りの %1 本の動画をカットしますか？")
                            .arg(left->targets.size()),
                        true))
        return;
    removeStoppedImages(*left);
    m_targets.registerTargets(left->targets);
    QTimer::singleShot(0, this, [this] { run(); });
}

void BatchView::beep() { platform::beep(); }

void BatchView::destinationRefused(const std::string& folder, DestinationProblem problem, int error)
{
    // The last batch's summary would open a folder the user has just turned away from.
    m_summary.parentWidget()->hide();
    m_destination.clear();
    showNotice(destinationNotice(folder, problem, error));
}

void BatchView::extractorNotStarted(const std::string& program, const std::string&)
{
    showNotice(notStartedNotice(program));
}

void BatchView::failuresToList(const std::vector<FailedEntry>& failed) { showNotice(failedRunsNotice(failed)); }

void BatchView::batchFinished(const CutBatchReport& report)
{
    m_window.setWindowTitle(QStringLiteral("Kelmora"));
    // The end is drawn at once: the caption rests, the entries keep their end states.
    m_redrawPause.stop();
    m_redrawDue = false;
    m_count.clear();
    m_rows.endStates();
    drawProgress();
    showSummary(report);
    // What a stop left undone waits for the next start; any other end has nothing left.
    m_stopped.targets.insert(m_stopped.targets.end(), report.notRun.begin(), report.notRun.end());
    if (report.outcome == CutBatchOutcome::Stopped && !m_stopped.targets.empty())
        saveUnfinishedBatch(m_unfinishedFile, m_stopped);
    if (report.outcome == CutBatchOutcome::Aborted) showNotice(abortedNotice());
    if (report.outcome == CutBatchOutcome::Completed) m_mascot.ImageList1.Tag = 1;
}

}  // namespace kelmora
