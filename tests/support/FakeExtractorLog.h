#pragma once
// Reads the log that the fake extractor appends to (KELMORA_FAKE_LOG): one line
// per run, each argument as hex digits followed by ";", so arguments with
// blanks, line breaks or bytes that are not UTF-8 come back exactly.

#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelmora::test {

using FakeExtractorRun = std::vector<std::string>;  // the arguments of one run, program name left out

inline std::vector<FakeExtractorRun> readFakeExtractorLog(const std::string& path)
{
    std::vector<FakeExtractorRun> runs;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    const auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    while (std::getline(in, line)) {
        FakeExtractorRun run;
        std::string argument;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == ';') {
                run.push_back(argument);
                argument.clear();
            } else if (i + 1 < line.size()) {
                argument += static_cast<char>(nibble(line[i]) * 16 + nibble(line[i + 1]));
                ++i;
            }
        }
        runs.push_back(run);
    }
    return runs;
}

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
