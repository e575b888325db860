#include "platform/OutputPipe.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace kelmora::platform {

// A descriptor can be waited on itself: nothing reads in the background.
struct OutputPipe::Reader {};

OutputPipe::OutputPipe(std::intptr_t reader, std::intptr_t writer) : m_reader(reader), m_writer(writer) {}

std::optional<OutputPipe> OutputPipe::create(std::string* error)
{
    int ends[2];
    // Both ends close on exec: the process start gives the child its copy of
    // the writing end as its standard output, and no other program gets either.
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        if (error) *error = std::strerror(errno);
        return std::nullopt;
    }
    // Reading never waits: the caller waits for the whole set of its handles.
    ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    return OutputPipe(ends[0], ends[1]);
}

OutputPipe::OutputPipe(OutputPipe&& other) noexcept
    : m_reader(std::exchange(other.m_reader, -1)), m_writer(std::exchange(other.m_writer, -1))
{
}

WaitHandle OutputPipe::readyHandle() const { return m_reader; }

OutputPipe& OutputPipe::operator=(OutputPipe&& other) noexcept
{
    if (this != &other) {
        closeBoth();
        m_reader = std::exchange(other.m_reader, -1);
        m_writer = std::exchange(other.m_writer, -1);
    }
    return *this;
}

OutputPipe::~OutputPipe() { closeBoth(); }

void OutputPipe::closeBoth()
{
    closeWritingEnd();
    if (m_reader >= 0) ::close(static_cast<int>(m_reader));
    m_reader = -1;
}

void OutputPipe::closeWritingEnd()
{
    if (m_writer >= 0) ::close(static_cast<int>(m_writer));
    m_writer = -1;
}

bool OutputPipe::readAvailable(std::string& out)
{
    if (m_reader < 0) return false;
    char buffer[4096];
    for (std::size_t taken = 0; taken < kMaxReadBytes;) {
        const ssize_t got = ::read(static_cast<int>(m_reader), buffer, sizeof buffer);
        if (got > 0) {
            out.append(buffer, static_cast<std::size_t>(got));
            taken += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        return false;  // the end, or an error that ends the pipe all the same
    }
    return true;  // more may be there: the pipe is still readable
}

}  // namespace kelmora::platform
