#pragma once
// Runs a cut session's jobs as real processes and waits for their ends, as a
// terminal program would. A test may act at the start of each wait (change the
// list or the options, ask to stop).

#include <functional>
#include <stdexcept>
#include <vector>

#include "cut/ProcessRunner.h"
#include "platform/Wait.h"

namespace kelmora::test {

class WaitingRunner : public ProcessRunner {
public:
    std::function<void(int wait)> duringWait;  // gets the number of the wait, from 0
    int waits = 0;
    std::vector<CutJob> started;

    bool start(const CutJob& job, std::string& error) override
    {
        started.push_back(job);
        return ProcessRunner::start(job, error);
    }

    CutRunEnd waitForEnd() override
    {
        if (duringWait) duringWait(waits);
        ++waits;
        for (;;) {
            if (std::optional<CutRunEnd> end = takeEnded()) return *end;
            std::vector<platform::WaitHandle> ends;
            for (auto& [job, run] : runs()) ends.push_back(run.child.endHandle());
            if (ends.empty()) throw std::logic_error("a wait without a run");
            platform::waitForAny(ends, -1);
        }
    }
};

}  // namespace kelmora::test
