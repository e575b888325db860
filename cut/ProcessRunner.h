#pragma once
// Runs the session's jobs as extractor processes: started hidden, each in a
// process group of its own, with the argument list handed over unchanged, and
// asked to end with time to close their files. What each says on its standard
// error is kept (its last few kilobytes), so a failure can be told in its own
// words. A front end adds the wait that suits it, and may ask each run for
// more (its progress on standard output).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cut/CutSession.h"
#include "cut/ExtractorErrors.h"
#include "platform/OutputPipe.h"
#include "platform/Process.h"

namespace kelmora {

class ProcessRunner : public CutRunner {
public:
    bool start(const CutJob& job, std::string& error) override { return startRun(job, {}, -1, error); }
    // Asks the run to end and ends it outright when it has not after a grace time.
    void stop(std::uint64_t job) override;
    // Ends every run at once, without the time to close files.
    void killAll();

protected:
    struct Run {
        CutJob job;
        platform::ChildProcess child;
        std::optional<platform::OutputPipe> errorPipe;  // its standard error, until the pipe's end
        ExtractorErrors errors;
    };
    // Starts the job's run with reporting (options that change only what the
    // extractor reports) before the job's own arguments, and its standard
    // output into standardOutput (a pipe's writing end; -1: the null device).
    bool startRun(const CutJob& job, const std::vector<std::string>& reporting, std::intptr_t standardOutput,
                  std::string& error);
    // The runs whose end has not been taken yet, by job (ids grow: the order they started).
    std::map<std::uint64_t, Run>& runs() { return m_runs; }
    const std::map<std::uint64_t, Run>& runs() const { return m_runs; }
    // A run that has ended, taken out of runs(); nullopt while every run goes on.
    std::optional<CutRunEnd> takeEnded();
    // Called for each run that ends, before it is taken out of runs().
    virtual void runEnded(Run& /*run*/) {}

private:
    std::map<std::uint64_t, Run> m_runs;
};

}  // namespace kelmora
