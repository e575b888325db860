// The folder field as a widget: the change rule with a handler that edits the
// text, loading, the menu, the caret blink, the picker and its placement.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "controls/KmBrowseEdit.h"

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

namespace {

// Columns of img within rows [top, bottom) that hold a pixel of colour ink.
std::vector<int> inkColumns(const QImage& img, QRgb ink, int top, int bottom)
{
    std::vector<int> columns;
    for (int x = 0; x < img.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (img.pixel(x, y) == ink) {
                columns.push_back(x);
                break;
            }
    return columns;
}

std::vector<int> fromFirst(std::vector<int> columns)
{
    const int first = columns.empty() ? 0 : columns.front();
    for (int& x : columns) x -= first;
    return columns;
}

// The field's face as the list draws it, without smoothing.
QFont listFaceUnsmoothed()
{
    QFont font = uiFont(11);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A field as the main window stores it, in a window with another control to take the focus.
struct FieldInWindow {
    QWidget window;
    TKmBrowseEdit* field;
    QWidget* other;

    FieldInWindow()
    {
        window.resize(260, 60);
        field = new TKmBrowseEdit(&window);
        field->setColor(clSilver);
        field->setFont(uiTFont(11, clWhite));
        field->setGeometry(12, 10, 216, 19);
        other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        other->setGeometry(0, 40, 10, 10);
        window.show();
        window.activateWindow();
    }
    // The white text's ink columns inside the field's text area.
    std::vector<int> textInk() const
    {
        const QRect area = field->textArea();
        const QImage shot = field->grab().toImage().copy(area);
        return inkColumns(shot, qRgb(255, 255, 255), 0, shot.height());
    }
};

}  // namespace

TEST(BrowseEdit, TextIsLaidOutWithTheFontsOwnAdvances)
{
    const QString texts[] = {QStringLiteral("/home/user/out1"), QStringLiteral("/home/ユーザー/写真"),
                             QStringLiteral("/srv/a b/50%")};
    FieldInWindow f;
    const QFontMetricsF listMetrics(uiFont(11));
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        f.field->SetPath(text.toStdString());
        const std::string bytes = text.toStdString();
        // Caret positions stand where the list's font puts the characters.
        for (std::size_t pos = 0; pos <= bytes.size(); ++pos) {
            if (pos < bytes.size() && (static_cast<unsigned char>(bytes[pos]) & 0xC0) == 0x80) continue;
            const QString before = QString::fromStdString(bytes.substr(0, pos));
            const int x = f.field->caretX(static_cast<int>(pos) + 1);
            EXPECT_NEAR(x - f.field->caretX(1), listMetrics.horizontalAdvance(before), 1.0) << before.toStdString();
            EXPECT_EQ(f.field->posAt(x), static_cast<int>(pos) + 1) << "a click there puts the caret there";
        }
        // The pixels are the font's own: no gap after a "/".
        QImage reference(300, 30, QImage::Format_RGB32);
        reference.fill(Qt::black);
        QPainter painter(&reference);
        painter.setFont(listFaceUnsmoothed());
        painter.setPen(Qt::white);
        painter.drawText(QPoint(0, 20), text);
        painter.end();
        EXPECT_EQ(fromFirst(f.textInk()), fromFirst(inkColumns(reference, qRgb(255, 255, 255), 0, 30)));
    }
}

TEST(BrowseEdit, NonUtf8ByteShowsAsOneCharacterWithItsOwnCaretPlace)
{
    FieldInWindow f;
    f.field->SetPath("/tmp/a\xFF" "b");
    const QFontMetricsF listMetrics(uiFont(11));
    const int x = f.field->caretX(8);
    EXPECT_NEAR(x - f.field->caretX(1), listMetrics.horizontalAdvance(QStringLiteral("/tmp/a\uFFFD")), 1.0);
    EXPECT_EQ(f.field->posAt(x), 8);
    EXPECT_EQ(f.field->GetPath(), "/tmp/a\xFF" "b") << "the bytes themselves stay";
}

// A text put in from outside while the field has no focus shows from its start,
// whatever the field had scrolled to before.
TEST(BrowseEdit, NewTextSetFromOutsideShowsFromItsStart)
{
    struct Row {
        const char* name;
        std::function<void(TKmBrowseEdit&, const std::string&)> setText;
    };
    RunnerGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("x"));
    const std::string shortFolder = QDir(dir.path()).filePath("x").toStdString();
    const Row rows[] = {
        {"SetPath", [](TKmBrowseEdit& e, const std::string& path) { e.SetPath(path); }},
        {"the folder picker",
         [](TKmBrowseEdit& e, const std::string& path) {
             TKmBrowseDlg::setRunner([path](QFileDialog& d) {
                 d.selectFile(QString::fromStdString(path));
                 return int(QDialog::Accepted);
             });
             e.browseButton()->click();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FieldInWindow f;
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
        f.field->setFocus();
        f.field->SetPath(shortFolder + "/a/very/long/folder/name/that/cannot/fit/into/the/field/at/all");
        QTest::keyClick(f.field, Qt::Key_End);
        ASSERT_GT(f.field->scrollOffset(), 0);
        f.other->setFocus();
        ASSERT_FALSE(f.field->hasFocus());

        row.setText(*f.field, shortFolder);
        EXPECT_EQ(f.field->GetPath(), shortFolder);
        EXPECT_EQ(f.field->scrollOffset(), 0);
        const std::vector<int> ink = f.textInk();
        ASSERT_FALSE(ink.empty()) << "the text is in view";
        EXPECT_LE(ink.front(), 2) << "from its first character";
    }
}
