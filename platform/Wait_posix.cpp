#include "platform/Wait.h"

#include <poll.h>

namespace kelmora::platform {

std::vector<std::size_t> waitForAny(std::span<const WaitHandle> handles, int timeoutMs)
{
    std::vector<pollfd> watched;
    watched.reserve(handles.size());
    for (const WaitHandle handle : handles) watched.push_back({static_cast<int>(handle), POLLIN, 0});
    std::vector<std::size_t> ready;
    // A negative descriptor is ignored by poll itself.
    if (::poll(watched.data(), watched.size(), timeoutMs < 0 ? -1 : timeoutMs) <= 0) return ready;
    for (std::size_t i = 0; i < watched.size(); ++i)
        if (watched[i].revents != 0) ready.push_back(i);
    return ready;
}

}  // namespace kelmora::platform
