#include "ui/MainForm1.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <utility>

#include "controls/TextBytes.h"
#include "platform/System.h"
#include "settings/SettingsLocation.h"
#include "ui/BatchView.h"
#include "ui/DetailDialog.h"
#include "ui/HelpLinks.h"
#include "ui/InfoForm1.h"
#include "ui/Notice.h"
#include "ui/PreviewPanel.h"
#include "ui/SessionTexts.h"
#include "ui/SurfaceDrag.h"
#include "ui/TargetListHandling.h"
#include "ui/TargetListMenu.h"
#include "ui/TargetListModel.h"
#include "ui/WindowClose.h"
#include "ui/WindowSettings.h"

namespace kelmora {

TMainForm1::TMainForm1(std::string programFolder, std::vector<std::string> arguments, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_programFolder(std::move(programFolder)),
      m_arguments(std::move(arguments)),
      m_session(m_programFolder),
      m_targets(new TargetListModel(m_session.targets(), this))
{
    buildLayout();
    m_settings = std::make_unique<WindowSettings>(*this);
    m_targetList = std::make_unique<TargetListHandling>(*m_targets, *ListBox1, *SSButton10, [this] {
        return destinationFolder(m_session.options().DestinationFolder);
    });
    m_preview = std::make_unique<PreviewPanel>(m_programFolder, previewFilePath(), *Panel11, *Image2, *Timer2);
    m_batch = std::make_unique<BatchView>(m_session, *this, *m_targetList, *Panel10, *SLabel1, *m_targets,
                                          *SummaryButton, settingsFolder(m_programFolder) + "/" + kUnfinishedBatchName);
    connectHandlers();
    setAcceptDrops(true);
    new SurfaceDrag(this);
}

TMainForm1::~TMainForm1() = default;

// The layout has connected the buttons and bound each option's control to the session.
void TMainForm1::connectHandlers()
{
    connect(SpinEdit1, &TKmSpinEdit::changed, this, &TMainForm1::SpinEdit1Change);
    connect(BrowseEdit1, &TKmBrowseEdit::changed, this, &TMainForm1::BrowseEdit1Change);
    BrowseEdit1->installEventFilter(this);
    connect(Timer2, &QTimer::timeout, this, &TMainForm1::Timer2Timer);
    connect(Panel10, &TMascotPanel::infoRequested, this, &TMainForm1::Shape8MouseUp);
    ListMenu =
        new TargetListMenu(ListBox1, {[this](const std::vector<std::string>& paths) { RegisterCutTargets(paths); },
                                      [this] { removeSelectedTarget(); }, [this] { SSButton5Click(); },
                                      [this] { return destinationFolder(m_session.options().DestinationFolder); },
                                      [this] { DetailSettingsClick(); }});
}

int TMainForm1::Tag() const { return m_settings->loaded() ? 1 : 0; }
std::string TMainForm1::settingsFilePath() const { return kelmora::settingsFilePath(m_programFolder); }
std::string TMainForm1::previewFilePath() const { return kelmora::previewFilePath(m_programFolder); }
const std::vector<std::string>& TMainForm1::targets() const { return m_session.targets().entries(); }
int TMainForm1::selectedIndex() const { return m_targetList->selectedIndex(); }

TCutSettings TMainForm1::currentSettings() const
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
    m_settings->loadAtFirstActivation([this] {
        RegisterCutTargets(m_arguments);
        m_batch->offerToGoOn();
    });
}
bool TMainForm1::FormClose() { return m_settings->saveBeforeClose(); }
void TMainForm1::closeEvent(QCloseEvent* e) { e->setAccepted(windowMayClose(*m_settings, *m_batch)); }

// ---- Option rules

void TMainForm1::choiceTurnedOn(ChoiceField choice)
{
    const ChoiceGroup group = settingsKey(choice).group;
    for (const ChoiceField other : choicesOf(group))
        if (TRadioButton* control = choiceControl(other); control && other != choice) control->setChecked(false);
    runGroupRule(group);
    // A format of the window's own puts WebP aside.
    if (group == ChoiceGroup::Format) showDetailMode();
}

void TMainForm1::runGroupRule(ChoiceGroup group)
{
    if (group == ChoiceGroup::Range) RadioButton2Click();
    if (group == ChoiceGroup::Interval) RadioButton10Click();
    if (group == ChoiceGroup::Size) RadioButton4Click();
}

void TMainForm1::RadioButton2Click()
{
    showRule(rangeRule(m_session.options()), {SpinEdit1, Label1, SpinEdit2, Label2});
}
void TMainForm1::RadioButton10Click() { showRule(intervalRule(m_session.options()), {Label4, SpinEdit5, Label5}); }
void TMainForm1::RadioButton4Click() { showRule(sizeRule(m_session.options()), {SpinEdit3, Label3, SpinEdit4}); }

void TMainForm1::showRule(const OptionRuleResult& rule, std::initializer_list<QWidget*> valueFields)
{
    for (QWidget* field : valueFields) field->setEnabled(rule.valuesApply);
    if (rule.notice != RuleNotice::None) showNotice(ruleNoticeText(rule.notice));
    for (const ChoiceField choice : rule.turnOn) choiceControl(choice)->setChecked(true);
}

// ---- The detail choices

void TMainForm1::DetailSettingsClick()
{
    DetailDialog dialog(m_session.options(), this);
    const bool accepted = detailDialogRunner ? detailDialogRunner(dialog) : dialog.exec() == QDialog::Accepted;
    if (accepted) applyDetailSettings(dialog.settings());
}

void TMainForm1::applyDetailSettings(const TCutSettings& from)
{
    TCutSettings options = m_session.options();
    const bool webpBefore = options.FormatWebp;
    copyDetailKeys(from, options);
    m_session.setOptions(options);
    // WebP takes the place of the window's four formats, and JPEG comes back after it.
    if (from.FormatWebp && !webpBefore) {
        m_session.setChoice(&TCutSettings::FormatWebp, true);
        choiceTurnedOn(&TCutSettings::FormatWebp);
    } else if (!from.FormatWebp && webpBefore && chooseOutputFormat(m_session.options()) == ofNone) {
        choiceControl(&TCutSettings::FormatJpeg)->setChecked(true);
    }
    showDetailMode();
}

void TMainForm1::showDetailMode()
{
    const TCutSettings& options = m_session.options();
    // Each caption sizes itself to its text; at rest it is the layout's own.
    const auto mark = [](TShadowLabel* label, const QString& resting, const QString& mode, const QString& hint) {
        const QString caption = resting + (mode.isEmpty() ? QString() : "［" + mode + "］");
        if (label->Caption() != caption) label->setCaption(caption);
        label->setToolTip(hint);
    };
    const QString hint = detailModeHint(options);
    mark(ShadowLabel2, QStringLiteral("▼カット間隔"), detailModeShort(options), hint);
    Panel12->setToolTip(hint);
    const QString change = QStringLiteral(" （右クリックの「詳細設定…」で変更）");
    const QString size = sizeModeShort(options);
    mark(SLabel15, QStringLiteral("▼画像サイズ (幅 x 高さ)"), size, size.isEmpty() ? QString() : change);
    const QString format = formatModeShort(options);
    mark(ShadowLabel1, QStringLiteral("▼保存形式"), format, format.isEmpty() ? QString() : change);
    const QString existing = existingModeShort(options);
    mark(SLabel21, QStringLiteral("▼保存先"), existing, existing.isEmpty() ? QString() : change);
}

void TMainForm1::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("詳細設定…"), this, [this] { DetailSettingsClick(); });
    menu.exec(e->globalPos());
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
void TMainForm1::RegisterCutTargets(const std::vector<std::string>& paths) { m_targetList->registerTargets(paths); }
void TMainForm1::dropTargets(const QMimeData& data) { m_targetList->dropTargets(data); }
void TMainForm1::removeSelectedTarget() { m_targetList->removeSelected(); }
void TMainForm1::SSButton5Click() { m_targetList->clear(); }

void TMainForm1::dragEnterEvent(QDragEnterEvent* e)
{
    if (TargetListHandling::isTargetDrop(*e->mimeData())) e->acceptProposedAction();
}

void TMainForm1::dropEvent(QDropEvent* e)
{
    dropTargets(*e->mimeData());
    e->acceptProposedAction();
}

// ---- The batch and the preview

void TMainForm1::SSButton10Click() { m_batch->run(); }
void TMainForm1::SummaryButtonClick() { m_batch->openDestination(); }

// No preview while the list is empty.
void TMainForm1::SpinEdit1Change()
{
    if (!m_targetList->empty()) m_preview->preview(m_targetList->selectedTarget(), SpinEdit1->GetValue());
}

void TMainForm1::Timer2Timer() { m_preview->hide(); }

}  // namespace kelmora
