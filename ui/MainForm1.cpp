#include "ui/MainForm1.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <iterator>
#include <utility>

#include "controls/TextBytes.h"
#include "cut/Preview.h"
#include "cut/TargetSearch.h"
#include "cut/UriList.h"
#include "platform/Beep.h"
#include "platform/Paths.h"
#include "platform/System.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "ui/InfoForm1.h"
#include "ui/HelpLinks.h"
#include "ui/Notice.h"
#include "ui/EventLoopRunner.h"
#include "ui/ProcessEndWatch.h"
#include "ui/ScreenPlacement.h"
#include "ui/TargetListMenu.h"
#include "ui/TargetListModel.h"

namespace kelmora {

namespace {

// ListBox1's rows are 11 pixels high.
class FixedRowHeight : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 11};
    }
};

// Fills the widget with its stated colour whatever role its kind paints its
// background with (a radio button fills with the button role), so nothing of
// the toolkit's own palette shows through.
void setColors(QWidget* widget, TColor background, TColor text)
{
    QPalette p = widget->palette();
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        p.setColor(role, toQColor(background));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, toQColor(text));
    p.setColor(QPalette::Disabled, QPalette::WindowText, toQColor(clBtnShadow));
    p.setColor(QPalette::Disabled, QPalette::Text, toQColor(clBtnShadow));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, toQColor(clBtnShadow));
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

const char* const kSet = "SET";
const int kCaptionHeight = 16;  // the title strip GradBox2
const char* const kSet1 = "SET1";

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
}

TMainForm1::~TMainForm1() { m_previewWatch->Stop(); }

// The stored layout, in stored order: graphic elements first (they paint on
// the form, below everything windowed), then the windowed ones in tab order.
void TMainForm1::BuildLayout()
{
    setObjectName(QStringLiteral("MainForm1"));
    setWindowTitle(QStringLiteral("Kelmora"));
    setGeometry(20, 20, 550, 437);
    setFixedSize(550, 437);
    QWidget::setFont(uiFont(12));
    setColors(this, clBlack, clWindowText);

    auto gradBox = [this](const char* name, QRect bounds, TGradStyle style, TColor outline) {
        auto* box = new GradBoxControl(this);
        box->setObjectName(QString::fromLatin1(name));
        box->BeginLoad();
        box->setGeometry(bounds);
        box->setTopColor(clSilver);
        box->setLastColor(clWhite);
        box->setGradStyle(style);
        box->setDrawOutLine(true);
        box->setOutLineColor(outline);
        box->Loaded();
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        return box;
    };
    auto shadowLabel = [this](const char* name, QRect bounds, const char* caption, TColor color) {
        auto* label = new ShadowLabelControl(this);
        label->setObjectName(QString::fromLatin1(name));
        label->BeginLoad();
        label->setGeometry(bounds);
        label->setCaption(QString::fromUtf8(caption));
        label->setFont(uiTFont(11, color));
        label->setColor(clBlack);
        label->setTransparent(true);
        label->setLayout(tlCenter);
        label->setGradation(true);
        label->setGradationColor(clBlack);
        label->setGradateVert(true);
        label->Highlight().setVisible(false);
        label->setTextGradation(tg3Colors);
        label->setTextMidColor(clYellow);
        label->setTextGradationColor(0x0080FF);  // orange FF8000
        label->Loaded();
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        return label;
    };
    const TColor orange = 33023;

    GradBox3 = gradBox("GradBox3", {0, 190, 240, 136}, gsRightLeft, clBlack);
    GradBox2 = gradBox("GradBox2", {0, 0, 550, 16}, gsBottomTop, clGray);
    SLabel1 = shadowLabel("SLabel1", {102, 3, 138, 11}, "◆ Kelmora ver.1.5", clRed);
    GradBox1 = gradBox("GradBox1", {0, 17, 240, 172}, gsRightLeft, clBlack);
    GradBox5 = gradBox("GradBox5", {0, 327, 550, 110}, gsBottomTop, clGray);
    SLabel10 = shadowLabel("SLabel10", {8, 22, 57, 11}, "▼カット範囲", orange);
    SLabel15 = shadowLabel("SLabel15", {8, 134, 114, 11}, "▼画像サイズ (幅 x 高さ)", orange);
    SLabel21 = shadowLabel("SLabel21", {8, 194, 44, 11}, "▼保存先", orange);
    GradBox6 = gradBox("GradBox6", {540, 17, 10, 309}, gsRightLeft, clBlack);
    SLabel22 = shadowLabel("SLabel22", {8, 336, 297, 11},
                           "▼変換元 (ファイルのドラッグ＆ドロップで登録<複数ファイル可>)", orange);
    ShadowLabel1 = shadowLabel("ShadowLabel1", {8, 230, 55, 11}, "▼保存形式", orange);
    Shape1 = new TPanel(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(241, 321, 298, 5);
    Shape1->setColor(clSilver);
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    ShadowLabel2 = shadowLabel("ShadowLabel2", {8, 78, 57, 11}, "▼カット間隔", orange);

    auto optionPanel = [this](const char* name, QRect bounds) {
        auto* panel = new TPanel(this);
        panel->setObjectName(QString::fromLatin1(name));
        panel->setGeometry(bounds);
        panel->setColor(clSilver);
        panel->setBevelLowered(true);
        return panel;
    };
    auto radio = [](QWidget* panel, const char* name, QRect bounds, const char* caption, bool checked) {
        auto* button = new TRadioButton(panel);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(bounds);
        button->setText(QString::fromUtf8(caption));
        button->setFont(uiFont(11));
        setColors(button, clSilver, clWhite);
        // The round mark itself is drawn as the system draws it: black on white.
        QPalette mark = button->palette();
        mark.setColor(QPalette::Base, toQColor(clWindow));
        mark.setColor(QPalette::Text, toQColor(clWindowText));
        button->setPalette(mark);
        button->setChecked(checked);
        return button;
    };
    auto label = [](QWidget* panel, const char* name, QRect bounds, const char* caption) {
        auto* text = new QLabel(QString::fromUtf8(caption), panel);
        text->setObjectName(QString::fromLatin1(name));
        text->setGeometry(bounds);
        text->setFont(uiFont(11));
        setColors(text, clSilver, clWhite);
        text->setEnabled(false);
        return text;
    };
    auto spinEdit = [](QWidget* panel, const char* name, QRect bounds, int minValue, int maxValue,
                       int maxLength, int value, const char* hint) {
        auto* edit = new SpinEditControl(panel);
        edit->setObjectName(QString::fromLatin1(name));
        edit->BeginLoad();
        edit->setGeometry(bounds);
        edit->setColor(clSilver);
        edit->setFont(uiTFont(11, clWhite));
        edit->setMaxLength(maxLength);
        edit->setMaxValue(maxValue);
        edit->setMinValue(minValue);
        edit->SetValue(value);
        edit->setToolTip(QString::fromUtf8(hint));
        edit->setEnabled(false);
        edit->Loaded();
        return edit;
    };

    Panel1 = optionPanel("Panel1", {12, 34, 216, 40});
    RadioButton1 = radio(Panel1, "RadioButton1", {4, 4, 208, 14}, "全フレームをカット", true);
    RadioButton2 = radio(Panel1, "RadioButton2", {4, 20, 14, 14}, "", false);
    SpinEdit1 = spinEdit(Panel1, "SpinEdit1", {22, 16, 50, 20}, 0, 99999, 5, 0, " カット開始位置(秒単位)");
    Label1 = label(Panel1, "Label1", {74, 22, 42, 11}, "秒目から");
    SpinEdit2 = spinEdit(Panel1, "SpinEdit2", {116, 16, 50, 20}, 1, 99999, 5, 1,
                         " カットフレーム数(フレーム単位)");
    Label2 = label(Panel1, "Label2", {168, 22, 40, 11}, "フレーム");

    Panel12 = optionPanel("Panel12", {12, 90, 216, 40});
    RadioButton9 = radio(Panel12, "RadioButton9", {4, 4, 208, 14}, "全フレームをカット", true);
    RadioButton10 = radio(Panel12, "RadioButton10", {4, 20, 14, 14}, "", false);
    Label4 = label(Panel12, "Label4", {22, 22, 47, 11}, "１秒あたり");
    SpinEdit5 = spinEdit(Panel12, "SpinEdit5", {72, 16, 50, 20}, 1, 60, 3, 1,
                         " １秒あたりのカットフレーム数(フレーム単位)");
    Label5 = label(Panel12, "Label5", {124, 22, 40, 11}, "フレーム");

    Panel3 = optionPanel("Panel3", {12, 146, 216, 40});
    RadioButton3 = radio(Panel3, "RadioButton3", {4, 4, 208, 14}, "オリジナルサイズ", true);
    RadioButton4 = radio(Panel3, "RadioButton4", {4, 20, 14, 14}, "", false);
    SpinEdit3 = spinEdit(Panel3, "SpinEdit3", {22, 16, 50, 20}, 0, 9999, 4, 320, " 画像の幅(ピクセル単位)");
    Label3 = label(Panel3, "Label3", {74, 22, 11, 11}, "×");
    SpinEdit4 = spinEdit(Panel3, "SpinEdit4", {84, 16, 50, 20}, 0, 9999, 4, 240, " 画像の高さ(ピクセル単位)");

    Panel8 = optionPanel("Panel8", {12, 242, 216, 38});
    RadioButton5 = radio(Panel8, "RadioButton5", {4, 4, 104, 14}, "JPEG", true);
    RadioButton6 = radio(Panel8, "RadioButton6", {108, 4, 104, 14}, "GIF", false);
    RadioButton7 = radio(Panel8, "RadioButton7", {4, 20, 104, 14}, "PNG", false);
    RadioButton8 = radio(Panel8, "RadioButton8", {108, 20, 104, 14}, "BMP", false);

    BrowseEdit1 = new BrowseEditControl(this);
    BrowseEdit1->setObjectName(QStringLiteral("BrowseEdit1"));
    BrowseEdit1->BeginLoad();
    BrowseEdit1->setGeometry(12, 206, 216, 19);
    BrowseEdit1->setColor(clSilver);
    BrowseEdit1->setFont(uiTFont(11, clWhite));
    BrowseEdit1->setCursor(Qt::IBeamCursor);
    BrowseEdit1->setStartWithLast(true);
    BrowseEdit1->setCaretBlinkRate(200);
    BrowseEdit1->setToolTip(QStringLiteral(" 保存先のフォルダ"));
    BrowseEdit1->Loaded();

    ListBox1 = new QListView(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(12, 350, 526, 80);
    ListBox1->setFont(uiFont(11));
    setColors(ListBox1, clSilver, clWhite);
    QPalette selection = ListBox1->palette();
    selection.setColor(QPalette::Highlight, toQColor(clHighlight));
    selection.setColor(QPalette::HighlightedText, toQColor(clHighlightText));
    ListBox1->setPalette(selection);
    ListBox1->setItemDelegate(new FixedRowHeight(ListBox1));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setModel(m_targets);
    ListBox1->setToolTip(QStringLiteral(" カット対象ファイル"));

    auto button = [this](const char* panelName, const char* name, QRect bounds, const char* caption,
                         int fontHeight, const char* hint, TPanel*& panel) {
        panel = new TPanel(this);
        panel->setObjectName(QString::fromLatin1(panelName));
        panel->setGeometry(bounds);
        panel->setColor(clBlack);
        auto* shine = new ShineButtonControl(panel);
        shine->setObjectName(QString::fromLatin1(name));
        shine->BeginLoad();
        shine->setGeometry(0, 0, bounds.width(), bounds.height());
        shine->setCaption(QString::fromUtf8(caption));
        shine->setCursor(Qt::PointingHandCursor);
        shine->setClickDownHook(true);
        shine->setToolTip(QString::fromUtf8(hint));
        shine->setFont(uiTFont(fontHeight, clWhite));
        shine->setActiveFont(uiTFont(fontHeight, clWhite, true));
        shine->setFontHighlight(8388672);
        shine->setFontShadow(clBlack);
        shine->Colors().setColor(clSilver);
        shine->Colors().setGradColor(clGray);
        shine->Colors().setHighlight(14737632);
        shine->Colors().setShadow(clGray);
        shine->Colors().setGradation(true);
        shine->Colors().setGradVertical(true);
        shine->PressedColors().setColor(clGray);
        shine->PressedColors().setGradColor(clBlack);
        shine->PressedColors().setHighlight(clSilver);
        shine->PressedColors().setShadow(clGray);
        shine->PressedColors().setGradation(true);
        shine->PressedColors().setGradVertical(true);
        shine->Loaded();
        return shine;
    };
    SSButton4 = button("Panel6", "SSButton4", {54, 2, 44, 12}, "INFO.", 11, " インフォメーション", Panel6);
    SSButton3 = button("Panel7", "SSButton3", {36, 2, 16, 12}, "？", 12, " ユーザーズガイド", Panel7);
    SSButton2 = button("Panel2", "SSButton2", {20, 2, 16, 12}, "＿", 11, " 最小化", Panel2);
    SSButton1 = button("Panel4", "SSButton1", {4, 2, 16, 12}, "×", 12, " 閉じる", Panel4);
    SSButton10 = button("Panel5", "SSButton10", {60, 287, 120, 30}, "カット！", 12, " カット開始", Panel5);
    SSButton10->Colors().setColor(clYellow);
    SSButton10->Colors().setGradColor(orange);
    SSButton10->Colors().setShadow(clSilver);
    SSButton10->PressedColors().setColor(clRed);
    SSButton10->PressedColors().setGradColor(clMaroon);
    SSButton10->setEnabled(false);
    SSButton5 = button("Panel9", "SSButton5", {492, 338, 44, 12}, "CLEAR", 11, " 一覧をクリア", Panel9);

    Panel10 = new TMascotPanel(this);
    Panel10->setObjectName(QStringLiteral("Panel10"));
    Panel10->setGeometry(240, 10, 300, 311);

    Panel11 = new TPanel(this);
    Panel11->setObjectName(QStringLiteral("Panel11"));
    Panel11->setGeometry(34, 70, 82, 62);
    Panel11->setColor(clBlack);
    Panel11->setCaption(QStringLiteral("Panel11"));
    Panel11->hide();
    Image2 = new QLabel(Panel11);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(1, 1, 80, 60);
    Image2->setScaledContents(true);

    ShapeHint1 = new TKmShapeHint(this);
    ShapeHint1->BeginLoad();
    ShapeHint1->setColor(clWhite);
    ShapeHint1->setFont(uiTFont(11, clBlack));
    ShapeHint1->setShadowColor(2105376);
    ShapeHint1->setShadowDepth(2);
    ShapeHint1->Loaded();

    Timer2 = new QTimer(this);
    Timer2->setInterval(2000);
    Timer2->start();
}

void TMainForm1::ConnectHandlers()
{
    const std::pair<TRadioButton*, void (TMainForm1::*)()> rules[] = {
        {RadioButton1, &TMainForm1::RadioButton2Click}, {RadioButton2, &TMainForm1::RadioButton2Click},
        {RadioButton9, &TMainForm1::RadioButton10Click}, {RadioButton10, &TMainForm1::RadioButton10Click},
        {RadioButton3, &TMainForm1::RadioButton4Click}, {RadioButton4, &TMainForm1::RadioButton4Click},
        {RadioButton5, nullptr}, {RadioButton6, nullptr}, {RadioButton7, nullptr}, {RadioButton8, nullptr},
    };
    for (const auto& [button, rule] : rules) {
        connect(button, &QAbstractButton::toggled, this, [this, button = button, rule = rule](bool on) {
            if (!on) return;
            // The window keeps each group exclusive; then the group's rule runs.
            for (auto* sibling : button->parentWidget()->findChildren<TRadioButton*>(Qt::FindDirectChildrenOnly))
                if (sibling != button) sibling->setChecked(false);
            if (rule) (this->*rule)();
        });
    }
    connect(BrowseEdit1, &BrowseEditControl::changed, this, &TMainForm1::BrowseEdit1Change);
    BrowseEdit1->installEventFilter(this);
    connect(SpinEdit1, &SpinEditControl::changed, this, &TMainForm1::SpinEdit1Change);
    connect(SSButton1, &ShineButtonControl::clicked, this, &TMainForm1::SSButton1Click);
    connect(SSButton2, &ShineButtonControl::clicked, this, &TMainForm1::SSButton2Click);
    connect(SSButton3, &ShineButtonControl::clicked, this, &TMainForm1::SSButton3Click);
    connect(SSButton4, &ShineButtonControl::clicked, this, &TMainForm1::SSButton4Click);
    connect(SSButton5, &ShineButtonControl::clicked, this, &TMainForm1::SSButton5Click);
    connect(SSButton10, &ShineButtonControl::clicked, this, &TMainForm1::SSButton10Click);
    connect(Timer2, &QTimer::timeout, this, &TMainForm1::Timer2Timer);
    connect(Panel10, &TMascotPanel::infoRequested, this, &TMainForm1::Shape8MouseUp);
    ListMenu = new TargetListMenu(ListBox1, {[this](const std::vector<std::string>& paths) { RegisterCutTargets(paths); },
                                             [this] { RemoveSelectedTarget(); }, [this] { SSButton5Click(); }});
}

std::string TMainForm1::SettingsFilePath() const { return settingsFilePath(m_programFolder); }
std::string TMainForm1::PreviewFilePath() const { return previewFilePath(m_programFolder); }

const std::vector<std::string>& TMainForm1::Targets() const { return m_targets->list().entries(); }

int TMainForm1::SelectedIndex() const
{
    const QModelIndexList selected = ListBox1->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.constLast().row();
}

TCutSettings TMainForm1::CurrentSettings() const
{
    TCutSettings s;
    s.WindowLeft = x();
    s.WindowTop = y();
    s.RangeAll = RadioButton1->isChecked();
    s.RangeFromSecond = RadioButton2->isChecked();
    s.StartSecond = SpinEdit1->GetValue();
    s.FrameCount = SpinEdit2->GetValue();
    s.RateAll = RadioButton9->isChecked();
    s.RatePerSecond = RadioButton10->isChecked();
    s.FramesPerSecond = SpinEdit5->GetValue();
    s.SizeSource = RadioButton3->isChecked();
    s.SizeCustom = RadioButton4->isChecked();
    s.ImageWidth = SpinEdit3->GetValue();
    s.ImageHeight = SpinEdit4->GetValue();
    // The field may hold a separator the user is still typing after.
    s.DestinationFolder = platform::removeTrailingSeparator(BrowseEdit1->GetPath());
    s.FormatJpeg = RadioButton5->isChecked();
    s.FormatGif = RadioButton6->isChecked();
    s.FormatPng = RadioButton7->isChecked();
    s.FormatBmp = RadioButton8->isChecked();
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
    if (file.state() == platform::ProfileState::NotAFile) {
        // Reading a FIFO would wait for ever; the close question decides what becomes of the save.
        showNotice(fromSystemBytes(file.path())
                   + QStringLiteral(" は通常のファイルではないため、設定を読み込めません。既定の設定で始めます。"));
    }
    const int left = file.readInteger(kSet, "M_LEFT", x());
    move(left, y());
    const int top = file.readInteger(kSet, "M_TOP", y());
    move(x(), top);
    // A position saved on a screen that is gone: brought back where the caption can be seen.
    move(placeCaptionOnScreens(pos(), width(), kCaptionHeight, availableScreenAreas()));

    auto radio = [&file](TRadioButton* button, const char* key) {
        button->setChecked(file.readBoolean(kSet1, key, button->isChecked()));
    };
    auto spin = [&file](SpinEditControl* edit, const char* key) {
        edit->SetValue(file.readInteger(kSet1, key, edit->GetValue()));
    };
    radio(RadioButton1, "R1");
    radio(RadioButton2, "R2");
    RadioButton2Click();
    spin(SpinEdit1, "S1");
    spin(SpinEdit2, "S2");
    radio(RadioButton9, "R9");
    radio(RadioButton10, "R10");
    RadioButton10Click();
    spin(SpinEdit5, "S5");
    radio(RadioButton3, "R3");
    radio(RadioButton4, "R4");
    RadioButton4Click();
    spin(SpinEdit3, "S3");
    spin(SpinEdit4, "S4");
    BrowseEdit1->SetPath(file.readText(kSet1, "B1", BrowseEdit1->GetPath()));
    if (BrowseEdit1->GetPath().empty()) BrowseEdit1->SetPath(defaultDestinationFolder(m_programFolder));
    BrowseEdit1Change();
    radio(RadioButton5, "R5");
    radio(RadioButton6, "R6");
    radio(RadioButton7, "R7");
    radio(RadioButton8, "R8");
}

void TMainForm1::SaveSettings()
{
    SettingsFile file(SettingsFilePath());
    writeCutSettings(file, CurrentSettings());
}

bool TMainForm1::FormClose()
{
    try {
        SaveSettings();
    } catch (const SettingsWriteError& error) {
        // A file that cannot be written must not keep the user in the program.
        return askQuestion(fromSystemBytes(error.what()) + QStringLiteral("\n保存せずに閉じますか？"));
    }
    return true;
}

void TMainForm1::closeEvent(QCloseEvent* e)
{
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

void TMainForm1::RadioButton2Click()
{
    const bool range = RadioButton2->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(SpinEdit1), static_cast<QWidget*>(Label1),
                       static_cast<QWidget*>(SpinEdit2), static_cast<QWidget*>(Label2)})
        w->setEnabled(range);
    if (range && RadioButton10->isChecked()) {
        showNotice(QStringLiteral("カット範囲を指定する場合は カット間隔は全フレームが対象になります。"));
        RadioButton9->setChecked(true);
        RadioButton10Click();
    }
}

void TMainForm1::RadioButton10Click()
{
    const bool rate = RadioButton10->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(SpinEdit5),
                       static_cast<QWidget*>(Label5)})
        w->setEnabled(rate);
    if (rate && RadioButton2->isChecked()) {
        showNotice(QStringLiteral("カット間隔を指定する場合は カット範囲は全フレームが対象になります。"));
        RadioButton1->setChecked(true);
        RadioButton2Click();
    }
}

void TMainForm1::RadioButton4Click()
{
    const bool custom = RadioButton4->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(SpinEdit3), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(SpinEdit4)})
        w->setEnabled(custom);
}

void TMainForm1::BrowseEdit1Change()
{
    // A separator typed at the end stays while the user types on; it goes when
    // the field is left (eventFilter) and whenever the path is used.
    if (BrowseEdit1->SettingPath())
        BrowseEdit1->SetPath(platform::removeTrailingSeparator(BrowseEdit1->GetPath()));
    BrowseEdit1->setToolTip(fromSystemBytes(platform::removeTrailingSeparator(BrowseEdit1->GetPath())));
}

bool TMainForm1::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == BrowseEdit1 && e->type() == QEvent::FocusOut)
        BrowseEdit1->SetPath(platform::removeTrailingSeparator(BrowseEdit1->GetPath()));
    // Esc anywhere in the window during a batch, whichever control has the focus.
    if (e->type() == QEvent::KeyPress && m_session.running() && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            AskToStopBatch();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TMainForm1::AskToStopBatch()
{
    if (askQuestion(QStringLiteral("カットを中止しますか？"))) m_session.requestStop();
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

// ---- Window dragging: the form's own surface acts as its caption

void TMainForm1::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    m_manualMove = true;
    m_moveOffset = e->globalPosition().toPoint() - pos();
}

void TMainForm1::mouseMoveEvent(QMouseEvent* e)
{
    if (m_manualMove) move(e->globalPosition().toPoint() - m_moveOffset);
}

void TMainForm1::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) m_manualMove = false;
}

// ---- Targets

void TMainForm1::RegisterCutTarget(const std::string& path) { RegisterCutTargets({path}); }

void TMainForm1::RegisterCutTargets(const std::vector<std::string>& paths)
{
    // Everything the paths stand for goes in as one merge into the sorted list
    // with one selection: name by name, 100,000 dropped files took minutes.
    std::vector<std::string> found;
    for (const std::string& path : paths) {
        std::vector<std::string> entries = findCutTargets(path);
        found.insert(found.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
    }
    m_targets->addAll(std::move(found));
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
    // Until the options live in the session, it gets them from the controls
    // when the batch begins and after every run, before the next starts.
    struct OptionsFromControls : EventLoopRunner {
        TMainForm1& form;
        explicit OptionsFromControls(TMainForm1& f) : form(f) { form.m_session.setOptions(form.CurrentSettings()); }
        CutRunEnd waitForEnd() override
        {
            const CutRunEnd end = EventLoopRunner::waitForEnd();
            form.m_session.setOptions(form.CurrentSettings());
            return end;
        }
    } runner(*this);
    m_session.setListener(this);
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
void TMainForm1::notice(const std::string& text) { showNotice(fromSystemBytes(text)); }

void TMainForm1::batchFinished(const CutBatchReport& report)
{
    setWindowTitle(QStringLiteral("Kelmora"));
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
