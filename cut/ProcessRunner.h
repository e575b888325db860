#pragma once
// Runs the session's jobs as extractor processes: started hidden, each in a
// process group of its own, with the argument list handed over unchanged, and
// asked to end with time to close their files. What each says on its standard
// error is kept (its last few kilobytes), so a failure can be told in its own
// words. A front end adds the wait that suits it.

#include <cstdint>
#include <map>
#include <optional>

#include "cut/CutSession.h"
#include "cut/ExtractorErrors.h"
#include "platform/OutputPipe.h"
#include "platform/Process.h"

namespace kelmora {

class ProcessRunner : public CutRunner {
public:
    bool start(const CutJob& job, std::string& error) override;
    void stop(std::uint64_t job) override;

protected:
    struct Run {
        platform::ChildProcess child;
        std::optional<platform::OutputPipe> errorPipe;  // its standard error, until the pipe's end
        ExtractorErrors errors;
        std::string input;  // the video as the extractor was given it
    };
    // The runs whose end has not been taken yet, by job.
    std::map<std::uint64_t, Run>& runs() { return m_runs; }
    // A run that has ended, taken out of runs(); nullopt while every run goes on.
    std::optional<CutRunEnd> takeEnded();

private:
    std::map<std::uint64_t, Run> m_runs;
};

// The extractor's input argument in a job's command: what follows "-i".
std::string inputArgument(const CutJob& job);

}  // namespace kelmora
