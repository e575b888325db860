#include "platform/StandardStreams.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kelmora::platform {

void occupyStandardStreams()
{
    // open() takes the lowest free number: in order, each closed stream gets its own.
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = ::open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != stream) {
            ::dup2(opened, stream);
            ::close(opened);
        }
    }
}

// Children start with the default again: the process start resets what is ignored.
void surviveClosedOutput() { ::signal(SIGPIPE, SIG_IGN); }

bool isClosedOutput(int error) { return error == EPIPE; }

}  // namespace kelmora::platform
