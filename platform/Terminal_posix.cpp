#include "platform/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace kelmora::platform {

namespace {

int descriptorOf(StandardStream stream) { return stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO; }

}  // namespace

bool isTerminal(StandardStream stream) { return ::isatty(descriptorOf(stream)) == 1; }

int terminalColumns(StandardStream stream)
{
    winsize size{};
    if (!isTerminal(stream) || ::ioctl(descriptorOf(stream), TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

bool enableTerminalControls(StandardStream stream) { return isTerminal(stream); }

}  // namespace kelmora::platform
