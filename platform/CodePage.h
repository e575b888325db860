#pragma once
// Where characters begin and end in a byte string of the system code page.
// Every rule that looks for a separator, a dot or a last character steps over
// multi-byte characters whole, so a trail byte is never taken for one of those.

#include <cstddef>
#include <string_view>

namespace kelmora::platform {

enum class CodePage {
    Utf8,        // the system code page on Linux
    Cp932,       // Shift-JIS: lead bytes 0x81-0x9F and 0xE0-0xFC, trail bytes 0x40-0x7E and 0x80-0xFC
    DoubleByte,  // the Chinese and Korean code pages 936, 949, 950: lead bytes 0x81-0xFE, trail bytes 0x40-0xFE but 0x7F
    SingleByte,  // one byte a character (1252 and the other Windows code pages)
};

// The code page that file names and texts use on this system.
CodePage systemCodePage();

// True when byte c begins a double-byte character in a double-byte code page.
bool isLeadByte(unsigned char c, CodePage cp);

// Index one past the character that begins at pos (pos < s.size()).
// A truncated or malformed sequence (a lead byte without a valid second byte)
// counts as one byte, so the walk always advances.
std::size_t charEnd(std::string_view s, std::size_t pos, CodePage cp = systemCodePage());

// Index of the first byte of the last whole character, or npos when s is empty.
std::size_t lastCharStart(std::string_view s, CodePage cp = systemCodePage());

// Index of the first character at or after pos (a character start) that is one
// of the single-byte chars, stepping over double-byte characters whole (the
// second byte of a kanji may have the code of "\"); npos when there is none.
std::size_t findChar(std::string_view s, std::string_view chars, std::size_t pos = 0, CodePage cp = systemCodePage());

// True when the byte at pos is the first byte of a character (not a trail byte).
bool isCharStart(std::string_view s, std::size_t pos, CodePage cp = systemCodePage());

}  // namespace kelmora::platform
