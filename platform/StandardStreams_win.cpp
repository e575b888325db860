#include "platform/StandardStreams.h"

#include <cerrno>

namespace kelmora::platform {

// Nothing to keep in place: the program's own waits use events, never a
// descriptor that could take a standard stream's number, and a write to a
// stream that is not there fails quietly.
void occupyStandardStreams() {}

// Windows has no signal for a closed pipe: the write fails by itself.
void surviveClosedOutput() {}

// The C runtime turns a pipe whose reader has gone (ERROR_NO_DATA,
// ERROR_BROKEN_PIPE) into EPIPE; some versions say EINVAL for the first.
bool isClosedOutput(int error) { return error == EPIPE || error == EINVAL; }

}  // namespace kelmora::platform
