#pragma once
// The main window: the frameless 550 x 437 form with the cut options, the
// destination folder, the list of targets, the cut button and the mascot. It
// is a view over a cut session: its controls show the session's options and
// hand every change to it, its list is the session's target list, and its
// handlers run the session's rules and batch and show what they report. The
// handlers are bindings; the work is done by the window's parts: its settings
// (WindowSettings, WindowClose), its list (TargetListHandling), the batch
// (BatchView) and the preview (PreviewPanel).

#include <QWidget>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cut/CutSession.h"
#include "settings/CutSettings.h"
#include "ui/MainFormControls.h"

class QLabel;
class QListView;
class QTimer;
class QMimeData;

namespace kelmora {

class BatchView;
class DetailDialog;
class PreviewPanel;
class TargetListHandling;
class TargetListMenu;
class TargetListModel;
class TInfoForm1;
class WindowSettings;

class TMainForm1 : public QWidget {
    Q_OBJECT
public:
    // programFolder: the running program's folder (tests pass a temporary one);
    // arguments: the command-line targets, registered at the first activation.
    TMainForm1(std::string programFolder, std::vector<std::string> arguments, QWidget* parent = nullptr);
    ~TMainForm1() override;

    // Graphic elements painted on the form, in stored order.
    TGradBox* GradBox3;
    TGradBox* GradBox2;
    TShadowLabel* SLabel1;
    TGradBox* GradBox1;
    TGradBox* GradBox5;
    TShadowLabel* SLabel10;
    TShadowLabel* SLabel15;
    TShadowLabel* SLabel21;
    TGradBox* GradBox6;
    TShadowLabel* SLabel22;
    TShadowLabel* ShadowLabel1;
    TPanel* Shape1;
    TShadowLabel* ShadowLabel2;

    // Windowed elements, in tab order, with their children.
    TPanel* Panel1;
    TRadioButton* RadioButton1;
    TRadioButton* RadioButton2;
    TKmSpinEdit* SpinEdit1;
    QLabel* Label1;
    TKmSpinEdit* SpinEdit2;
    QLabel* Label2;
    TPanel* Panel12;
    TRadioButton* RadioButton9;
    TRadioButton* RadioButton10;
    QLabel* Label4;
    TKmSpinEdit* SpinEdit5;
    QLabel* Label5;
    TPanel* Panel3;
    TRadioButton* RadioButton3;
    TRadioButton* RadioButton4;
    TKmSpinEdit* SpinEdit3;
    QLabel* Label3;
    TKmSpinEdit* SpinEdit4;
    TPanel* Panel8;
    TRadioButton* RadioButton5;
    TRadioButton* RadioButton6;
    TRadioButton* RadioButton7;
    TRadioButton* RadioButton8;
    TKmBrowseEdit* BrowseEdit1;
    QListView* ListBox1;
    TPanel* Panel6;
    TShineSpeedButton* SSButton4;
    TPanel* Panel7;
    TShineSpeedButton* SSButton3;
    TPanel* Panel2;
    TShineSpeedButton* SSButton2;
    TPanel* Panel4;
    TShineSpeedButton* SSButton1;
    TPanel* Panel5;
    TShineSpeedButton* SSButton10;
    TPanel* Panel9;
    TShineSpeedButton* SSButton5;
    TPanel* SummaryPanel;  // the last batch's summary: a click opens the destination
    TShineSpeedButton* SummaryButton;
    TMascotPanel* Panel10;
    TPanel* Panel11;
    QLabel* Image2;

    TargetListMenu* ListMenu;  // ListBox1's right-button menu and Delete key

    TKmShapeHint* ShapeHint1;
    QTimer* Timer2;
    TInfoForm1* InfoForm1 = nullptr;  // set by the program after it creates the window

    const std::string& ProgramFolder() const { return m_programFolder; }
    // The first-activation flag: 0 until the settings have been loaded.
    int Tag() const;
    std::string settingsFilePath() const;
    std::string previewFilePath() const;

    // The registered targets, in list order.
    const std::vector<std::string>& targets() const;
    // The entry selected in ListBox1, or -1.
    int selectedIndex() const;
    bool batchRunning() const { return m_session.running(); }
    // The options as the controls hold them now, with the window's position.
    TCutSettings currentSettings() const;

    // Handlers.
    void FormActivate();
    // Saves the settings (see WindowSettings::saveBeforeClose); false keeps the window open.
    bool FormClose();
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
    void Timer2Timer();
    void Shape8MouseUp();
    void SummaryButtonClick();

    // "詳細設定…" (the window's and the list's right-button menus): the
    // picking and naming choices, in a dialog; what it shows is asked of
    // detailDialogRunner (its exec() unless a test sets one).
    void DetailSettingsClick();
    std::function<bool(DetailDialog& dialog)> detailDialogRunner;
    // Takes the DETAIL keys of from and shows the mode they make.
    void applyDetailSettings(const TCutSettings& from);

    // Registers one file, folder or pattern; a missing path adds nothing.
    void RegisterCutTarget(const std::string& path);
    // Registers each path as RegisterCutTarget does, in the order given, as one
    // insert into the list followed by one selection of its first entry.
    void RegisterCutTargets(const std::vector<std::string>& paths);
    // Registers every local file of a drop (text/uri-list), in the order given.
    void dropTargets(const QMimeData& data);
    // Removes the selected entry and selects the one that takes its place; the
    // cut button goes off with the last entry.
    void removeSelectedTarget();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class WindowSettings;  // sets each option's control to its saved value

    void buildLayout();  // MainForm1Layout.cpp
    void connectHandlers();
    // An option's control; nullptr for an option kept without one (section DETAIL).
    TRadioButton* choiceControl(ChoiceField choice) const;
    TKmSpinEdit* numberControl(IntegerField option) const;
    // A choice turned on: the window keeps its group exclusive, then runs the group's rule.
    void choiceTurnedOn(ChoiceField choice);
    void runGroupRule(ChoiceGroup group);
    // Enables the group's value fields as the rule says, shows its notice, then
    // turns on the choices it names, each as a click would.
    void showRule(const OptionRuleResult& rule, std::initializer_list<QWidget*> valueFields);
    // The interval group's caption and hint name a picking or naming mode other than the default.
    void showDetailMode();

    std::string m_programFolder;
    std::vector<std::string> m_arguments;
    CutSession m_session;
    TargetListModel* m_targets;
    std::vector<std::pair<ChoiceField, TRadioButton*>> m_choices;  // each option's control, from the layout
    std::vector<std::pair<IntegerField, TKmSpinEdit*>> m_numbers;
    // The window's parts, made once the layout stands.
    std::unique_ptr<WindowSettings> m_settings;
    std::unique_ptr<TargetListHandling> m_targetList;
    std::unique_ptr<PreviewPanel> m_preview;
    std::unique_ptr<BatchView> m_batch;
};

}  // namespace kelmora
