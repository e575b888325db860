#pragma once
// The terminal a program's output goes to, if any.

namespace kelmora::platform {

enum class StandardStream { Output, Error };

// True when stream goes to a terminal (not a file, a pipe or the null device).
bool isTerminal(StandardStream stream);

// The width of the terminal stream goes to, in columns; 0 when it goes to no
// terminal or the terminal does not say.
int terminalColumns(StandardStream stream);

// Lets the terminal of stream act on the cursor and line control sequences
// (move up, clear to the end). False when it cannot; POSIX terminals always can.
bool enableTerminalControls(StandardStream stream);

}  // namespace kelmora::platform
