// The folder field as a widget: the change rule with a handler that edits the
// text, loading, the menu, the caret blink, the picker and its placement.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

#include "controls/KmBrowseEdit.h"
#include "tests/controls/PaintedTestSupport.h"

using namespace kelmora;

namespace {

// What the main window's change handler does: no trailing separator.
void stripTrailingSeparator(TKmBrowseEdit& e)
{
    std::string path = e.GetPath();
    if (path.size() > 1 && path.back() == '/') {
        path.pop_back();
        e.SetPath(path);
    }
}

struct RunnerGuard {
    ~RunnerGuard() { TKmBrowseDlg::setRunner(nullptr); }
};

std::map<QString, bool> menuEntries(TKmBrowseEdit& e)
{
    std::unique_ptr<QMenu> menu(e.createContextMenu());
    std::map<QString, bool> entries;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) entries[a->text()] = a->isEnabled();
    return entries;
}

}  // namespace

TEST(BrowseEdit, SetPathRaisesOneChangeAndPutsTheCaretFirst)
{
    TKmBrowseEdit e;
    QSignalSpy changed(&e, &TKmBrowseEdit::changed);
    e.SetPath("/home/user/out");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(e.model().caret(), 1);
    e.SetPath("/home/user/out");
    EXPECT_EQ(changed.count(), 1);

    e.BeginLoad();
    e.SetPath("/tmp");
    e.Loaded();
    EXPECT_EQ(changed.count(), 1) << "no change events while loading";
    EXPECT_EQ(e.GetPath(), "/tmp");
}

TEST(BrowseEdit, TypedTrailingSeparatorVanishesAndCaretStaysAtTheEnd)
{
    TKmBrowseEdit e;
    e.SetPath("/out");
    int changes = 0, nested = 0, depth = 0;
    QObject::connect(&e, &TKmBrowseEdit::changed, [&] {
        ++changes;
        if (depth) ++nested;
        ++depth;
        stripTrailingSeparator(e);
        --depth;
    });
    e.model().end(false);
    QTest::keyClick(&e, Qt::Key_Slash);
    EXPECT_EQ(e.GetPath(), "/out");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(nested, 1) << "exactly one nested change";
    EXPECT_EQ(e.model().caret(), 5) << "held to the end of the text";
    QTest::keyClick(&e, Qt::Key_X);
    EXPECT_EQ(e.GetPath(), "/outx");
}

TEST(BrowseEdit, KeysEditTheText)
{
    TKmBrowseEdit e;
    e.SetPath("abc");
    QTest::keyClick(&e, Qt::Key_End);
    QTest::keyClick(&e, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&e, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "c");
    QTest::keyClick(&e, Qt::Key_Home);
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(e.GetPath(), "cabc");
    QTest::keyClick(&e, Qt::Key_Delete);
    EXPECT_EQ(e.GetPath(), "cbc");
    QTest::keyClick(&e, Qt::Key_Insert);
    EXPECT_TRUE(TBrowseText::overwriteMode());
    QTest::keyClick(&e, Qt::Key_Z);
    EXPECT_EQ(e.GetPath(), "czc");
    QTest::keyClick(&e, Qt::Key_Insert);
    EXPECT_FALSE(TBrowseText::overwriteMode());
    QTest::keyClick(&e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&e, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(e.GetPath(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "czc");

    e.setEnabled(false);
    QTest::keyClick(&e, Qt::Key_Q);
    EXPECT_EQ(e.GetPath(), "");
}

TEST(BrowseEdit, ContextMenuEntries)
{
    TKmBrowseEdit e;
    QApplication::clipboard()->setText("x");
    auto entries = menuEntries(e);
    EXPECT_TRUE(entries["&Undo"]);
    EXPECT_TRUE(entries["&Insert"]);
    EXPECT_FALSE(entries["&Cut"]);
    EXPECT_FALSE(entries["&Copy"]);
    EXPECT_FALSE(entries["&Delete"]);
    EXPECT_FALSE(entries["Select all"]);
    QApplication::clipboard()->clear();
    EXPECT_FALSE(menuEntries(e)["&Insert"]);

    e.SetPath("abc");
    e.model().selectAll();
    entries = menuEntries(e);
    EXPECT_TRUE(entries["&Cut"] && entries["&Copy"] && entries["&Delete"] && entries["Select all"]);
    e.setReadOnly(true);
    entries = menuEntries(e);
    EXPECT_FALSE(entries["&Undo"] || entries["&Cut"] || entries["&Delete"]);
    EXPECT_TRUE(entries["&Copy"]);
}

TEST(BrowseEdit, CaretBlinkTimeWhileFocusedThenRestored)
{
    const int before = QApplication::cursorFlashTime();
    QWidget window;
    TKmBrowseEdit e(&window);
    e.setCaretBlinkRate(200);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&e, &in);
    EXPECT_EQ(QApplication::cursorFlashTime(), 400) << "on for 200 ms, off for 200 ms";
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&e, &out);
    EXPECT_EQ(QApplication::cursorFlashTime(), before);
}

TEST(BrowseEdit, LongTextScrollsToKeepTheCaretInView)
{
    QWidget window;
    window.resize(200, 40);
    TKmBrowseEdit e(&window);
    e.setGeometry(12, 10, 120, 19);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    e.setFocus();
    ASSERT_TRUE(e.hasFocus());
    e.SetPath("/a/very/long/folder/name/that/cannot/fit/into/the/field");
    QTest::keyClick(&e, Qt::Key_End);
    EXPECT_GT(e.scrollOffset(), 0);
    const QRect area = e.textArea();
    const std::string text = e.GetPath();
    const int textWidth = QFontMetrics(e.font()).horizontalAdvance(QString::fromStdString(text));
    EXPECT_EQ(area.left() + textWidth - e.scrollOffset(), area.right() - 2) << "overflow plus 2 pixels";
    QTest::keyClick(&e, Qt::Key_Home);
    EXPECT_EQ(e.scrollOffset(), 0);
}

TEST(BrowseEdit, BrowseButtonTakesTheConfirmedFolder)
{
    RunnerGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString chosen = QDir(dir.path()).filePath("pick");
    ASSERT_TRUE(QDir().mkpath(chosen));

    TKmBrowseEdit e;
    e.setStartWithLast(true);
    QSignalSpy changed(&e, &TKmBrowseEdit::changed);
    QStringList preselected;
    TKmBrowseDlg::setRunner([&](QFileDialog& d) {
        preselected = d.selectedFiles();
        EXPECT_TRUE(d.testOption(QFileDialog::ShowDirsOnly));
        EXPECT_EQ(d.fileMode(), QFileDialog::Directory);
        d.setDirectory(dir.path());
        d.selectFile("pick");
        return int(QDialog::Accepted);
    });
    e.browseButton()->click();
    EXPECT_EQ(e.GetPath(), chosen.toStdString());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(e.model().caret(), 1);

    // The text, naming an existing folder, is preselected the next time.
    e.browseButton()->click();
    ASSERT_FALSE(preselected.isEmpty());
    EXPECT_EQ(preselected.first(), chosen);
    EXPECT_EQ(changed.count(), 1) << "the same folder again changes nothing";

    // A cancel changes nothing.
    TKmBrowseDlg::setRunner([](QFileDialog& d) {
        d.selectFile("/");
        return int(QDialog::Rejected);
    });
    e.browseButton()->click();
    EXPECT_EQ(e.GetPath(), chosen.toStdString());
    EXPECT_EQ(changed.count(), 1);
}

TEST(BrowseDialogPlacement, PositionsInTargetAndKeptOnScreen)
{
    const QRect screen(0, 0, 1024, 768);
    const QSize size(400, 300);
    const QRect window(100, 100, 500, 400);
    EXPECT_EQ(placeDialog(size, window, screen, bpCenter), QPoint(150, 150));
    EXPECT_EQ(placeDialog(QSize(401, 301), window, screen, bpCenter), QPoint(149, 149)) << "halves toward zero";
    EXPECT_EQ(placeDialog(size, window, screen, bpCustom), QPoint(100, 100));
    EXPECT_EQ(placeDialog(size, window, screen, bpTopRight), QPoint(200, 100));
    EXPECT_EQ(placeDialog(size, window, screen, bpCenterLeft), QPoint(100, 150));
    EXPECT_EQ(placeDialog(size, window, screen, bpBottomCenter), QPoint(150, 200));
    EXPECT_EQ(placeDialog(size, window, screen, bpBottomRight), QPoint(200, 200));

    // A small window near the bottom-right corner: moved back to end at its edges.
    const QRect corner(900, 700, 100, 60);
    EXPECT_EQ(placeDialog(size, corner, screen, bpCenter), QPoint(600, 460));
    // Larger than its target near the top-left: never off the screen.
    const QRect small(10, 10, 100, 60);
    EXPECT_EQ(placeDialog(size, small, screen, bpCenter), QPoint(0, 0));
    EXPECT_EQ(placeDialog(size, screen, screen, bpCenter), QPoint(312, 234));
}

TEST(BrowseEdit, FieldLooksRightOnScreen)
{
    QWidget window;
    window.resize(240, 40);
    TKmBrowseEdit e(&window);
    e.setColor(clSilver);
    e.setFont(uiTFont(11, clWhite));
    e.setCaretBlinkRate(200);
    e.setGeometry(12, 10, 216, 19);
    e.SetPath("/home/user/Pictures");
    e.setHideSelection(false);
    e.model().select(7, 4);
    const QImage shot = window.grab().toImage();
    shot.scaled(shot.size() * 4).save("/tmp/kelmora-browseedit.png");
    EXPECT_EQ(shot.pixel(12, 10), toQColor(clBtnShadow).rgb()) << "sunken bevel";
    EXPECT_EQ(shot.pixel(12 + 215, 10 + 18), toQColor(clBtnHighlight).rgb());
    const QRect button = e.browseButton()->geometry().translated(12, 10);
    EXPECT_EQ(button, QRect(12 + 2 + 193, 12, 18, 15));
    EXPECT_EQ(shot.pixel(button.left() + 2, button.top() + 7), qRgb(0, 0, 0)) << "folder outline";
    EXPECT_EQ(shot.pixel(button.left() + 6, button.top() + 9), qRgb(0xFF, 0xFF, 0)) << "yellow folder";
    // The selection is drawn in the highlight colour.
    const QImage field = e.grab().toImage();
    const int selLeft = e.textArea().left() + QFontMetrics(e.font()).horizontalAdvance("/home/") + 1;
    EXPECT_EQ(field.pixel(selLeft, 3), toQColor(clHighlight).rgb());
}

// Caret positions, clicks and pixels all follow the font's own advances (no gap after "/").
TEST(BrowseEdit, TextIsLaidOutWithTheFontsOwnAdvances)
{
    QFont listFace = uiFont(11);  // the list's face, drawn without smoothing
    listFace.setStyleStrategy(QFont::NoAntialias);
    const QFontMetricsF listMetrics(listFace);
    TKmBrowseEdit e;
    e.setColor(clSilver);
    e.setFont(uiTFont(11, clWhite));
    e.resize(300, 19);
    for (const std::string bytes : {"/home/user/out1", "/home/ユーザー/写真", "/tmp/a\xFFz b/50%"}) {
        SCOPED_TRACE(bytes);
        e.SetPath(bytes);
        for (int pos = 1; pos <= e.model().length() + 1; pos = e.model().nextCharPos(pos)) {
            const QString before = QString::fromUtf8(bytes.substr(0, static_cast<std::size_t>(pos - 1)));
            EXPECT_NEAR(e.caretX(pos) - e.caretX(1), listMetrics.horizontalAdvance(before), 1.0) << pos;
            EXPECT_EQ(e.posAt(e.caretX(pos)), pos) << "a click there puts the caret there";
            if (pos > e.model().length()) break;
        }
        EXPECT_EQ(test::shapeOf(test::grabImage(e), clWhite, e.textArea()),
                  test::toolkitTextShape(QString::fromUtf8(bytes), listFace));
    }
}

TEST(BrowseEdit, NewTextSetWithoutTheFocusShowsFromItsStart)
{
    QWidget window;
    TKmBrowseEdit e(&window);
    e.setFont(uiTFont(11, clWhite));
    e.setGeometry(12, 10, 216, 19);
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    e.setFocus();
    e.SetPath("/a/very/long/folder/name/that/cannot/fit/into/the/field/at/all");
    QTest::keyClick(&e, Qt::Key_End);
    ASSERT_GT(e.scrollOffset(), 0);
    other.setFocus();

    e.SetPath("/tmp/x");  // as the picker or the settings do
    EXPECT_EQ(e.scrollOffset(), 0);
    const QSet<QPoint> ink = test::pointsOf(test::grabImage(e), clWhite, e.textArea());
    EXPECT_TRUE(std::any_of(ink.begin(), ink.end(), [&](QPoint p) { return p.x() <= e.textArea().left() + 1; }))
        << "the text starts at the area's left";
}
