#include "platform/OutputPipe.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <utility>

#include <windows.h>

namespace kelmora::platform {

namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

// Windows cannot wait for an anonymous pipe to have data: a thread reads it
// and keeps what came, and an event says that there is something to take.
struct OutputPipe::Reader {
    explicit Reader(HANDLE pipe) : readable(::CreateEventA(nullptr, TRUE, FALSE, nullptr)), end(pipe)
    {
        thread = ::CreateThread(nullptr, 0, &Reader::run, this, 0, nullptr);
    }
    ~Reader()
    {
        // The thread ends when the writer has gone; while one is still there,
        // its wait for room ends and its blocked read is cancelled.
        {
            const std::lock_guard lock(mutex);
            closing = true;
        }
        roomLeft.notify_all();
        if (thread) {
            ::CancelSynchronousIo(thread);
            ::WaitForSingleObject(thread, INFINITE);
            ::CloseHandle(thread);
        }
        ::CloseHandle(end);
        ::CloseHandle(readable);
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    static DWORD WINAPI run(void* reader)
    {
        static_cast<Reader*>(reader)->readUntilTheEnd();
        return 0;
    }

    void readUntilTheEnd()
    {
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(end, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            std::unique_lock lock(mutex);
            kept.append(buffer, got);
            ::SetEvent(readable);
            // A child that writes faster than the program takes waits in its
            // write: what is kept here stays within one call's worth.
            roomLeft.wait(lock, [this] { return kept.size() < kMaxReadBytes || closing; });
            if (closing) break;
        }
        const std::lock_guard lock(mutex);
        ended = true;
        ::SetEvent(readable);
    }

    HANDLE readable;
    HANDLE end;
    std::mutex mutex;
    std::condition_variable roomLeft;
    std::string kept;
    bool ended = false;
    bool closing = false;
    HANDLE thread = nullptr;
};

OutputPipe::OutputPipe(std::intptr_t reader, std::intptr_t writer) : m_reader(reader), m_writer(writer) {}

std::optional<OutputPipe> OutputPipe::create(std::string* error)
{
    // The writing end is inheritable, and a child gets it only when the process
    // start lists it; the reading end never leaves this process.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    if (!::CreatePipe(&reader, &writer, &inheritable, 0)) {
        if (error) *error = "CreatePipe: error " + std::to_string(::GetLastError());
        return std::nullopt;
    }
    ::SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
    OutputPipe pipe(reinterpret_cast<std::intptr_t>(reader), reinterpret_cast<std::intptr_t>(writer));
    pipe.m_background = std::make_unique<Reader>(reader);
    return pipe;
}

OutputPipe::OutputPipe(OutputPipe&& other) noexcept
    : m_reader(std::exchange(other.m_reader, -1)),
      m_writer(std::exchange(other.m_writer, -1)),
      m_background(std::move(other.m_background))
{
}

OutputPipe& OutputPipe::operator=(OutputPipe&& other) noexcept
{
    if (this != &other) {
        closeBoth();
        m_reader = std::exchange(other.m_reader, -1);
        m_writer = std::exchange(other.m_writer, -1);
        m_background = std::move(other.m_background);
    }
    return *this;
}

OutputPipe::~OutputPipe() { closeBoth(); }

WaitHandle OutputPipe::readyHandle() const
{
    return m_background ? reinterpret_cast<WaitHandle>(m_background->readable) : kNoWaitHandle;
}

void OutputPipe::closeBoth()
{
    closeWritingEnd();
    m_background.reset();  // closes the reading end
    m_reader = -1;
}

void OutputPipe::closeWritingEnd()
{
    if (m_writer != -1) ::CloseHandle(handleOf(m_writer));
    m_writer = -1;
}

bool OutputPipe::readAvailable(std::string& out)
{
    if (!m_background) return false;
    std::string& kept = m_background->kept;
    bool more = true;
    {
        const std::lock_guard lock(m_background->mutex);
        const std::size_t taken = std::min(kept.size(), kMaxReadBytes);
        out.append(kept, 0, taken);
        kept.erase(0, taken);
        // While something is kept the event stays set.
        if (kept.empty() && !m_background->ended) ::ResetEvent(m_background->readable);
        more = !kept.empty() || !m_background->ended;
    }
    m_background->roomLeft.notify_one();
    return more;
}

}  // namespace kelmora::platform
