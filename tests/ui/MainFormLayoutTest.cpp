// The window as laid out, its option rules and its own surface as a caption.
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/MainFormFixture.h"

namespace kelmora::test {
namespace {

// The elements laid on a parent: its child widgets without a window of their
// own (the hint balloon has one).
std::vector<const QWidget*> elementsOf(const QWidget& parent)
{
    std::vector<const QWidget*> elements;
    for (const QObject* child : parent.children())
        if (const auto* widget = qobject_cast<const QWidget*>(child); widget && !widget->isWindow())
            elements.push_back(widget);
    return elements;
}

// The parents the layout lays elements on: the form and its panels.
std::vector<const QWidget*> parentsOf(const TMainForm1& window)
{
    std::vector<const QWidget*> parents{&window};
    for (const TPanel* panel : window.findChildren<TPanel*>()) parents.push_back(panel);
    return parents;
}

std::string nameOf(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? widget->metaObject()->className() : widget->objectName().toStdString();
}

std::string boundsOf(const QWidget* widget)
{
    const QRect r = widget->geometry();
    return nameOf(widget) + " (" + std::to_string(r.x()) + ", " + std::to_string(r.y()) + ", "
           + std::to_string(r.width()) + " x " + std::to_string(r.height()) + ")";
}

// Elements the layout lays over each other; any other two of one parent stand
// apart. Whatever lies on a gradient box overlaps it: the boxes are the form's
// backdrop, and never lie over each other.
const std::pair<const char*, const char*> kMeantToOverlap[] = {
    // The preview shows over the range and interval options for its two seconds.
    {"Panel11", "Panel1"},
    {"Panel11", "ShadowLabel2"},
    {"Panel11", "Panel12"},
    // A number field reaches two pixels up into its group's first row.
    {"SpinEdit1", "RadioButton1"},
    {"SpinEdit2", "RadioButton1"},
    {"SpinEdit5", "RadioButton9"},
    {"SpinEdit3", "RadioButton3"},
    {"SpinEdit4", "RadioButton3"},
    // The "×" between width and height touches the height field.
    {"Label3", "SpinEdit4"},
};

bool meantToOverlap(const QWidget* a, const QWidget* b)
{
    if (qobject_cast<const TGradBox*>(a) != nullptr) return qobject_cast<const TGradBox*>(b) == nullptr;
    if (qobject_cast<const TGradBox*>(b) != nullptr) return true;
    return std::any_of(std::begin(kMeantToOverlap), std::end(kMeantToOverlap), [&](const auto& pair) {
        const std::pair<std::string, std::string> names{pair.first, pair.second};
        return names == std::pair{nameOf(a), nameOf(b)} || names == std::pair{nameOf(b), nameOf(a)};
    });
}

TEST_F(MainFormTest, TheFormIsFramelessAtItsSizeAndDefaultPlace)
{
    TMainForm1 window(programFolder(), {});
    EXPECT_EQ(window.size(), QSize(550, 437));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.pos(), QPoint(20, 20));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kelmora"));
}

TEST_F(MainFormTest, EveryElementLiesInsideItsParent)
{
    TMainForm1 window(programFolder(), {});
    for (const QWidget* parent : parentsOf(window))
        for (const QWidget* element : elementsOf(*parent))
            EXPECT_TRUE(parent->rect().contains(element->geometry()))
                << boundsOf(element) << " reaches out of " << boundsOf(parent);
}

TEST_F(MainFormTest, NoTwoElementsOfOneParentOverlapUnlessLaidSo)
{
    TMainForm1 window(programFolder(), {});
    for (const QWidget* parent : parentsOf(window)) {
        const std::vector<const QWidget*> elements = elementsOf(*parent);
        for (auto a = elements.begin(); a != elements.end(); ++a)
            for (auto b = std::next(a); b != elements.end(); ++b)
                if ((*a)->geometry().intersects((*b)->geometry()) && !meantToOverlap(*a, *b))
                    ADD_FAILURE() << boundsOf(*a) << " overlaps " << boundsOf(*b);
    }
}

// Graphic elements paint on the form and let the mouse through to it (they are
// its caption); they lie below every windowed element.
TEST_F(MainFormTest, GraphicElementsLieBelowTheWindowedOnes)
{
    TMainForm1 window(programFolder(), {});
    const QWidget* firstWindowed = nullptr;
    for (const QWidget* element : elementsOf(window)) {
        if (!element->testAttribute(Qt::WA_TransparentForMouseEvents)) {
            if (!firstWindowed) firstWindowed = element;
        } else if (firstWindowed) {
            ADD_FAILURE() << nameOf(element) << " lies above " << nameOf(firstWindowed);
        }
    }
    EXPECT_NE(firstWindowed, nullptr);
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

// Notices and questions open where the user looks: centred on the window,
// wherever it stands on the screen.
TEST_F(MainFormTest, NoticesAndQuestionsAreCentredOnTheWindow)
{
    TMainForm1& w = open();
    w.move(10, 20);
    w.show();
    setNoticeSink(nullptr);
    setQuestionSink(nullptr);
    const struct {
        const char* name;
        std::function<void()> ask;
    } rows[] = {
        {"a notice", [] { showNotice(QStringLiteral("お知らせ")); }},
        {"a question", [] { askQuestion(QStringLiteral("よろしいですか？")); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QPoint centre;
        QTimer::singleShot(0, [&centre] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            centre = box->frameGeometry().center();
            box->close();
        });
        row.ask();
        // Within the pixel either way that halving odd sizes costs.
        EXPECT_LE((centre - w.frameGeometry().center()).manhattanLength(), 4);
    }
}

}  // namespace
}  // namespace kelmora::test
