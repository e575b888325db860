#pragma once
// The one crossing between the core's text (bytes of the system code page) and
// Qt's QString: UTF-8 on Linux, CP932 where the code page is 932. Only what is
// shown is decoded: bytes that form no character show as U+FFFD, while the core
// keeps the bytes themselves (a file name reaches the extractor unchanged).

#include <QString>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kelmora {

// Bytes of the code page as text; each byte that starts no character is one U+FFFD.
// CP932 example: "\x95\x5C\x8E\xA6" (a trail byte 0x5C inside) is "表示", "\x5C" alone "\".
QString fromSystemBytes(std::string_view bytes, platform::CodePage cp = platform::systemCodePage());

// Text as bytes of the code page; a character the code page lacks becomes "?".
std::string toSystemBytes(const QString& text, platform::CodePage cp = platform::systemCodePage());

}  // namespace kelmora
