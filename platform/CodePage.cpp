#include "platform/CodePage.h"

namespace kelmora::platform {

bool isLeadByte(unsigned char c, CodePage cp)
{
    switch (cp) {
    case CodePage::Cp932: return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case CodePage::DoubleByte: return c >= 0x81 && c <= 0xFE;
    case CodePage::Utf8: return c >= 0xC2 && c <= 0xF4;
    case CodePage::SingleByte: return false;
    }
    return false;
}

namespace {

std::size_t utf8SequenceLength(unsigned char c)
{
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 1;
}

bool isUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The second byte of a double-byte character is never below 0x40, so "/", ":"
// and control bytes after a lead byte stand alone.
bool isTrailByte(unsigned char c, CodePage cp)
{
    if (cp == CodePage::Cp932) return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

}  // namespace

std::size_t charEnd(std::string_view s, std::size_t pos, CodePage cp)
{
    const auto c = static_cast<unsigned char>(s[pos]);
    if (cp != CodePage::Utf8) {
        const bool pair =
            isLeadByte(c, cp) && pos + 1 < s.size() && isTrailByte(static_cast<unsigned char>(s[pos + 1]), cp);
        return pair ? pos + 2 : pos + 1;
    }
    const std::size_t length = utf8SequenceLength(c);
    if (pos + length > s.size()) return pos + 1;
    for (std::size_t i = 1; i < length; ++i) {
        if (!isUtf8Continuation(static_cast<unsigned char>(s[pos + i]))) return pos + 1;
    }
    return pos + length;
}

std::size_t lastCharStart(std::string_view s, CodePage cp)
{
    if (s.empty()) return std::string_view::npos;
    std::size_t pos = 0;
    std::size_t last = 0;
    while (pos < s.size()) {
        last = pos;
        pos = charEnd(s, pos, cp);
    }
    return last;
}

std::size_t findChar(std::string_view s, std::string_view chars, std::size_t pos, CodePage cp)
{
    for (; pos < s.size(); pos = charEnd(s, pos, cp))
        if (chars.find(s[pos]) != std::string_view::npos) return pos;
    return std::string_view::npos;
}

bool isCharStart(std::string_view s, std::size_t pos, CodePage cp)
{
    std::size_t at = 0;
    while (at < pos) at = charEnd(s, at, cp);
    return at == pos;
}

}  // namespace kelmora::platform
