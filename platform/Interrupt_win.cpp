#include "platform/Interrupt.h"

#include <atomic>
#include <stdexcept>

#include <windows.h>

namespace kelmora::platform {

namespace {

// The console calls the handler on a thread of its own: it counts the request
// and signals the event that the program's wait watches.
HANDLE requestEvent = nullptr;
std::atomic<int> pendingRequests{0};
std::atomic<int> firstExitStatus{0};

// 130 for the interrupt keys as on a POSIX shell, 129 (as for a hang-up) when
// the console closes or the user logs off.
int exitStatusFor(DWORD event) { return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? 130 : 129; }

BOOL WINAPI noteRequest(DWORD event)
{
    int none = 0;
    firstExitStatus.compare_exchange_strong(none, exitStatusFor(event));
    ++pendingRequests;
    ::SetEvent(requestEvent);
    return TRUE;
}

}  // namespace

InterruptWatch::InterruptWatch()
{
    requestEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!requestEvent) throw std::runtime_error("no event for the interrupt watch");
    pendingRequests = 0;
    firstExitStatus = 0;
    ::SetConsoleCtrlHandler(noteRequest, TRUE);
}

InterruptWatch::~InterruptWatch()
{
    ::SetConsoleCtrlHandler(noteRequest, FALSE);
    ::CloseHandle(requestEvent);
    requestEvent = nullptr;
}

WaitHandle InterruptWatch::handle() const { return reinterpret_cast<WaitHandle>(requestEvent); }

int InterruptWatch::takeRequests()
{
    // Reset first: a request that comes meanwhile signals the event again.
    ::ResetEvent(requestEvent);
    return pendingRequests.exchange(0);
}

int InterruptWatch::exitStatus() const { return firstExitStatus.load(); }

}  // namespace kelmora::platform
