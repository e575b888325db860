#pragma once
// Text for a terminal line: file names made safe to show, and cut to a number
// of columns as the terminal counts them (a CJK character takes two).

#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kelmora::cli {

// text with every control character (a file name may hold escape sequences
// or line breaks) and every byte that is no character of the code page shown
// escaped, as C writes them ("\x1b", "\n", "\xff"; a C1 control by its
// bytes), so that showing it cannot move the cursor or garble the line and
// the reader still sees what is there.
std::string printableText(std::string_view text, platform::CodePage cp = platform::systemCodePage());

// The same for a message of several lines: its line breaks stay.
std::string printableLines(std::string_view text, platform::CodePage cp = platform::systemCodePage());

// The columns printable text takes on a terminal.
std::size_t displayWidth(std::string_view text, platform::CodePage cp = platform::systemCodePage());

// Printable text cut to at most columns, ending in "..." when it was cut.
std::string fitToWidth(std::string_view text, std::size_t columns, platform::CodePage cp = platform::systemCodePage());

}  // namespace kelmora::cli
