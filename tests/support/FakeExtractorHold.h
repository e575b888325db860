#pragma once
// Holding runs of the fake extractor (KELMORA_FAKE_HOLD) until the test lets
// them go, on a FIFO.

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kelmora::test {

// Makes the FIFO that held runs of the fake extractor wait on (KELMORA_FAKE_HOLD).
inline bool makeFakeExtractorHold(const std::string& fifo) { return ::mkfifo(fifo.c_str(), 0600) == 0; }

// The test's end of the hold: constructing it returns once a held run waits on
// the FIFO (its images are written by then); destroying it lets that run end.
class HeldRun {
public:
    explicit HeldRun(const std::string& fifo) : m_fd(::open(fifo.c_str(), O_WRONLY | O_CLOEXEC)) {}
    ~HeldRun()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    HeldRun(const HeldRun&) = delete;
    HeldRun& operator=(const HeldRun&) = delete;

private:
    int m_fd;
};

}  // namespace kelmora::test
