#include "ui/MainForm1.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "controls/TextBytes.h"
#include "cut/Preview.h"
#include "cut/TargetSearch.h"
#include "cut/UriList.h"
#include "platform/Beep.h"
#include "platform/System.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "ui/EventLoopRunner.h"
#include "ui/HelpLinks.h"
#include "ui/InfoForm1.h"
#include "ui/Notice.h"
#include "ui/ProcessEndWatch.h"
#include "ui/ScreenPlacement.h"
#include "ui/SessionTexts.h"
#include "ui/SurfaceDrag.h"
#include "ui/TargetListMenu.h"
#include "ui/TargetListModel.h"

namespace kelmora {

namespace {

using T = TCutSettings;

const int kCaptionHeight = 16;  // the title strip GradBox2

}  // namespace

TMainForm1::TMainForm1(std::string programFolder, std::vector<std::string> arguments, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_programFolder(std::move(programFolder)),
      m_arguments(std::move(arguments)),
      m_session(m_programFolder),
      m_targets(new TargetListModel(m_session.targets(), this)),
      m_preview(m_programFolder, previewFilePath(m_programFolder)),
      m_previewWatch(new ProcessEndWatch(this))
{
    BuildLayout();
    ConnectHandlers();
    setAcceptDrops(true);
    new SurfaceDrag(this);
    m_session.setListener(this);
}

TMainForm1::~TMainForm1() { m_previewWatch->Stop(); }

// The layout has connected the buttons and bound each option's control to the session.
void TMainForm1::ConnectHandlers()
{
    connect(SpinEdit1, &SpinEditControl::changed, this, &TMainForm1::SpinEdit1Change);
    connect(BrowseEdit1, &BrowseEditControl::changed, this, &TMainForm1::BrowseEdit1Change);
    BrowseEdit1->installEventFilter(this);
    connect(Timer2, &QTimer::timeout, this, &TMainForm1::Timer2Timer);
    connect(Panel10, &TMascotPanel::infoRequested, this, &TMainForm1::Shape8MouseUp);
    ListMenu =
        new TargetListMenu(ListBox1, {[this](const std::vector<std::string>& paths) { RegisterCutTargets(paths); },
                                      [this] { RemoveSelectedTarget(); }, [this] { SSButton5Click(); }});
}

std::string TMainForm1::SettingsFilePath() const { return settingsFilePath(m_programFolder); }
std::string TMainForm1::PreviewFilePath() const { return previewFilePath(m_programFolder); }

const std::vector<std::string>& TMainForm1::Targets() const { return m_session.targets().entries(); }

int TMainForm1::SelectedIndex() const
{
    const QModelIndexList selected = ListBox1->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.constLast().row();
}

TCutSettings TMainForm1::CurrentSettings() const
{
    TCutSettings s = m_session.options();
    s.WindowLeft = x();
    s.WindowTop = y();
    return s;
}

// ---- Start, first activation and close

bool TMainForm1::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(e);
}

void TMainForm1::FormActivate()
{
    // The load's conflict notice is modal: closing it activates the window
    // again before Tag is set, and that activation must not load a second time.
    if (m_tag != 0 || m_loading) return;
    m_loading = true;
    struct EndLoading {
        bool& flag;
        ~EndLoading() { flag = false; }
    } endLoading{m_loading};
    LoadSettings();
    RegisterCutTargets(m_arguments);
    m_tag = 1;
}

void TMainForm1::LoadSettings()
{
    SettingsFile file(SettingsFilePath());
    // Reading a FIFO would wait for ever, a huge file for long; the close
    // question decides what becomes of the save.
    if (file.state() == platform::ProfileState::NotAFile) {
        showNotice(fromSystemBytes(file.path())
                   + QStringLiteral(" は通常のファイルではないため、設定を読み込めません。既定の設定で始めます。"));
    } else if (file.state() == platform::ProfileState::TooLarge) {
        showNotice(fromSystemBytes(file.path())
                   + QStringLiteral(" は設定ファイルとしては大きすぎる（1 MiB を超える）ため、設定を読み込めません。"
                                    "既定の設定で始めます。"));
    }
    // Every key with the system-wide default or else its control's value as the
    // default, applied in the order of the file.
    const TCutSettings saved = readCutSettings(file, settingsDefaultsFiles(m_programFolder), CurrentSettings());
    for (const SettingsKey& key : settingsKeys()) ApplySaved(key, saved);
}

void TMainForm1::ApplySaved(const SettingsKey& key, const TCutSettings& saved)
{
    if (key.integer == &T::WindowLeft) {
        move(saved.WindowLeft, y());
    } else if (key.integer == &T::WindowTop) {
        move(x(), saved.WindowTop);
        // A position saved on a screen that is gone: brought back where the caption can be seen.
        move(placeCaptionOnScreens(pos(), width(), kCaptionHeight, availableScreenAreas()));
    } else if (key.integer) {
        NumberControl(key.integer)->SetValue(saved.*key.integer);
    } else if (key.choice) {
        ChoiceControl(key.choice)->setChecked(saved.*key.choice);
        if (choicesOf(key.group).back() == key.choice) RunGroupRule(key.group);
    } else if (key.text) {
        const std::string& folder = saved.*key.text;
        BrowseEdit1->SetPath(folder.empty() ? defaultDestinationFolder(m_programFolder) : folder);
        BrowseEdit1Change();
    }
}

void TMainForm1::SaveSettings()
{
    // Another program holding the file must not freeze the window: the save is
    // tried again while the window goes on painting, for a bounded time.
    const QDeadlineTimer deadline(kSettingsLockWaitMs);
    for (;;) {
        SettingsFile file(SettingsFilePath());
        if (tryWriteCutSettings(file, CurrentSettings())) return;
        if (deadline.hasExpired()) throw SettingsWriteError(file.path(), SettingsWriteProblem::Busy);
        QEventLoop pause;
        QTimer::singleShot(50, &pause, &QEventLoop::quit);
        pause.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

bool TMainForm1::FormClose()
{
    try {
        m_saving = true;
        struct EndSaving {
            bool& flag;
            ~EndSaving() { flag = false; }
        } endSaving{m_saving};
        SaveSettings();
    } catch (const SettingsWriteError& error) {
        // A file that cannot be written must not keep the user in the program.
        return askQuestion(fromSystemBytes(error.what()) + QStringLiteral("\n保存せずに閉じますか？"));
    }
    return true;
}

void TMainForm1::closeEvent(QCloseEvent* e)
{
    // A second "×" while the first close waits for the settings file: that close decides.
    if (m_saving) {
        e->ignore();
        return;
    }
    if (m_session.running()) {
        const bool stop = askQuestion(QStringLiteral("カット中です。中止して閉じますか？"));
        if (!FormClose()) {
            e->ignore();
            return;
        }
        // The settings are saved (or the user closes without them); the
        // program ends once the batch returns, without saving again.
        if (stop) m_session.requestStop();
        m_closeAfterBatch = true;
        m_closeSaved = true;
        e->ignore();
        return;
    }
    if (!std::exchange(m_closeSaved, false) && !FormClose()) {
        e->ignore();
        return;
    }
    e->accept();
}

// ---- Option rules

void TMainForm1::ChoiceTurnedOn(ChoiceField choice)
{
    const ChoiceGroup group = settingsKey(choice).group;
    for (const ChoiceField other : choicesOf(group))
        if (other != choice) ChoiceControl(other)->setChecked(false);
    RunGroupRule(group);
}

void TMainForm1::RunGroupRule(ChoiceGroup group)
{
    if (group == ChoiceGroup::Range) RadioButton2Click();
    if (group == ChoiceGroup::Interval) RadioButton10Click();
    if (group == ChoiceGroup::Size) RadioButton4Click();
}

void TMainForm1::RadioButton2Click()
{
    ShowRule(rangeRule(m_session.options()), {SpinEdit1, Label1, SpinEdit2, Label2});
}
void TMainForm1::RadioButton10Click() { ShowRule(intervalRule(m_session.options()), {Label4, SpinEdit5, Label5}); }
void TMainForm1::RadioButton4Click() { ShowRule(sizeRule(m_session.options()), {SpinEdit3, Label3, SpinEdit4}); }

void TMainForm1::ShowRule(const OptionRuleResult& rule, std::initializer_list<QWidget*> valueFields)
{
    for (QWidget* field : valueFields) field->setEnabled(rule.valuesApply);
    if (rule.notice != RuleNotice::None) showNotice(ruleNoticeText(rule.notice));
    for (const ChoiceField choice : rule.turnOn) ChoiceControl(choice)->setChecked(true);
}

void TMainForm1::BrowseEdit1Change()
{
    // A separator typed at the end stays while the user types on; the session
    // never uses it, and it goes when the field is left (eventFilter).
    const std::string folder = m_session.setDestination(BrowseEdit1->GetPath());
    if (BrowseEdit1->SettingPath()) BrowseEdit1->SetPath(folder);
    BrowseEdit1->setToolTip(fromSystemBytes(folder));
}

bool TMainForm1::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == BrowseEdit1 && e->type() == QEvent::FocusOut)
        BrowseEdit1->SetPath(m_session.options().DestinationFolder);
    // Esc anywhere in the window during a batch, whichever control has the focus.
    if (e->type() == QEvent::KeyPress && m_session.running() && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            if (askQuestion(QStringLiteral("カットを中止しますか？"))) m_session.requestStop();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

// ---- Title strip

void TMainForm1::SSButton1Click() { close(); }
void TMainForm1::SSButton2Click() { showMinimized(); }
void TMainForm1::SSButton3Click() { openReadme(m_programFolder); }
void TMainForm1::SSButton4Click() { openInfoPage(platform::programPath(), m_programFolder); }

void TMainForm1::Shape8MouseUp()
{
    if (InfoForm1) InfoForm1->showModalOver(this);
}

// ---- Targets

void TMainForm1::RegisterCutTarget(const std::string& path) { RegisterCutTargets({path}); }

void TMainForm1::RegisterCutTargets(const std::vector<std::string>& paths)
{
    // One merge into the sorted list and one selection: name by name, 100,000
    // dropped files took minutes.
    m_targets->addAll(findCutTargets(paths));
    AfterRegistration();
}

void TMainForm1::AfterRegistration()
{
    if (m_targets->rowCount() == 0) return;
    SSButton10->setEnabled(true);
    const QModelIndex first = m_targets->index(0);
    ListBox1->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    ListBox1->scrollTo(first);
}

void TMainForm1::RemoveSelectedTarget()
{
    const int row = SelectedIndex();
    if (row < 0) return;
    m_targets->removeAt(row);
    const int rows = m_targets->rowCount();
    if (rows == 0) {
        SSButton10->setEnabled(false);
        return;
    }
    ListBox1->selectionModel()->setCurrentIndex(m_targets->index(std::min(row, rows - 1)),
                                                QItemSelectionModel::ClearAndSelect);
}

void TMainForm1::SSButton5Click()
{
    m_targets->clear();
    SSButton10->setEnabled(false);
}

void TMainForm1::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasFormat(QStringLiteral("text/uri-list"))) e->acceptProposedAction();
}

void TMainForm1::dropEvent(QDropEvent* e)
{
    DropTargets(*e->mimeData());
    e->acceptProposedAction();
}

void TMainForm1::DropTargets(const QMimeData& data)
{
    // Read the list's raw bytes: a file name that is not UTF-8 keeps its bytes.
    const QByteArray list = data.data(QStringLiteral("text/uri-list"));
    RegisterCutTargets(parseUriList(std::string_view(list.constData(), static_cast<std::size_t>(list.size()))));
}

// ---- The batch

void TMainForm1::SSButton10Click()
{
    if (m_session.running()) return;  // a second click while a batch runs is ignored
    // Esc reaches the window through the application, whichever control has the focus.
    struct EscWatch {
        QObject* filter;
        explicit EscWatch(QObject* f) : filter(f) { QCoreApplication::instance()->installEventFilter(filter); }
        ~EscWatch() { QCoreApplication::instance()->removeEventFilter(filter); }
    } escWatch(this);
    EventLoopRunner runner;
    m_session.runBatch(runner);
    // The close during the batch has saved the settings: it is not saved again.
    if (std::exchange(m_closeAfterBatch, false)) close();
}

// The entry being cut is selected and in view, and the title (what the task
// bar shows) says how far the batch is.
void TMainForm1::entryStarted(const CutJob& job)
{
    const std::size_t row = m_targets->list().indexOf(job.entry);
    if (row < m_targets->list().size()) {
        const QModelIndex index = m_targets->index(static_cast<int>(row));
        ListBox1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        ListBox1->scrollTo(index);
    }
    setWindowTitle(QStringLiteral("Kelmora (%1/%2)").arg(job.number).arg(job.total));
}

void TMainForm1::beep() { platform::beep(); }
void TMainForm1::destinationRefused(const std::string& folder, DestinationProblem problem, int error)
{
    showNotice(destinationNotice(folder, problem, error));
}
void TMainForm1::extractorNotStarted(const std::string& program, const std::string&)
{
    showNotice(notStartedNotice(program));
}
void TMainForm1::failuresToList(const std::vector<FailedEntry>& failed) { showNotice(failedRunsNotice(failed)); }

void TMainForm1::batchFinished(const CutBatchReport& report)
{
    setWindowTitle(QStringLiteral("Kelmora"));
    if (report.outcome == CutBatchOutcome::Aborted) showNotice(abortedNotice());
    if (report.outcome == CutBatchOutcome::Completed) Panel10->ImageList1.Tag = 1;
}

// ---- The preview

void TMainForm1::SpinEdit1Change()
{
    if (m_targets->rowCount() == 0) return;
    const int selected = SelectedIndex();
    const std::string target = selected >= 0 ? Targets().at(static_cast<std::size_t>(selected)) : std::string();
    if (!target.empty()) {
        Image2->clear();
        const int second = SpinEdit1->GetValue();
        m_previewWatch->Stop();  // an older run is ended by the new start
        if (m_preview.Start(target, second)) {
            // The window goes on; the picture and its two seconds come when the run ends.
            m_previewWatch->Watch(*m_preview.Running(), [this] { PreviewRunEnded(); });
            return;
        }
    }
    ShowPreviewPanel();
}

void TMainForm1::PreviewRunEnded()
{
    if (const std::optional<std::string> bytes = m_preview.Finish()) {
        QByteArray data(bytes->data(), static_cast<qsizetype>(bytes->size()));
        QBuffer buffer(&data);
        QImageReader reader(&buffer);
        const QImage picture = reader.read();
        if (picture.isNull()) {
            // The file is gone already: this picture is reported once.
            showErrorDisplay(reader.errorString());
            return;
        }
        Image2->setPixmap(QPixmap::fromImage(picture));
    }
    ShowPreviewPanel();
}

void TMainForm1::ShowPreviewPanel()
{
    Timer2->stop();
    Panel11->show();
    Timer2->start();
}

void TMainForm1::Timer2Timer()
{
    Panel11->hide();
    Timer2->stop();
}

}  // namespace kelmora
