#include "platform/Wait.h"

#include <algorithm>

#include <windows.h>

namespace kelmora::platform {

namespace {

constexpr DWORD kLookAgainMs = 50;

}  // namespace

std::vector<std::size_t> waitForAny(std::span<const WaitHandle> handles, int timeoutMs)
{
    // The system waits on the handles that are given; the answer maps back to the caller's indices.
    std::vector<HANDLE> watched;
    std::vector<std::size_t> indexOf;
    for (std::size_t i = 0; i < handles.size(); ++i) {
        if (handles[i] == kNoWaitHandle) continue;
        watched.push_back(reinterpret_cast<HANDLE>(handles[i]));
        indexOf.push_back(i);
    }
    std::vector<std::size_t> ready;
    DWORD timeout = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
    // The system waits on at most 64 handles at once: those past them are
    // looked at now, and again after a short wait on the first 64.
    if (watched.size() > MAXIMUM_WAIT_OBJECTS) {
        for (std::size_t i = MAXIMUM_WAIT_OBJECTS; i < watched.size(); ++i)
            if (::WaitForSingleObject(watched[i], 0) == WAIT_OBJECT_0) ready.push_back(indexOf[i]);
        if (!ready.empty()) return ready;
        watched.resize(MAXIMUM_WAIT_OBJECTS);
        timeout = std::min<DWORD>(timeout, kLookAgainMs);
    }
    if (watched.empty()) {
        ::Sleep(timeout);
        return ready;
    }
    const DWORD first = ::WaitForMultipleObjects(static_cast<DWORD>(watched.size()), watched.data(), FALSE, timeout);
    if (first >= WAIT_OBJECT_0 + watched.size()) return ready;
    // Every handle signalled by now, not only the first.
    for (std::size_t i = first - WAIT_OBJECT_0; i < watched.size(); ++i)
        if (::WaitForSingleObject(watched[i], 0) == WAIT_OBJECT_0) ready.push_back(indexOf[i]);
    return ready;
}

}  // namespace kelmora::platform
