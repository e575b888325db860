// The window as laid out, its option rules and its own surface as a caption.
#include <QLabel>
#include <QListView>
#include <QTest>

#include "tests/ui/MainFormFixture.h"

namespace kelmora::test {
namespace {

struct Bounds {
    const char* name;
    QRect rect;
};

TEST_F(MainFormTest, EveryElementSitsAtItsBoundsInStoredOrder)
{
    TMainForm1 window(programFolder(), {});
    EXPECT_EQ(window.size(), QSize(550, 437));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.pos(), QPoint(20, 20));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kelmora"));

    // Direct children of the form, bottom to top: graphic elements in stored
    // order, then the windowed ones in tab order.
    const Bounds onForm[] = {
        {"GradBox3", {0, 190, 240, 136}},  {"GradBox2", {0, 0, 550, 16}},      {"SLabel1", {102, 3, 138, 11}},
        {"GradBox1", {0, 17, 240, 172}},   {"GradBox5", {0, 327, 550, 110}},   {"SLabel10", {8, 22, 57, 11}},
        {"SLabel15", {8, 134, 114, 11}},   {"SLabel21", {8, 194, 44, 11}},     {"GradBox6", {540, 17, 10, 309}},
        {"SLabel22", {8, 336, 297, 11}},   {"ShadowLabel1", {8, 230, 55, 11}}, {"Shape1", {241, 321, 298, 5}},
        {"ShadowLabel2", {8, 78, 57, 11}}, {"Panel1", {12, 34, 216, 40}},      {"Panel12", {12, 90, 216, 40}},
        {"Panel3", {12, 146, 216, 40}},    {"Panel8", {12, 242, 216, 38}},     {"BrowseEdit1", {12, 206, 216, 19}},
        {"ListBox1", {12, 350, 526, 80}},  {"Panel6", {54, 2, 44, 12}},        {"Panel7", {36, 2, 16, 12}},
        {"Panel2", {20, 2, 16, 12}},       {"Panel4", {4, 2, 16, 12}},         {"Panel5", {60, 287, 120, 30}},
        {"Panel9", {492, 338, 44, 12}},    {"Panel10", {240, 10, 300, 311}},   {"Panel11", {34, 70, 82, 62}},
    };
    QStringList order;
    for (QObject* child : window.children())
        if (child->isWidgetType() && !child->objectName().isEmpty()) order << child->objectName();
    QStringList expected;
    for (const Bounds& b : onForm) {
        expected << QString::fromLatin1(b.name);
        auto* widget = window.findChild<QWidget*>(QString::fromLatin1(b.name), Qt::FindDirectChildrenOnly);
        ASSERT_NE(widget, nullptr) << b.name;
        // Shadow labels size themselves to their text in the font at hand.
        if (qobject_cast<TShadowLabel*>(widget)) EXPECT_EQ(widget->pos(), b.rect.topLeft()) << b.name;
        else EXPECT_EQ(widget->geometry(), b.rect) << b.name;
    }
    EXPECT_EQ(order, expected);

    const Bounds inPanels[] = {
        {"RadioButton1", {4, 4, 208, 14}},  {"RadioButton2", {4, 20, 14, 14}},    {"SpinEdit1", {22, 16, 50, 20}},
        {"Label1", {74, 22, 42, 11}},       {"SpinEdit2", {116, 16, 50, 20}},     {"Label2", {168, 22, 40, 11}},
        {"RadioButton9", {4, 4, 208, 14}},  {"RadioButton10", {4, 20, 14, 14}},   {"Label4", {22, 22, 47, 11}},
        {"SpinEdit5", {72, 16, 50, 20}},    {"Label5", {124, 22, 40, 11}},        {"RadioButton3", {4, 4, 208, 14}},
        {"RadioButton4", {4, 20, 14, 14}},  {"SpinEdit3", {22, 16, 50, 20}},      {"Label3", {74, 22, 11, 11}},
        {"SpinEdit4", {84, 16, 50, 20}},    {"RadioButton5", {4, 4, 104, 14}},    {"RadioButton6", {108, 4, 104, 14}},
        {"RadioButton7", {4, 20, 104, 14}}, {"RadioButton8", {108, 20, 104, 14}}, {"SSButton4", {0, 0, 44, 12}},
        {"SSButton3", {0, 0, 16, 12}},      {"SSButton2", {0, 0, 16, 12}},        {"SSButton1", {0, 0, 16, 12}},
        {"SSButton10", {0, 0, 120, 30}},    {"SSButton5", {0, 0, 44, 12}},        {"Image2", {1, 1, 80, 60}},
    };
    for (const Bounds& b : inPanels) {
        auto* widget = window.findChild<QWidget*>(QString::fromLatin1(b.name));
        ASSERT_NE(widget, nullptr) << b.name;
        EXPECT_EQ(widget->geometry(), b.rect) << b.name;
    }
}

TEST_F(MainFormTest, RadioRowsAndTheSelectedEntryShowTheirOwnColours)
{
    writeFile(QStringLiteral("a.avi"));
    TMainForm1& w = open({path("a.avi")});
    w.show();
    const QImage picture = w.grab().toImage();
    const auto rgb = [&picture](QPoint at) { return picture.pixel(at) & 0xFFFFFF; };

    // Behind the white captions, past their text: clSilver.
    const struct {
        const char* row;
        QPoint at;
    } silver[] = {
        {"RadioButton1", {216, 45}},  {"RadioButton9", {216, 101}}, {"RadioButton3", {216, 157}},
        {"RadioButton5", {100, 253}}, {"RadioButton6", {220, 253}}, {"RadioButton8", {220, 269}},
    };
    for (const auto& row : silver) {
        SCOPED_TRACE(row.row);
        EXPECT_EQ(rgb(row.at), 0xC0C0C0u);
    }

    // The selected entry in the classic selection colour, the rest of the list clSilver.
    ASSERT_EQ(w.selectedIndex(), 0);
    const QRect entry = w.ListBox1->visualRect(w.ListBox1->model()->index(0, 0));
    const QPoint origin = w.ListBox1->viewport()->mapTo(&w, QPoint(0, 0));
    EXPECT_EQ(rgb(origin + QPoint(entry.left() + 1, entry.center().y())), 0x0A246Au);
    EXPECT_EQ(rgb(origin + QPoint(entry.left() + 1, entry.bottom() + 20)), 0xC0C0C0u);
}

TEST_F(MainFormTest, StartsWithFirstChoicesOnAndDependentFieldsDisabled)
{
    TMainForm1 w(programFolder(), {});
    for (auto* on : {w.RadioButton1, w.RadioButton9, w.RadioButton3, w.RadioButton5}) EXPECT_TRUE(on->isChecked());
    for (auto* off : {w.RadioButton2, w.RadioButton10, w.RadioButton4, w.RadioButton6, w.RadioButton7, w.RadioButton8})
        EXPECT_FALSE(off->isChecked());
    for (QWidget* disabled : std::initializer_list<QWidget*>{w.SpinEdit1, w.Label1, w.SpinEdit2, w.Label2, w.Label4,
                                                             w.SpinEdit5, w.Label5, w.SpinEdit3, w.Label3, w.SpinEdit4})
        EXPECT_FALSE(disabled->isEnabled()) << disabled->objectName().toStdString();
    EXPECT_FALSE(w.SSButton10->isEnabled());
    EXPECT_TRUE(w.SSButton5->isEnabled());
    EXPECT_TRUE(w.Panel11->isHidden());
    EXPECT_EQ(w.SpinEdit3->GetValue(), 320);
    EXPECT_EQ(w.SpinEdit4->GetValue(), 240);
    EXPECT_EQ(w.SpinEdit2->GetValue(), 1);
    EXPECT_EQ(w.Tag(), 0);
    EXPECT_EQ(w.ListBox1->model()->rowCount(), 0);
    EXPECT_EQ(w.SSButton10->toolTip(), QStringLiteral(" カット開始"));
    EXPECT_EQ(w.ListBox1->toolTip(), QStringLiteral(" カット対象ファイル"));
    EXPECT_EQ(w.SpinEdit5->toolTip(), QStringLiteral(" １秒あたりのカットフレーム数(フレーム単位)"));
}

TEST_F(MainFormTest, RangeAndIntervalChoicesExcludeEachOtherWithANotice)
{
    TMainForm1& w = open();
    w.RadioButton10->click();
    EXPECT_TRUE(w.SpinEdit5->isEnabled());
    EXPECT_FALSE(w.RadioButton9->isChecked());
    EXPECT_TRUE(notices.empty());

    w.RadioButton2->click();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, QStringLiteral("カット範囲を指定する場合は カット間隔は全フレームが対象になります。"));
    EXPECT_TRUE(w.RadioButton2->isChecked());
    EXPECT_FALSE(w.RadioButton1->isChecked());
    EXPECT_TRUE(w.SpinEdit1->isEnabled());
    EXPECT_TRUE(w.Label2->isEnabled());
    EXPECT_TRUE(w.RadioButton9->isChecked());
    EXPECT_FALSE(w.RadioButton10->isChecked());
    EXPECT_FALSE(w.SpinEdit5->isEnabled());
    EXPECT_FALSE(w.Label4->isEnabled());

    // The reverse order: the range goes back to every frame.
    w.RadioButton10->click();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[1].text, QStringLiteral("カット間隔を指定する場合は カット範囲は全フレームが対象になります。"));
    EXPECT_TRUE(w.RadioButton10->isChecked());
    EXPECT_TRUE(w.RadioButton1->isChecked());
    EXPECT_FALSE(w.RadioButton2->isChecked());
    EXPECT_FALSE(w.SpinEdit1->isEnabled());
    EXPECT_TRUE(w.SpinEdit5->isEnabled());

    // A click on the checked button changes nothing.
    w.RadioButton10->click();
    EXPECT_TRUE(w.RadioButton10->isChecked());
    EXPECT_EQ(notices.size(), 2u);
}

TEST_F(MainFormTest, SizeAndFormatGroupsStayExclusive)
{
    TMainForm1& w = open();
    w.RadioButton4->click();
    EXPECT_TRUE(w.SpinEdit3->isEnabled());
    EXPECT_TRUE(w.Label3->isEnabled());
    EXPECT_FALSE(w.RadioButton3->isChecked());
    w.RadioButton3->click();
    EXPECT_FALSE(w.SpinEdit4->isEnabled());

    w.RadioButton7->click();
    EXPECT_TRUE(w.RadioButton7->isChecked());
    EXPECT_FALSE(w.RadioButton5->isChecked());
    // Checking from code acts as a click does.
    w.RadioButton8->setChecked(true);
    EXPECT_FALSE(w.RadioButton7->isChecked());
    // Turning one off touches nothing else: the group may end with none on.
    w.RadioButton8->setChecked(false);
    for (auto* b : {w.RadioButton5, w.RadioButton6, w.RadioButton7, w.RadioButton8}) EXPECT_FALSE(b->isChecked());
    EXPECT_TRUE(notices.empty());
}

TEST_F(MainFormTest, WidthAndHeightTakeFourTypedDigits)
{
    TMainForm1& w = open();
    w.RadioButton4->click();
    for (TKmSpinEdit* field : {w.SpinEdit3, w.SpinEdit4}) {
        SCOPED_TRACE(field->objectName().toStdString());
        field->selectAll();
        QTest::keyClicks(field, "19200");
        EXPECT_EQ(field->GetValue(), 1920) << "four digits, the fifth refused";
    }
}

TEST_F(MainFormTest, PressOnTheFormSurfaceMovesTheWindowButNotOnControls)
{
    TMainForm1& w = open();
    w.show();
    const QPoint start = w.pos();
    // A press on a gradient box reaches the form.
    const QPoint onGradBox(100, 180);
    QTest::mousePress(&w, Qt::LeftButton, {}, onGradBox);
    QTest::mouseMove(&w, onGradBox + QPoint(30, 12));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, onGradBox + QPoint(30, 12));
    EXPECT_EQ(w.pos(), start + QPoint(30, 12));

    const QPoint moved = w.pos();
    QWidget* list = w.ListBox1->viewport();
    QTest::mousePress(list, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(list, QPoint(60, 40));
    QTest::mouseRelease(list, Qt::LeftButton, {}, QPoint(60, 40));
    QTest::mousePress(w.Panel1, Qt::LeftButton, {}, QPoint(150, 5));
    QTest::mouseMove(w.Panel1, QPoint(180, 30));
    QTest::mouseRelease(w.Panel1, Qt::LeftButton, {}, QPoint(180, 30));
    EXPECT_EQ(w.pos(), moved);
}

TEST_F(MainFormTest, TitleButtonsCloseAndMinimise)
{
    TMainForm1& w = open();
    w.show();
    QTest::mouseClick(w.SSButton2, Qt::LeftButton);
    EXPECT_TRUE(w.isMinimized());
    w.showNormal();
    QTest::mouseClick(w.SSButton1, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(readFile(QStringLiteral("Kelmora.ini")).isEmpty());
}

}  // namespace
}  // namespace kelmora::test
