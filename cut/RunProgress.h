#pragma once
// How far one extractor run is: its progress report on a pipe (its standard
// output, "-progress pipe:1"), and the video's duration asked of the prober
// beside the extractor. The window and kelmora-cli each wait in their own way
// and call the reads when a pipe has something.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cut/ExtractorProgress.h"
#include "platform/OutputPipe.h"
#include "platform/Process.h"

namespace kelmora {

class RunProgress {
public:
    // The options that make the extractor report its progress on its standard output.
    static const std::vector<std::string>& reportingArguments();

    // A run's progress with a fresh report pipe; nullopt (error set) when the system has none.
    // skipSeconds and frameLimit: a range's start second and number of frames.
    static std::optional<RunProgress> create(std::string& error, double skipSeconds = 0,
                                             std::optional<std::int64_t> frameLimit = std::nullopt);

    // The report pipe's writing end, for the run's start, and its close once the run holds its copy.
    std::intptr_t reportWritingEnd() const { return m_report ? m_report->writingEnd() : -1; }
    void closeReportWritingEnd();
    // Asks prober (empty: none) for target's duration while the run goes on.
    void askDuration(const std::string& prober, const std::string& target);
    // The duration as the job's probe found it already (CutJob::video): no second probe.
    void knowDuration(double seconds);

    // Signalled when the report (or the prober's answer) has something; kNoWaitHandle once it has ended.
    platform::WaitHandle reportHandle() const;
    platform::WaitHandle probeHandle() const;
    bool reporting() const { return m_report.has_value(); }
    bool probing() const { return m_probePipe.has_value(); }
    // Read what is there now.
    void readReport();
    void readProbe();
    // Ends the prober (the run has ended or is stopped).
    void endProbe();

    // The part done, from 0 to 1; nullopt while it cannot be told.
    std::optional<double> fraction() const { return m_progress.fraction(m_seconds, m_frameLimit); }
    std::int64_t frames() const { return m_progress.frames(); }

private:
    std::optional<platform::OutputPipe> m_report;
    ExtractorProgress m_progress;
    std::optional<platform::ChildProcess> m_probe;
    std::optional<platform::OutputPipe> m_probePipe;
    ProbeAnswer m_answer;
    std::optional<double> m_seconds;  // of video the run is to cover
    double m_skipSeconds = 0;
    std::optional<std::int64_t> m_frameLimit;
};

// The prober beside the extractor at extractorPath, else on PATH; empty when there is none.
std::string proberBeside(const std::string& extractorPath);

}  // namespace kelmora
