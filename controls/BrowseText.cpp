#include "controls/BrowseText.h"

#include <algorithm>

namespace kelmora {

namespace {
bool s_overwrite = false;  // shared by every field of the program
}

TBrowseText::TBrowseText(platform::CodePage codePage) : m_codePage(codePage) {}

bool TBrowseText::overwriteMode() { return s_overwrite; }
void TBrowseText::setOverwriteMode(bool overwrite) { s_overwrite = overwrite; }

int TBrowseText::prevCharPos(int pos) const
{
    if (pos <= 1) return 1;
    const auto start =
        platform::lastCharStart(std::string_view(m_text).substr(0, static_cast<std::size_t>(pos - 1)), m_codePage);
    return static_cast<int>(start) + 1;
}

int TBrowseText::nextCharPos(int pos) const
{
    if (pos > length()) return length() + 1;
    return static_cast<int>(platform::charEnd(m_text, static_cast<std::size_t>(pos - 1), m_codePage)) + 1;
}

int TBrowseText::clampPos(int pos) const
{
    pos = std::clamp(pos, 1, length() + 1);
    while (pos > 1 && pos <= length() && !platform::isCharStart(m_text, static_cast<std::size_t>(pos - 1), m_codePage))
        --pos;
    return pos;
}

void TBrowseText::changed()
{
    if (!m_held && onChange) onChange();
}

bool TBrowseText::setText(const std::string& text)
{
    std::string stored = text;
    if (m_maxLength > 0 && static_cast<int>(stored.size()) > m_maxLength) {
        stored.resize(static_cast<std::size_t>(m_maxLength));
        // Never keep half of a double-byte character.
        if (!stored.empty() && !platform::isCharStart(text, stored.size(), m_codePage))
            stored.resize(platform::lastCharStart(stored, m_codePage));
    }
    if (stored == m_text) return false;
    m_text = std::move(stored);
    m_caret = m_anchor = m_selStart = 1;
    m_selLength = 0;
    changed();
    return true;
}

void TBrowseText::setCaret(int pos, bool extendSelection)
{
    m_caret = clampPos(pos);
    if (!extendSelection) m_anchor = m_caret;
    m_selStart = std::min(m_anchor, m_caret);
    m_selLength = std::abs(m_caret - m_anchor);
}

std::string TBrowseText::selectedText() const
{
    return m_text.substr(static_cast<std::size_t>(selStart() - 1), static_cast<std::size_t>(m_selLength));
}

void TBrowseText::select(int start, int length)
{
    m_anchor = clampPos(start);
    setCaret(start + length, true);
}

void TBrowseText::selectAll() { select(1, length()); }

void TBrowseText::clearSelection() { setCaret(m_caret); }

void TBrowseText::moveLeft(bool word, bool extend)
{
    int pos = prevCharPos(m_caret);
    if (word) {
        pos = m_caret;
        while (pos > 1 && m_text[static_cast<std::size_t>(pos - 2)] == ' ') --pos;
        while (pos > 1 && m_text[static_cast<std::size_t>(prevCharPos(pos) - 1)] != ' ') pos = prevCharPos(pos);
    }
    setCaret(pos, extend);
}

void TBrowseText::moveRight(bool word, bool extend)
{
    int pos = nextCharPos(m_caret);
    if (word) {
        pos = m_caret;
        while (pos <= length() && m_text[static_cast<std::size_t>(pos - 1)] != ' ') pos = nextCharPos(pos);
        while (pos <= length() && m_text[static_cast<std::size_t>(pos - 1)] == ' ') ++pos;
    }
    setCaret(pos, extend);
}

void TBrowseText::home(bool extend) { setCaret(1, extend); }

void TBrowseText::end(bool extend) { setCaret(length() + 1, extend); }

bool TBrowseText::replaceRange(int from, int to, const std::string& bytes)
{
    if (from == to && bytes.empty()) return false;
    m_undo.push_back(snapshot());
    m_redo.clear();
    m_undoEnabled = true;
    m_text.replace(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from), bytes);
    m_modified = true;
    const int after = from + static_cast<int>(bytes.size());
    setCaret(after);
    changed();
    // The change handler may have replaced the text: the caret is held to its end.
    setCaret(after);
    return true;
}

bool TBrowseText::typeChar(const std::string& ch)
{
    if (m_readOnly || ch.empty() || static_cast<unsigned char>(ch[0]) < 32) return false;
    std::string typed = ch;
    if (typed.size() == 1) {
        char& c = typed[0];
        if (m_charCase == TCharCase::ecUpperCase && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (m_charCase == TCharCase::ecLowerCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    int from = m_caret, to = m_caret;
    if (hasSelection()) {
        from = selStart();
        to = from + m_selLength;
    } else if (s_overwrite && m_caret <= length()) {
        to = nextCharPos(m_caret);
    }
    if (m_maxLength > 0 && length() - (to - from) + static_cast<int>(typed.size()) > m_maxLength) return false;
    return replaceRange(from, to, typed);
}

bool TBrowseText::insertText(const std::string& text)
{
    if (m_readOnly) return false;
    const int from = selStart(), to = selStart() + m_selLength;
    std::string inserted = text;
    if (m_maxLength > 0) {
        const int room = std::max(0, m_maxLength - (length() - (to - from)));
        if (static_cast<int>(inserted.size()) > room) {
            std::size_t cut = static_cast<std::size_t>(room);
            while (cut > 0 && !platform::isCharStart(inserted, cut, m_codePage)) --cut;
            inserted.resize(cut);
        }
    }
    return replaceRange(from, to, inserted);
}

bool TBrowseText::deleteSelection()
{
    if (m_readOnly || !hasSelection()) return false;
    return replaceRange(selStart(), selStart() + m_selLength, {});
}

bool TBrowseText::backspace()
{
    if (m_readOnly) return false;
    if (hasSelection()) return deleteSelection();
    if (m_caret <= 1) return false;
    return replaceRange(prevCharPos(m_caret), m_caret, {});
}

bool TBrowseText::deleteForward()
{
    if (m_readOnly) return false;
    if (hasSelection()) return deleteSelection();
    if (m_caret > length()) return false;
    return replaceRange(m_caret, nextCharPos(m_caret), {});
}

void TBrowseText::restore(const Snapshot& s)
{
    const bool textChanged = s.text != m_text;
    m_text = s.text;
    m_anchor = s.selLength ? s.selStart : s.caret;
    m_caret = s.caret;
    if (s.selLength && s.caret == s.selStart) m_anchor = s.selStart + s.selLength;
    m_selStart = s.selStart;
    m_selLength = s.selLength;
    if (textChanged) changed();
}

bool TBrowseText::undo()
{
    if (m_readOnly || m_undo.empty()) return false;
    const Snapshot previous = m_undo.back();
    m_undo.pop_back();
    m_redo.push_back(snapshot());
    m_undoEnabled = !m_undo.empty();
    m_modified = true;
    restore(previous);
    return true;
}

bool TBrowseText::redo()
{
    if (m_readOnly || m_redo.empty()) return false;
    const Snapshot next = m_redo.back();
    m_redo.pop_back();
    m_undo.push_back(snapshot());
    m_undoEnabled = true;
    m_modified = true;
    restore(next);
    return true;
}

}  // namespace kelmora
