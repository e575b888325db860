#pragma once
// The text engine behind the folder field: the text as bytes of the system code
// page, a 1-based caret (position n stands before the n-th byte; positions run
// 1 to length + 1 and always stand at a character start), a selection, undo and
// redo, and the insert/overwrite mode that every such field of the program shares.
// No widget: the field paints this model and feeds it keys.

#include <functional>
#include <string>
#include <vector>

#include "platform/CodePage.h"

namespace kelmora {

enum class TCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TBrowseText {
public:
    explicit TBrowseText(platform::CodePage codePage = platform::systemCodePage());

    // Called after every change of the text (not while changes are held).
    std::function<void()> onChange;

    const std::string& text() const { return m_text; }
    int length() const { return static_cast<int>(m_text.size()); }

    // Sets the text as a program would: nothing when equal; else stored (cut to
    // MaxLength), caret before the first character, selection cleared, onChange.
    // True when the text changed.
    bool setText(const std::string& text);

    int caret() const { return m_caret; }
    void setCaret(int pos, bool extendSelection = false);
    int selStart() const { return m_selLength ? m_selStart : m_caret; }
    int selLength() const { return m_selLength; }
    bool hasSelection() const { return m_selLength > 0; }
    std::string selectedText() const;
    void select(int start, int length);
    void selectAll();
    void clearSelection();

    // Caret moves; with extend the selection grows from its anchor.
    void moveLeft(bool word, bool extend);
    void moveRight(bool word, bool extend);
    void home(bool extend);
    void end(bool extend);

    // Typing one character (bytes of one character of the code page): replaces the
    // selection, or in overwrite mode the next character. Refused when read-only or
    // when the text would grow past MaxLength. True when the text changed.
    bool typeChar(const std::string& ch);
    // Inserting text (paste) in place of the selection, cut to fit MaxLength.
    bool insertText(const std::string& text);
    bool backspace();
    bool deleteForward();
    bool deleteSelection();

    bool undo();
    bool redo();
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // The "&Undo" entry: on from the start; off only once undoing emptied the stack.
    bool undoEnabled() const { return m_undoEnabled; }

    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = length < 0 ? 0 : length; }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    TCharCase charCase() const { return m_charCase; }
    void setCharCase(TCharCase charCase) { m_charCase = charCase; }

    // No onChange while held (the field's loading).
    void holdChanges(bool hold) { m_held = hold; }

    // The program-wide typing mode, toggled by Insert; starts in insert mode.
    static bool overwriteMode();
    static void setOverwriteMode(bool overwrite);

    // Start of the character before pos and position after the character at pos.
    int prevCharPos(int pos) const;
    int nextCharPos(int pos) const;

private:
    struct Snapshot {
        std::string text;
        int caret;
        int selStart;
        int selLength;
    };
    Snapshot snapshot() const { return {m_text, m_caret, m_selStart, m_selLength}; }
    void restore(const Snapshot& s);
    // Replaces [from, to) with bytes as one undoable edit; caret after them.
    bool replaceRange(int from, int to, const std::string& bytes);
    void changed();
    int clampPos(int pos) const;

    std::string m_text;
    platform::CodePage m_codePage;
    int m_caret = 1;
    int m_anchor = 1;
    int m_selStart = 1;
    int m_selLength = 0;
    std::vector<Snapshot> m_undo, m_redo;
    bool m_undoEnabled = true;
    bool m_modified = false;
    int m_maxLength = 0;
    bool m_readOnly = false;
    bool m_held = false;
    TCharCase m_charCase = TCharCase::ecNormal;
};

}  // namespace kelmora
