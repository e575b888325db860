#include "controls/BrowseText.h"

namespace kelmora {

namespace {
bool s_overwrite = false;
}

TBrowseText::TBrowseText(platform::CodePage codePage) : m_codePage(codePage) {}

bool TBrowseText::overwriteMode() { return s_overwrite; }
void TBrowseText::setOverwriteMode(bool overwrite) { s_overwrite = overwrite; }

bool TBrowseText::setText(const std::string& text)
{
    if (text == m_text) return false;
    m_text = text;
    m_caret = m_anchor = m_selStart = 1;
    m_selLength = 0;
    changed();
    return true;
}

void TBrowseText::changed()
{
    if (!m_held && onChange) onChange();
}

}  // namespace kelmora
