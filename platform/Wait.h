#pragma once
// Waiting on several things at once: ended children, pipes with data, an
// interrupt. Each is a handle the system can wait on (a descriptor on POSIX,
// an object handle on Windows).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kelmora::platform {

using WaitHandle = std::intptr_t;
constexpr WaitHandle kNoWaitHandle = -1;

// Returns the indices of the handles that are signalled (readable, or at their
// end), waiting up to timeoutMs for the first (negative: without limit). Empty
// when the time ran out or a signal cut the wait short. kNoWaitHandle entries
// are passed over.
std::vector<std::size_t> waitForAny(std::span<const WaitHandle> handles, int timeoutMs);

}  // namespace kelmora::platform
