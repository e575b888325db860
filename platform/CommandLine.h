#pragma once
// The one text a Windows program receives instead of an argument list, and the
// rule by which its C runtime splits that text back into arguments; and a
// command written for a POSIX shell.

#include <string>
#include <vector>

namespace kelmora::platform {

// The command line that a Windows program's C runtime splits back into exactly
// program and arguments: each is put in double quotes when it holds a blank, a
// tab or a quote or is empty; inside quotes a quote is written \" and the
// backslashes before a quote (or the closing quote) are doubled.
std::string windowsCommandLine(const std::string& program, const std::vector<std::string>& arguments);

// The line a POSIX shell splits back into exactly program and arguments: a word
// of letters, digits and "%+,-./:@_" (and "=" after the program) stays bare;
// any other is put in single quotes, inside which a "'" is written '\''.
std::string posixShellLine(const std::string& program, const std::vector<std::string>& arguments);

// The command as a user pastes it into this system's command interpreter to
// start it by hand. POSIX: posixShellLine(program, arguments), what the
// process start hands on. Windows: commandLine, the text the process start
// hands the program (windowsCommandLine when it is empty).
std::string pastableCommandLine(const std::string& program, const std::vector<std::string>& arguments,
                                const std::string& commandLine);

}  // namespace kelmora::platform
