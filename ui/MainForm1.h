#pragma once
// The main window: the frameless 550 x 437 form with the cut options, the
// destination folder, the list of targets, the cut button and the mascot. It
// is a view over a cut session: its controls show the session's options and
// hand every change to it, its list is the session's target list, and its
// handlers run the session's rules and batch and show what they report.

#include <QWidget>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cut/CutSession.h"
#include "cut/Preview.h"
#include "settings/CutSettings.h"
#include "ui/MainFormControls.h"

class QLabel;
class QListView;
class QTimer;
class QMimeData;

namespace kelmora {

class ProcessEndWatch;
class TargetListMenu;
class TargetListModel;
class TInfoForm1;

class TMainForm1 : public QWidget, private CutSessionListener {
    Q_OBJECT
public:
    // programFolder: the running program's folder (tests pass a temporary one);
    // arguments: the command-line targets, registered at the first activation.
    TMainForm1(std::string programFolder, std::vector<std::string> arguments, QWidget* parent = nullptr);
    ~TMainForm1() override;

    // Graphic elements painted on the form, in stored order.
    GradBoxControl* GradBox3;
    GradBoxControl* GradBox2;
    ShadowLabelControl* SLabel1;
    GradBoxControl* GradBox1;
    GradBoxControl* GradBox5;
    ShadowLabelControl* SLabel10;
    ShadowLabelControl* SLabel15;
    ShadowLabelControl* SLabel21;
    GradBoxControl* GradBox6;
    ShadowLabelControl* SLabel22;
    ShadowLabelControl* ShadowLabel1;
    TPanel* Shape1;
    ShadowLabelControl* ShadowLabel2;

    // Windowed elements, in tab order, with their children.
    TPanel* Panel1;
    TRadioButton* RadioButton1;
    TRadioButton* RadioButton2;
    SpinEditControl* SpinEdit1;
    QLabel* Label1;
    SpinEditControl* SpinEdit2;
    QLabel* Label2;
    TPanel* Panel12;
    TRadioButton* RadioButton9;
    TRadioButton* RadioButton10;
    QLabel* Label4;
    SpinEditControl* SpinEdit5;
    QLabel* Label5;
    TPanel* Panel3;
    TRadioButton* RadioButton3;
    TRadioButton* RadioButton4;
    SpinEditControl* SpinEdit3;
    QLabel* Label3;
    SpinEditControl* SpinEdit4;
    TPanel* Panel8;
    TRadioButton* RadioButton5;
    TRadioButton* RadioButton6;
    TRadioButton* RadioButton7;
    TRadioButton* RadioButton8;
    BrowseEditControl* BrowseEdit1;
    QListView* ListBox1;
    TPanel* Panel6;
    ShineButtonControl* SSButton4;
    TPanel* Panel7;
    ShineButtonControl* SSButton3;
    TPanel* Panel2;
    ShineButtonControl* SSButton2;
    TPanel* Panel4;
    ShineButtonControl* SSButton1;
    TPanel* Panel5;
    ShineButtonControl* SSButton10;
    TPanel* Panel9;
    ShineButtonControl* SSButton5;
    TMascotPanel* Panel10;
    TPanel* Panel11;
    QLabel* Image2;

    TargetListMenu* ListMenu;  // ListBox1's right-button menu and Delete key

    TKmShapeHint* ShapeHint1;
    QTimer* Timer2;
    TInfoForm1* InfoForm1 = nullptr;  // set by the program after it creates the window

    const std::string& ProgramFolder() const { return m_programFolder; }
    // The first-activation flag: 0 until the settings have been loaded.
    int Tag() const { return m_tag; }
    std::string SettingsFilePath() const;
    std::string PreviewFilePath() const;

    // The registered targets, in list order.
    const std::vector<std::string>& Targets() const;
    // The entry selected in ListBox1, or -1.
    int SelectedIndex() const;
    bool BatchRunning() const { return m_session.running(); }
    // The options as the controls hold them now, with the window's position.
    TCutSettings CurrentSettings() const;

    // Handlers.
    void FormActivate();
    // Writes every key. When the file refuses the save, or another program
    // holds it for longer than kSettingsLockWaitMs (the window painting
    // meanwhile), asks whether to close without saving; false keeps the window open.
    bool FormClose();
    static constexpr int kSettingsLockWaitMs = 2000;
    void RadioButton2Click();
    void RadioButton10Click();
    void RadioButton4Click();
    void BrowseEdit1Change();
    void SSButton1Click();
    void SSButton2Click();
    void SSButton3Click();
    void SSButton4Click();
    void SSButton5Click();
    void SSButton10Click();
    void SpinEdit1Change();
    // The preview's extractor run has ended: its picture is shown, or the
    // reason it cannot be read.
    void PreviewRunEnded();
    void Timer2Timer();
    void Shape8MouseUp();

    // Registers one file, folder or pattern; a missing path adds nothing.
    void RegisterCutTarget(const std::string& path);
    // Registers each path as RegisterCutTarget does, in the order given, as one
    // insert into the list followed by one selection of its first entry.
    void RegisterCutTargets(const std::vector<std::string>& paths);
    // Registers every local file of a drop (text/uri-list), in the order given.
    void DropTargets(const QMimeData& data);
    // Removes the selected entry and selects the one that takes its place; the
    // cut button goes off with the last entry.
    void RemoveSelectedTarget();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildLayout();  // MainForm1Layout.cpp
    void ConnectHandlers();
    void LoadSettings();
    // Sets the control of one key to its saved value, then runs what follows
    // that key in the load: the group's rule after its last choice, the
    // destination rule after the folder.
    void ApplySaved(const SettingsKey& key, const TCutSettings& saved);
    void SaveSettings();
    TRadioButton* ChoiceControl(ChoiceField choice) const;
    SpinEditControl* NumberControl(IntegerField option) const;
    // A choice turned on: the window keeps its group exclusive, then runs the group's rule.
    void ChoiceTurnedOn(ChoiceField choice);
    void RunGroupRule(ChoiceGroup group);
    // Enables the group's value fields as the rule says, shows its notice, then
    // turns on the choices it names, each as a click would.
    void ShowRule(const OptionRuleResult& rule, std::initializer_list<QWidget*> valueFields);
    void AfterRegistration();
    // Shows the preview panel for its two seconds from now.
    void ShowPreviewPanel();

    // CutSessionListener
    void entryStarted(const CutJob& job) override;
    void beep() override;
    void destinationRefused(const std::string& folder, DestinationProblem problem, int error) override;
    void extractorNotStarted(const std::string& program, const std::string& error) override;
    void failuresToList(const std::vector<FailedEntry>& failed) override;
    void batchFinished(const CutBatchReport& report) override;

    std::string m_programFolder;
    std::vector<std::string> m_arguments;
    int m_tag = 0;
    bool m_loading = false;  // the first activation's load is under way
    CutSession m_session;
    TargetListModel* m_targets;
    std::vector<std::pair<ChoiceField, TRadioButton*>> m_choices;  // each option's control, from the layout
    std::vector<std::pair<IntegerField, SpinEditControl*>> m_numbers;
    PreviewRun m_preview;
    ProcessEndWatch* m_previewWatch;
    bool m_closeAfterBatch = false;  // closed during the batch: close once it returns
    bool m_closeSaved = false;       // that close has saved the settings already
    bool m_saving = false;           // the close's save is waiting for the file
};

}  // namespace kelmora
