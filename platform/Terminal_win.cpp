#include "platform/Terminal.h"

#include <windows.h>

namespace kelmora::platform {

namespace {

HANDLE handleOf(StandardStream stream)
{
    return ::GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

}  // namespace

// A console answers for its mode; a file, a pipe or NUL does not.
bool isTerminal(StandardStream stream)
{
    DWORD mode = 0;
    return ::GetConsoleMode(handleOf(stream), &mode) != 0;
}

int terminalColumns(StandardStream stream)
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!::GetConsoleScreenBufferInfo(handleOf(stream), &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

// A console acts on the control sequences once asked to (Windows 10 and later).
bool enableTerminalControls(StandardStream stream)
{
    DWORD mode = 0;
    const HANDLE console = handleOf(stream);
    if (!::GetConsoleMode(console, &mode)) return false;
    if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
    return ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace kelmora::platform
