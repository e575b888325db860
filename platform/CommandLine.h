#pragma once
// The one text a Windows program receives instead of an argument list, and the
// rule by which its C runtime splits that text back into arguments.

#include <string>
#include <vector>

namespace kelmora::platform {

// The command line that a Windows program's C runtime splits back into exactly
// program and arguments: each is put in double quotes when it holds a blank, a
// tab or a quote or is empty; inside quotes a quote is written \" and the
// backslashes before a quote (or the closing quote) are doubled.
std::string windowsCommandLine(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace kelmora::platform
