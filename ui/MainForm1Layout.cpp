// The main window's stored layout: one row per element, in stored order.
// Graphic elements come first (they paint on the form, below everything
// windowed), then the windowed ones in tab order, each followed by its
// children. A row holds what differs between elements of its kind; what every
// element of a kind shares is in the kind's builder below. An option's control
// takes its initial value and limits from the settings key table and is bound
// to the session: each change of it goes to the session's options.
#include <QLabel>
#include <QListView>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <variant>

#include "kelmora/Version.h"
#include "settings/CutSettings.h"
#include "ui/MainForm1.h"
#include "ui/TargetListModel.h"

namespace kelmora {

namespace {

using F = TMainForm1;
using T = TCutSettings;
template <typename Widget>
using Field = Widget* TMainForm1::*;
using Handler = void (TMainForm1::*)();

// Graphic elements.
struct GradBoxRow {
    Field<TGradBox> field;
    const char* name;
    QRect bounds;
    TGradStyle style;
    TColor outline;
};
struct CaptionRow {
    Field<TShadowLabel> field;
    const char* name;
    QRect bounds;
    const char* caption;
    TColor color;
};
struct BarRow {
    Field<TPanel> field;
    const char* name;
    QRect bounds;
};
// Windowed elements. An option group is a panel; its rows name it.
struct GroupRow {
    Field<TPanel> field;
    const char* name;
    QRect bounds;
};
struct ChoiceRow {
    Field<TRadioButton> field;
    Field<TPanel> group;
    const char* name;
    QRect bounds;
    const char* caption;
    ChoiceField option;
};
struct LabelRow {
    Field<QLabel> field;
    Field<TPanel> group;
    const char* name;
    QRect bounds;
    const char* caption;
};
struct NumberRow {
    Field<TKmSpinEdit> field;
    Field<TPanel> group;
    const char* name;
    QRect bounds;
    IntegerField option;
    int maxLength;
    const char* hint;
};
struct FolderRow {
    Field<TKmBrowseEdit> field;
    const char* name;
    QRect bounds;
    const char* hint;
};
struct ListRow {
    Field<QListView> field;
    const char* name;
    QRect bounds;
    const char* hint;
};
// A button fills a panel of its own size.
struct ButtonRow {
    Field<TPanel> panel;
    const char* panelName;
    Field<TShineSpeedButton> field;
    const char* name;
    QRect bounds;
    const char* caption;
    int fontHeight;
    const char* hint;
    Handler click;
};
struct MascotRow {
    Field<TMascotPanel> field;
    const char* name;
    QRect bounds;
};
struct PreviewRow {
    Field<TPanel> field;
    const char* name;
    QRect bounds;
    Field<QLabel> image;
    const char* imageName;
    QRect imageBounds;
};

using LayoutRow = std::variant<GradBoxRow, CaptionRow, BarRow, GroupRow, ChoiceRow, LabelRow, NumberRow, FolderRow,
                               ListRow, ButtonRow, MascotRow, PreviewRow>;

constexpr TColor kOrange = 33023;  // RGB FF8000

// clang-format off
const LayoutRow kLayout[] = {
    GradBoxRow{&F::GradBox3, "GradBox3", {0, 190, 240, 136}, gsRightLeft, clBlack},
    GradBoxRow{&F::GradBox2, "GradBox2", {0, 0, 550, 16}, gsBottomTop, clGray},
    CaptionRow{&F::SLabel1, "SLabel1", {102, 3, 138, 11}, "◆ Kelmora ver." KELMORA_VERSION, clRed},
    GradBoxRow{&F::GradBox1, "GradBox1", {0, 17, 240, 172}, gsRightLeft, clBlack},
    GradBoxRow{&F::GradBox5, "GradBox5", {0, 327, 550, 110}, gsBottomTop, clGray},
    CaptionRow{&F::SLabel10, "SLabel10", {8, 22, 57, 11}, "▼カット範囲", kOrange},
    CaptionRow{&F::SLabel15, "SLabel15", {8, 134, 114, 11}, "▼画像サイズ (幅 x 高さ)", kOrange},
    CaptionRow{&F::SLabel21, "SLabel21", {8, 194, 44, 11}, "▼保存先", kOrange},
    GradBoxRow{&F::GradBox6, "GradBox6", {540, 17, 10, 309}, gsRightLeft, clBlack},
    CaptionRow{&F::SLabel22, "SLabel22", {8, 336, 297, 11},
               "▼変換元 (ファイルのドラッグ＆ドロップで登録<複数ファイル可>)", kOrange},
    CaptionRow{&F::ShadowLabel1, "ShadowLabel1", {8, 230, 55, 11}, "▼保存形式", kOrange},
    BarRow{&F::Shape1, "Shape1", {241, 321, 298, 5}},
    CaptionRow{&F::ShadowLabel2, "ShadowLabel2", {8, 78, 57, 11}, "▼カット間隔", kOrange},

    GroupRow{&F::Panel1, "Panel1", {12, 34, 216, 40}},
    ChoiceRow{&F::RadioButton1, &F::Panel1, "RadioButton1", {4, 4, 208, 14}, "全フレームをカット", &T::RangeAll},
    ChoiceRow{&F::RadioButton2, &F::Panel1, "RadioButton2", {4, 20, 14, 14}, "", &T::RangeFromSecond},
    NumberRow{&F::SpinEdit1, &F::Panel1, "SpinEdit1", {22, 16, 50, 20}, &T::StartSecond, 5, " カット開始位置(秒単位)"},
    LabelRow{&F::Label1, &F::Panel1, "Label1", {74, 22, 42, 11}, "秒目から"},
    NumberRow{&F::SpinEdit2, &F::Panel1, "SpinEdit2", {116, 16, 50, 20}, &T::FrameCount, 5,
              " カットフレーム数(フレーム単位)"},
    LabelRow{&F::Label2, &F::Panel1, "Label2", {168, 22, 40, 11}, "フレーム"},

    GroupRow{&F::Panel12, "Panel12", {12, 90, 216, 40}},
    ChoiceRow{&F::RadioButton9, &F::Panel12, "RadioButton9", {4, 4, 208, 14}, "全フレームをカット", &T::RateAll},
    ChoiceRow{&F::RadioButton10, &F::Panel12, "RadioButton10", {4, 20, 14, 14}, "", &T::RatePerSecond},
    LabelRow{&F::Label4, &F::Panel12, "Label4", {22, 22, 47, 11}, "１秒あたり"},
    NumberRow{&F::SpinEdit5, &F::Panel12, "SpinEdit5", {72, 16, 50, 20}, &T::FramesPerSecond, 3,
              " １秒あたりのカットフレーム数(フレーム単位)"},
    LabelRow{&F::Label5, &F::Panel12, "Label5", {124, 22, 40, 11}, "フレーム"},

    GroupRow{&F::Panel3, "Panel3", {12, 146, 216, 40}},
    ChoiceRow{&F::RadioButton3, &F::Panel3, "RadioButton3", {4, 4, 208, 14}, "オリジナルサイズ", &T::SizeSource},
    ChoiceRow{&F::RadioButton4, &F::Panel3, "RadioButton4", {4, 20, 14, 14}, "", &T::SizeCustom},
    NumberRow{&F::SpinEdit3, &F::Panel3, "SpinEdit3", {22, 16, 50, 20}, &T::ImageWidth, 4, " 画像の幅(ピクセル単位)"},
    LabelRow{&F::Label3, &F::Panel3, "Label3", {74, 22, 11, 11}, "×"},
    NumberRow{&F::SpinEdit4, &F::Panel3, "SpinEdit4", {84, 16, 50, 20}, &T::ImageHeight, 4,
              " 画像の高さ(ピクセル単位)"},

    GroupRow{&F::Panel8, "Panel8", {12, 242, 216, 38}},
    ChoiceRow{&F::RadioButton5, &F::Panel8, "RadioButton5", {4, 4, 104, 14}, "JPEG", &T::FormatJpeg},
    ChoiceRow{&F::RadioButton6, &F::Panel8, "RadioButton6", {108, 4, 104, 14}, "GIF", &T::FormatGif},
    ChoiceRow{&F::RadioButton7, &F::Panel8, "RadioButton7", {4, 20, 104, 14}, "PNG", &T::FormatPng},
    ChoiceRow{&F::RadioButton8, &F::Panel8, "RadioButton8", {108, 20, 104, 14}, "BMP", &T::FormatBmp},

    FolderRow{&F::BrowseEdit1, "BrowseEdit1", {12, 206, 216, 19}, " 保存先のフォルダ"},
    ListRow{&F::ListBox1, "ListBox1", {12, 350, 526, 80}, " カット対象ファイル"},
    ButtonRow{&F::Panel6, "Panel6", &F::SSButton4, "SSButton4", {54, 2, 44, 12}, "INFO.", 11, " インフォメーション",
              &F::SSButton4Click},
    ButtonRow{&F::Panel7, "Panel7", &F::SSButton3, "SSButton3", {36, 2, 16, 12}, "？", 12, " ユーザーズガイド",
              &F::SSButton3Click},
    ButtonRow{&F::Panel2, "Panel2", &F::SSButton2, "SSButton2", {20, 2, 16, 12}, "＿", 11, " 最小化", &F::SSButton2Click},
    ButtonRow{&F::Panel4, "Panel4", &F::SSButton1, "SSButton1", {4, 2, 16, 12}, "×", 12, " 閉じる", &F::SSButton1Click},
    ButtonRow{&F::Panel5, "Panel5", &F::SSButton10, "SSButton10", {60, 287, 120, 30}, "カット！", 12, " カット開始",
              &F::SSButton10Click},
    ButtonRow{&F::Panel9, "Panel9", &F::SSButton5, "SSButton5", {492, 338, 44, 12}, "CLEAR", 11, " 一覧をクリア",
              &F::SSButton5Click},
    // The last batch's summary; hidden until a batch has run.
    ButtonRow{&F::SummaryPanel, "SummaryPanel", &F::SummaryButton, "SummaryButton", {310, 338, 178, 12}, "", 11,
              " 保存先のフォルダを開く", &F::SummaryButtonClick},
    MascotRow{&F::Panel10, "Panel10", {240, 10, 300, 311}},
    PreviewRow{&F::Panel11, "Panel11", {34, 70, 82, 62}, &F::Image2, "Image2", {1, 1, 80, 60}},
};
// clang-format on

// ListBox1's rows are 11 pixels high.
class FixedRowHeight : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 11};
    }
};

template <typename... Builders>
struct Overloaded : Builders... {
    using Builders::operator()...;
};

template <typename Widget>
Widget* make(QWidget* parent, const char* name, QRect bounds)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(bounds);
    return widget;
}

void setTitleButtonColors(TShineSpeedButton* button)
{
    button->Colors().setColor(clSilver);
    button->Colors().setGradColor(clGray);
    button->Colors().setHighlight(14737632);
    button->Colors().setShadow(clGray);
    button->Colors().setGradation(true);
    button->Colors().setGradVertical(true);
    button->PressedColors().setColor(clGray);
    button->PressedColors().setGradColor(clBlack);
    button->PressedColors().setHighlight(clSilver);
    button->PressedColors().setShadow(clGray);
    button->PressedColors().setGradation(true);
    button->PressedColors().setGradVertical(true);
}

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
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, toQColor(clBtnShadow));
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

}  // namespace

void TMainForm1::buildLayout()
{
    setObjectName(QStringLiteral("MainForm1"));
    setWindowTitle(QStringLiteral("Kelmora"));
    setGeometry(settingsKey(&T::WindowLeft).defaultValue, settingsKey(&T::WindowTop).defaultValue, 550, 437);
    setFixedSize(550, 437);
    QWidget::setFont(uiFont(12));
    setColors(this, clBlack, clWindowText);

    const auto build = Overloaded{
        [this](const GradBoxRow& row) {
            auto* box = this->*row.field = make<TGradBox>(this, row.name, row.bounds);
            box->BeginLoad();
            box->setTopColor(clSilver);
            box->setLastColor(clWhite);
            box->setGradStyle(row.style);
            box->setDrawOutLine(true);
            box->setOutLineColor(row.outline);
            box->Loaded();
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
        },
        [this](const CaptionRow& row) {
            auto* label = this->*row.field = make<TShadowLabel>(this, row.name, row.bounds);
            label->BeginLoad();
            label->setCaption(QString::fromUtf8(row.caption));
            label->setFont(uiTFont(11, row.color));
            label->setColor(clBlack);
            label->setTransparent(true);
            label->setLayout(tlCenter);
            label->setGradation(true);
            label->setGradationColor(clBlack);
            label->setGradateVert(true);
            label->Highlight().setVisible(false);
            label->setTextGradation(tg3Colors);
            label->setTextMidColor(clYellow);
            label->setTextGradationColor(kOrange);
            label->Loaded();
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
        },
        [this](const BarRow& row) {
            auto* bar = this->*row.field = make<TPanel>(this, row.name, row.bounds);
            bar->setColor(clSilver);
            bar->setAttribute(Qt::WA_TransparentForMouseEvents);
        },
        [this](const GroupRow& row) {
            auto* panel = this->*row.field = make<TPanel>(this, row.name, row.bounds);
            panel->setColor(clSilver);
            panel->setBevelLowered(true);
        },
        [this](const ChoiceRow& row) {
            auto* button = this->*row.field = make<TRadioButton>(this->*row.group, row.name, row.bounds);
            button->setText(QString::fromUtf8(row.caption));
            button->setFont(uiFont(11));
            setColors(button, clSilver, clWhite);
            // The round mark itself is drawn as the system draws it: black on white.
            QPalette mark = button->palette();
            mark.setColor(QPalette::Base, toQColor(clWindow));
            mark.setColor(QPalette::Text, toQColor(clWindowText));
            button->setPalette(mark);
            button->setChecked(settingsKey(row.option).defaultValue != 0);
            m_choices.push_back({row.option, button});
            connect(button, &QAbstractButton::toggled, this, [this, choice = row.option](bool on) {
                m_session.setChoice(choice, on);
                if (on) choiceTurnedOn(choice);
            });
        },
        [this](const LabelRow& row) {
            auto* text = this->*row.field = make<QLabel>(this->*row.group, row.name, row.bounds);
            text->setText(QString::fromUtf8(row.caption));
            text->setFont(uiFont(11));
            setColors(text, clSilver, clWhite);
            text->setEnabled(false);
        },
        [this](const NumberRow& row) {
            const SettingsKey& key = settingsKey(row.option);
            auto* edit = this->*row.field = make<TKmSpinEdit>(this->*row.group, row.name, row.bounds);
            edit->BeginLoad();
            edit->setColor(clSilver);
            edit->setFont(uiTFont(11, clWhite));
            edit->setMaxLength(row.maxLength);
            edit->setMaxValue(key.maxValue);
            edit->setMinValue(key.minValue);
            edit->SetValue(key.defaultValue);
            edit->setToolTip(QString::fromUtf8(row.hint));
            edit->setEnabled(false);
            edit->Loaded();
            m_numbers.push_back({row.option, edit});
            // The value as shown: reading it must not change what the user is typing.
            connect(edit, &TKmSpinEdit::changed, this,
                    [this, option = row.option, edit] { m_session.setInteger(option, edit->valueShown()); });
        },
        [this](const FolderRow& row) {
            auto* edit = this->*row.field = make<TKmBrowseEdit>(this, row.name, row.bounds);
            edit->BeginLoad();
            edit->setColor(clSilver);
            edit->setFont(uiTFont(11, clWhite));
            edit->setCursor(Qt::IBeamCursor);
            edit->setStartWithLast(true);
            edit->setCaretBlinkRate(200);
            edit->setToolTip(QString::fromUtf8(row.hint));
            edit->Loaded();
        },
        [this](const ListRow& row) {
            auto* list = this->*row.field = make<QListView>(this, row.name, row.bounds);
            list->setFont(uiFont(11));
            setColors(list, clSilver, clWhite);
            QPalette selection = list->palette();
            selection.setColor(QPalette::Highlight, toQColor(clHighlight));
            selection.setColor(QPalette::HighlightedText, toQColor(clHighlightText));
            list->setPalette(selection);
            list->setItemDelegate(new FixedRowHeight(list));
            list->setUniformItemSizes(true);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setEditTriggers(QAbstractItemView::NoEditTriggers);
            list->setModel(m_targets);
            list->setToolTip(QString::fromUtf8(row.hint));
        },
        [this](const ButtonRow& row) {
            auto* panel = this->*row.panel = make<TPanel>(this, row.panelName, row.bounds);
            panel->setColor(clBlack);
            auto* button = this->*row.field = make<TShineSpeedButton>(panel, row.name, {QPoint(), row.bounds.size()});
            button->BeginLoad();
            button->setCaption(QString::fromUtf8(row.caption));
            button->setCursor(Qt::PointingHandCursor);
            button->setClickDownHook(true);
            button->setToolTip(QString::fromUtf8(row.hint));
            button->setFont(uiTFont(row.fontHeight, clWhite));
            button->setActiveFont(uiTFont(row.fontHeight, clWhite, true));
            button->setFontHighlight(8388672);
            button->setFontShadow(clBlack);
            setTitleButtonColors(button);
            button->Loaded();
            connect(button, &TShineSpeedButton::clicked, this, row.click);
        },
        [this](const MascotRow& row) { this->*row.field = make<TMascotPanel>(this, row.name, row.bounds); },
        [this](const PreviewRow& row) {
            auto* panel = this->*row.field = make<TPanel>(this, row.name, row.bounds);
            panel->setColor(clBlack);
            panel->setCaption(QString::fromLatin1(row.name));
            panel->hide();
            auto* image = this->*row.image = make<QLabel>(panel, row.imageName, row.imageBounds);
            image->setScaledContents(true);
        },
    };
    for (const LayoutRow& row : kLayout) std::visit(build, row);

    // The cut button stands out, and waits for the first target.
    SSButton10->Colors().setColor(clYellow);
    SSButton10->Colors().setGradColor(kOrange);
    SSButton10->Colors().setShadow(clSilver);
    SSButton10->PressedColors().setColor(clRed);
    SSButton10->PressedColors().setGradColor(clMaroon);
    SSButton10->setEnabled(false);

    SummaryPanel->hide();

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

TRadioButton* TMainForm1::choiceControl(ChoiceField choice) const
{
    const auto found =
        std::find_if(m_choices.begin(), m_choices.end(), [choice](const auto& c) { return c.first == choice; });
    return found == m_choices.end() ? nullptr : found->second;
}

TKmSpinEdit* TMainForm1::numberControl(IntegerField option) const
{
    const auto found =
        std::find_if(m_numbers.begin(), m_numbers.end(), [option](const auto& n) { return n.first == option; });
    return found == m_numbers.end() ? nullptr : found->second;
}

}  // namespace kelmora
