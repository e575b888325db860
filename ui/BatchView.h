#pragma once
// The window's side of a batch: runs the session's batch while the window goes
// on, hears what the session reports and shows it (the entry being cut, the
// count in the title and in the drawn caption, each entry's state in the list,
// the notices, the mascot's finish), lets Esc ask to stop, and closes the
// window once the batch returns when a close asked for that. A batch stopped
// midway leaves what it did not do in a file, and the next start offers to
// go on with it.

#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <string>
#include <vector>

#include "cut/CutSession.h"
#include "cut/UnfinishedBatch.h"

class QWidget;

namespace kelmora {

class TargetListHandling;
class TargetListModel;
class TMascotPanel;
class TShadowLabel;
class TShineSpeedButton;

class BatchView : public QObject, private CutSessionListener {
    Q_OBJECT
public:
    // caption: the drawn caption, whose text at rest is kept and comes back
    // after each batch; rows: the list's model, which shows each entry's state;
    // summary: the button (on a panel of its own) that sums up the last batch;
    // unfinishedFile: where a batch stopped midway leaves what it did not do.
    BatchView(CutSession& session, QWidget& window, TargetListHandling& targets, TMascotPanel& mascot,
              TShadowLabel& caption, TargetListModel& rows, TShineSpeedButton& summary, std::string unfinishedFile);
    ~BatchView() override;

    // Cuts every entry of the list; a run while one goes on is ignored.
    void run();
    bool running() const { return m_session.running(); }
    // A close during the batch, with its settings saved: the window closes once
    // the batch returns, stopping it first when stop says so.
    void closeWhenDone(bool stop);
    // True while the window closes after its batch: that close saves nothing again.
    bool closingAfterBatch() const { return m_closingAfterBatch; }
    // Opens the folder the last batch wrote into with the desktop.
    void openDestination();
    // At start: when the last batch was stopped midway, asks whether to go
    // on; yes removes the images of its stopped runs, registers its videos
    // and cuts them once the window is up.
    void offerToGoOn();

protected:
    // Esc anywhere in the window during a batch, whichever control has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // CutSessionListener
    void batchStarted(std::size_t entries) override;
    void entryStarted(const CutJob& job) override;
    void entryFinished(const CutEntryResult& result) override;
    // How far a run is, as its extractor reports it (EventLoopRunner).
    void runProgressed(std::uint64_t job, double fraction);
    void beep() override;
    void destinationRefused(const std::string& folder, DestinationProblem problem, int error) override;
    void extractorNotStarted(const std::string& program, const std::string& error) override;
    void failuresToList(const std::vector<FailedEntry>& failed) override;
    void batchFinished(const CutBatchReport& report) override;

    // Shows the count and the states now, or when the last redraw is far
    // enough back: a batch of short entries redraws a few times a second at most.
    void showProgress();
    void drawProgress();
    void showSummary(const CutBatchReport& report);

    CutSession& m_session;
    QWidget& m_window;
    TargetListHandling& m_targets;
    TMascotPanel& m_mascot;
    TShadowLabel& m_caption;
    TargetListModel& m_rows;
    TShineSpeedButton& m_summary;
    const QString m_restingCaption;
    std::size_t m_images = 0;   // written by this batch so far
    std::string m_destination;  // where the last run of the batch wrote
    const std::string m_unfinishedFile;
    std::map<TargetList::Serial, std::string> m_patterns;  // each running entry's images
    UnfinishedBatch m_stopped;                             // this batch's runs stopped midway
    QString m_count;                                       // " — k/n" while a batch runs
    QTimer m_redrawPause;
    bool m_redrawDue = false;
    bool m_closeAfterBatch = false;
    bool m_closingAfterBatch = false;
};

}  // namespace kelmora
