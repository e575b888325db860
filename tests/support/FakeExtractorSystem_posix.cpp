#include "tests/support/FakeExtractorSystem.h"

#include <fcntl.h>
#include <unistd.h>

namespace kelmora::test {

void appendInOneWrite(const char* path, const std::string& text)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    [[maybe_unused]] const auto written = ::write(fd, text.data(), text.size());
    ::close(fd);
}

void writeStandardOutput(const std::string& text)
{
    [[maybe_unused]] const auto written = ::write(STDOUT_FILENO, text.data(), text.size());
}

std::string startingCommandLine() { return {}; }

bool waitOnHold(const char* path)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;
    char byte;
    const bool read = ::read(fd, &byte, 1) >= 0;
    ::close(fd);
    return read;
}

}  // namespace kelmora::test
