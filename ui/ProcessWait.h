#pragma once
// Waiting for an extractor run while the window goes on handling its events.

namespace kelmora {

namespace platform {
class ChildProcess;
}

// Returns once run has ended. Meanwhile a nested event loop handles every
// event of the program; it wakes the moment the run ends (the run's exit
// descriptor), or, where there is none, checks every 60 ms.
void waitWhileHandlingEvents(platform::ChildProcess& run);

}  // namespace kelmora
