#pragma once
// A pipe that a child program writes its standard output into, read here a
// piece at a time while other things are waited for.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Wait.h"

namespace kelmora::platform {

class OutputPipe {
public:
    // A new pipe; nullopt (with the reason in error) when the system has none to give.
    static std::optional<OutputPipe> create(std::string* error = nullptr);

    OutputPipe(OutputPipe&& other) noexcept;
    OutputPipe& operator=(OutputPipe&& other) noexcept;
    OutputPipe(const OutputPipe&) = delete;
    OutputPipe& operator=(const OutputPipe&) = delete;
    ~OutputPipe();

    // The end the child writes into, for the process start; closed here by
    // closeWritingEnd() once the child holds its own copy, so that the child's
    // end is the pipe's end.
    std::intptr_t writingEnd() const { return m_writer; }
    void closeWritingEnd();

    // Signalled when there is something to read or the writer has gone.
    WaitHandle readyHandle() const;

    // Appends what can be read now, without waiting, but no more than
    // kMaxReadBytes: a child that writes without pause never makes one call
    // last or hold more (the handle stays signalled while more is there).
    // False once the writer has gone and everything has been read.
    bool readAvailable(std::string& out);

    static constexpr std::size_t kMaxReadBytes = 64 * 1024;

private:
    // What reads the pipe in the background where the system cannot wait for a
    // pipe to have data (Windows); nothing on POSIX.
    struct Reader;

    OutputPipe(std::intptr_t reader, std::intptr_t writer);
    void closeBoth();

    std::intptr_t m_reader = -1;
    std::intptr_t m_writer = -1;
    std::unique_ptr<Reader> m_background;
};

}  // namespace kelmora::platform
