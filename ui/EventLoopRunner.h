#pragma once
// Runs the cut session's jobs while the window goes on handling its events:
// the wait for a run's end is a nested event loop, so the mascot moves, the
// options and the list can change, and Esc can stop the batch meanwhile.

#include "cut/ProcessRunner.h"

namespace kelmora {

class EventLoopRunner : public ProcessRunner {
public:
    // Wakes once the moment a run ends (see ProcessEndWatch).
    CutRunEnd waitForEnd() override;
};

}  // namespace kelmora
