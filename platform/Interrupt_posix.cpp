#include "platform/Interrupt.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace kelmora::platform {

namespace {

constexpr int kWatchedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The pipe the handler writes a byte into for every request (a handler may
// only do what is safe in a signal), and the first request's signal.
int wakeReader = -1;
int wakeWriter = -1;
std::atomic<int> firstSignal{0};
struct sigaction previous[std::size(kWatchedSignals)];

void noteRequest(int signal)
{
    const int savedErrno = errno;
    int none = 0;
    firstSignal.compare_exchange_strong(none, signal);
    [[maybe_unused]] const auto written = ::write(wakeWriter, "!", 1);
    errno = savedErrno;
}

}  // namespace

InterruptWatch::InterruptWatch()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("no pipe for the interrupt watch");
    wakeReader = ends[0];
    wakeWriter = ends[1];
    firstSignal = 0;
    struct sigaction action {};
    action.sa_handler = noteRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kWatchedSignals); ++i) ::sigaction(kWatchedSignals[i], &action, &previous[i]);
}

InterruptWatch::~InterruptWatch()
{
    for (std::size_t i = 0; i < std::size(kWatchedSignals); ++i) ::sigaction(kWatchedSignals[i], &previous[i], nullptr);
    ::close(wakeReader);
    ::close(wakeWriter);
    wakeReader = wakeWriter = -1;
}

WaitHandle InterruptWatch::handle() const { return wakeReader; }

int InterruptWatch::takeRequests()
{
    int requests = 0;
    char bytes[64];
    ssize_t got;
    while ((got = ::read(wakeReader, bytes, sizeof bytes)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0) requests += static_cast<int>(got);
    return requests;
}

int InterruptWatch::exitStatus() const
{
    const int signal = firstSignal.load();
    return signal == 0 ? 0 : 128 + signal;
}

}  // namespace kelmora::platform
