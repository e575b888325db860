#pragma once
// Runs the session's jobs as extractor processes: started hidden, with the
// argument list handed over unchanged, and asked to end with time to close
// their files. A front end adds the wait that suits it.

#include <cstdint>
#include <map>
#include <optional>

#include "cut/CutSession.h"
#include "platform/Process.h"

namespace kelmora {

class ProcessRunner : public CutRunner {
public:
    bool start(const CutJob& job, std::string& error) override;
    void stop(std::uint64_t job) override;

protected:
    // The runs whose end has not been taken yet, by job.
    std::map<std::uint64_t, platform::ChildProcess>& runs() { return m_runs; }
    // A run that has ended, taken out of runs(); nullopt while every run goes on.
    std::optional<CutRunEnd> takeEnded();

private:
    std::map<std::uint64_t, platform::ChildProcess> m_runs;
};

}  // namespace kelmora
