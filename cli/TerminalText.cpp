#include "cli/TerminalText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace kelmora::cli {

namespace p = platform;

namespace {

// The code point of a whole UTF-8 sequence at s[pos, end); -1 when it is none
// (a stray trail byte, an overlong or cut-off form).
long decodeUtf8(std::string_view s, std::size_t pos, std::size_t end)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const std::size_t length = end - pos;
    const unsigned char lead = byte(pos);
    if (length == 1) return lead < 0x80 ? lead : -1;
    int expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (expected != static_cast<int>(length)) return -1;
    long code = lead & (0x7F >> expected);
    for (std::size_t i = pos + 1; i < end; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return -1;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    static constexpr long kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[expected] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return -1;
    return code;
}

// Characters a terminal shows two columns wide (East Asian wide and full-width forms).
bool isWide(long code)
{
    // clang-format off
    static constexpr std::array<std::pair<long, long>, 11> kWide{{
        {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
        {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
        {0xFFE0, 0xFFE6},
    }};
    // clang-format on
    if (code >= 0x1F300 && code <= 0x1F64F) return true;
    if (code >= 0x20000 && code <= 0x3FFFD) return true;
    for (const auto& [first, last] : kWide)
        if (code >= first && code <= last) return true;
    return false;
}

// Combining marks take no column of their own.
bool isCombining(long code) { return (code >= 0x0300 && code <= 0x036F) || (code >= 0x3099 && code <= 0x309A); }

bool isControl(long code) { return code < 0x20 || (code >= 0x7F && code < 0xA0); }

// Columns of one character of printable text.
std::size_t charWidth(std::string_view s, std::size_t pos, std::size_t end, p::CodePage cp)
{
    if (cp == p::CodePage::Cp932) return end - pos;  // double-byte characters are full width
    const long code = decodeUtf8(s, pos, end);
    if (code < 0) return 1;
    if (isCombining(code)) return 0;
    return isWide(code) ? 2 : 1;
}

void appendEscaped(std::string& shown, std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (const char c : bytes) {
        if (c == '\n') shown += "\\n";
        else if (c == '\r') shown += "\\r";
        else if (c == '\t') shown += "\\t";
        else {
            const auto byte = static_cast<unsigned char>(c);
            shown += {'\\', 'x', kDigits[byte >> 4], kDigits[byte & 0xF]};
        }
    }
}

}  // namespace

std::string printableText(std::string_view text, p::CodePage cp)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = p::charEnd(text, pos, cp);
        long code;
        if (cp == p::CodePage::Utf8) code = decodeUtf8(text, pos, end);
        // any double-byte character will do
        else code = end - pos == 2 ? 0x3000 : static_cast<unsigned char>(text[pos]);
        if (code < 0 || isControl(code)) appendEscaped(shown, text.substr(pos, end - pos));
        else shown.append(text.substr(pos, end - pos));
        pos = end;
    }
    return shown;
}

std::string printableLines(std::string_view text, p::CodePage cp)
{
    std::string shown;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        shown += printableText(text.substr(start, end - start), cp);
        if (end < text.size()) shown += '\n';
        start = end + 1;
    }
    return shown;
}

std::size_t displayWidth(std::string_view text, p::CodePage cp)
{
    std::size_t width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = p::charEnd(text, pos, cp);
        width += charWidth(text, pos, end, cp);
        pos = end;
    }
    return width;
}

std::string fitToWidth(std::string_view text, std::size_t columns, p::CodePage cp)
{
    if (displayWidth(text, cp) <= columns) return std::string(text);
    static constexpr std::string_view kCut = "...";
    if (columns < kCut.size()) return std::string(kCut.substr(0, columns));
    std::string fitted;
    std::size_t width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = p::charEnd(text, pos, cp);
        const std::size_t w = charWidth(text, pos, end, cp);
        if (width + w > columns - kCut.size()) break;
        fitted.append(text.substr(pos, end - pos));
        width += w;
        pos = end;
    }
    return fitted + std::string(kCut);
}

}  // namespace kelmora::cli
