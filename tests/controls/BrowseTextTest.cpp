// The folder field's text engine, driven without a window.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "controls/BrowseText.h"

using namespace kelmora;
using platform::CodePage;

namespace {

TBrowseText withText(const std::string& text, CodePage cp = CodePage::Utf8)
{
    TBrowseText t(cp);
    t.setText(text);
    return t;
}

struct OverwriteGuard {
    ~OverwriteGuard() { TBrowseText::setOverwriteMode(false); }
};

}  // namespace

TEST(BrowseText, SetTextMovesCaretToStartAndRaisesOneChange)
{
    TBrowseText t;
    int changes = 0;
    t.onChange = [&] { ++changes; };
    EXPECT_TRUE(t.setText("C:\\out"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(t.caret(), 1);
    t.end(false);
    EXPECT_FALSE(t.setText("C:\\out"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(t.caret(), 7) << "an equal text changes nothing, not even the caret";
    t.holdChanges(true);
    t.setText("x");
    EXPECT_EQ(changes, 1);
}

// One step of moving through "ab cd  ef" and where it leaves the caret or the selection.
struct MoveStep {
    const char* name;
    std::function<void(TBrowseText&)> move;
    std::optional<int> caret;
    std::optional<std::string> selected;           // "" for no selection
    std::optional<std::pair<int, int>> selection;  // start and length
};

TEST(BrowseText, CaretAndSelectionMoves)
{
    TBrowseText t = withText("ab cd  ef");
    const MoveStep steps[] = {
        {"End", [](TBrowseText& t) { t.end(false); }, 10, {}, {}},
        {"word left to the last word", [](TBrowseText& t) { t.moveLeft(true, false); }, 8, {}, {}},
        {"word left over two spaces", [](TBrowseText& t) { t.moveLeft(true, false); }, 4, {}, {}},
        {"Shift+Left selects one character", [](TBrowseText& t) { t.moveLeft(false, true); }, {}, {}, {{3, 1}}},
        {"the selection grows from its anchor", [](TBrowseText& t) { t.end(true); }, {}, "cd  ef", {}},
        {"Home drops the selection", [](TBrowseText& t) { t.home(false); }, {}, "", {}},
        {"word right", [](TBrowseText& t) { t.moveRight(true, false); }, 4, {}, {}},
        {"Ctrl+Shift+Right selects a word and its spaces",
         [](TBrowseText& t) { t.moveRight(true, true); },
         {},
         "cd  ",
         {}},
        {"five steps left",
         [](TBrowseText& t) {
             for (int i = 0; i < 5; ++i) t.moveLeft(false, false);
         },
         3,
         {},
         {}},
        {"left at the start stays",
         [](TBrowseText& t) {
             t.home(false);
             t.moveLeft(false, false);
         },
         1,
         {},
         {}},
        {"word right at the end stays",
         [](TBrowseText& t) {
             t.end(false);
             t.moveRight(true, false);
         },
         10,
         {},
         {}},
        {"select all", [](TBrowseText& t) { t.selectAll(); }, {}, "ab cd  ef", {}},
        {"clear selection", [](TBrowseText& t) { t.clearSelection(); }, {}, "", {}},
    };
    for (const MoveStep& step : steps) {
        SCOPED_TRACE(step.name);
        step.move(t);
        if (step.caret) {
            EXPECT_EQ(t.caret(), *step.caret);
        }
        if (step.selected) {
            EXPECT_EQ(t.hasSelection(), !step.selected->empty());
            EXPECT_EQ(t.selectedText(), *step.selected);
        }
        if (step.selection) {
            EXPECT_EQ(t.selStart(), step.selection->first);
            EXPECT_EQ(t.selLength(), step.selection->second);
        }
    }
}

TEST(BrowseText, TypingInsertsReplacesSelectionAndOverwrites)
{
    OverwriteGuard guard;
    TBrowseText t = withText("abc");
    int changes = 0;
    t.onChange = [&] { ++changes; };
    t.setCaret(2);
    EXPECT_TRUE(t.typeChar("X"));
    EXPECT_EQ(t.text(), "aXbc");
    EXPECT_EQ(t.caret(), 3);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(t.modified());
    t.select(1, 2);
    t.typeChar("Y");
    EXPECT_EQ(t.text(), "Ybc");
    TBrowseText::setOverwriteMode(true);
    t.typeChar("Z");
    EXPECT_EQ(t.text(), "YZc");
    t.end(false);
    t.typeChar("!");
    EXPECT_EQ(t.text(), "YZc!") << "overwriting at the end appends";
    EXPECT_FALSE(t.typeChar("\x1b"));
    t.setCharCase(TCharCase::ecUpperCase);
    t.typeChar("q");
    EXPECT_EQ(t.text(), "YZc!Q");
}

TEST(BrowseText, DeletingAndPasting)
{
    TBrowseText t = withText("abcdef");
    t.setCaret(4);
    t.backspace();
    EXPECT_EQ(t.text(), "abdef");
    t.deleteForward();
    EXPECT_EQ(t.text(), "abef");
    EXPECT_EQ(t.caret(), 3);
    t.select(2, 2);
    t.insertText("123");
    EXPECT_EQ(t.text(), "a123f");
    EXPECT_EQ(t.caret(), 5);
    t.home(false);
    EXPECT_FALSE(t.backspace());
    t.end(false);
    EXPECT_FALSE(t.deleteForward());
    EXPECT_FALSE(t.deleteSelection());
}

TEST(BrowseText, UndoRedoAndTheUndoEntry)
{
    TBrowseText t;
    EXPECT_TRUE(t.undoEnabled()) << "on from the start";
    EXPECT_FALSE(t.undo());
    EXPECT_TRUE(t.undoEnabled());
    t.typeChar("a");
    t.typeChar("b");
    t.typeChar("c");
    EXPECT_TRUE(t.undo());
    EXPECT_EQ(t.text(), "ab");
    EXPECT_EQ(t.caret(), 3);
    t.undo();
    t.undo();
    EXPECT_EQ(t.text(), "");
    EXPECT_FALSE(t.undoEnabled()) << "off once undoing emptied the stack";
    EXPECT_TRUE(t.redo());
    EXPECT_TRUE(t.redo());
    EXPECT_EQ(t.text(), "ab");
    EXPECT_TRUE(t.undoEnabled());
    t.typeChar("X");
    EXPECT_FALSE(t.canRedo()) << "a new edit clears the redo stack";
    EXPECT_EQ(t.text(), "abX");
}

TEST(BrowseText, MaxLengthAndReadOnly)
{
    TBrowseText t;
    t.setMaxLength(4);
    t.setText("abcdef");
    EXPECT_EQ(t.text(), "abcd");
    t.end(false);
    EXPECT_FALSE(t.typeChar("e"));
    t.select(1, 1);
    EXPECT_TRUE(t.typeChar("Z"));
    EXPECT_EQ(t.text(), "Zbcd");
    t.select(1, 1);
    t.insertText("123");
    EXPECT_EQ(t.text(), "1bcd") << "a paste is cut to what fits";

    t.setReadOnly(true);
    t.select(1, 2);
    EXPECT_FALSE(t.typeChar("q"));
    EXPECT_FALSE(t.backspace());
    EXPECT_FALSE(t.deleteForward());
    EXPECT_FALSE(t.insertText("q"));
    EXPECT_FALSE(t.undo());
    EXPECT_EQ(t.text(), "1bcd");
    EXPECT_EQ(t.selectedText(), "1b") << "moving and selecting still work";
}

TEST(BrowseText, DoubleByteCharactersMoveAndDeleteWhole)
{
    // 0x95 0x5C is one character whose trail byte has the code of a backslash.
    TBrowseText t = withText(
        "\x95\x5C"
        "a",
        CodePage::Cp932);
    t.end(false);
    t.moveLeft(false, false);
    t.moveLeft(false, false);
    EXPECT_EQ(t.caret(), 1);
    t.setCaret(2);
    EXPECT_EQ(t.caret(), 1) << "never between the two bytes";
    t.moveRight(false, false);
    EXPECT_EQ(t.caret(), 3);
    t.end(false);
    t.backspace();
    t.backspace();
    EXPECT_EQ(t.text(), "");
    t.setMaxLength(3);
    t.setText("a\x95\x5C\x95\x5C");
    EXPECT_EQ(t.text(), "a\x95\x5C") << "the cut keeps whole characters";
}
