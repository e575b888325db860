#pragma once
// The user's request to stop: the interrupt key (Ctrl+C), or the system asking
// the program to end (a closed terminal, a termination request). While an
// InterruptWatch lives, such a request no longer ends the program at once:
// it is noted, and handle() turns signalled, so the program can wind down in
// order.

#include "platform/Wait.h"

namespace kelmora::platform {

class InterruptWatch {
public:
    // One watch at a time in a program.
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // Signalled while a request has come that takeRequests() has not taken.
    WaitHandle handle() const;

    // How many requests have come since the last call; clears the handle.
    int takeRequests();

    // The exit status that tells the caller which request ended the program
    // (130 for the interrupt key, as shells expect); 0 before any request.
    int exitStatus() const;
};

}  // namespace kelmora::platform
