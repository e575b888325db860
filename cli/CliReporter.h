#pragma once
// What kelmora-cli tells its user while a batch runs and after it: the
// progress display on a terminal, or one plain line per finished run
// elsewhere, JSON lines on request, and at the end the entries not cut with
// their reasons. Human text goes to standard error; standard output carries
// only the JSON lines.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "cut/CutSession.h"

namespace kelmora::cli {

// The exit status when the extractor cannot be found or started.
constexpr int kNoExtractorStatus = 3;

enum class ProgressStyle {
    None,      // -q: nothing while the batch runs
    Terminal,  // the bar and a line per running job, redrawn in place
    Lines,     // one plain line per finished run
};

// Why an entry was not cut, as a stable word for programs and a text for people.
struct NotCutReason {
    std::string code;     // "exit_status", "signal", "no_image", "stopped", "not_found", ...
    std::string message;  // in the user's language
};

class CliReporter : public CutSessionListener, public RunnerObserver {
public:
    using Clock = std::chrono::steady_clock;

    // files: every entry of the batch's list; missing: targets that named nothing.
    CliReporter(ProgressStyle style, bool json, std::vector<std::string> files, std::vector<std::string> missing,
                std::function<void(int requests)> onInterrupt);

    // The runner whose ends explain the failures; set before the batch.
    void setRunner(const CliRunner* runner) { m_runner = runner; }
    // With the JSON lines, one line for each image of a run before the run's own.
    void setJsonImages(bool on) { m_jsonImages = on; }

    // Called once, when a write finds that the reader of standard output or
    // error has gone ("| head -1"); nothing more is written there.
    void setOnClosedOutput(std::function<void()> onClosedOutput) { m_onClosedOutput = std::move(onClosedOutput); }

    // Writes the JSON lines of the targets that named nothing (before the batch).
    void reportMissing();

    void entryStarted(const CutJob& job) override;
    void entryFinished(const CutEntryResult& result) override;
    void destinationRefused(const std::string& folder, DestinationProblem problem, int error) override;

    int msUntilDue() override;
    void wokeUp() override;
    void interrupted(int requests) override;

    // A line for the user on standard error, above the display.
    void say(const std::string& text);

    // Clears the display, writes what became of the batch and returns the
    // exit status. interruptStatus: nonzero when the user stopped the batch.
    int finish(const CutBatchReport& report, int interruptStatus);

private:
    struct Entry {
        std::size_t number = 0;  // in the order the batch took them; 0 for a target that named nothing
        std::string target;
        bool cut = false;
        NotCutReason reason;
        std::string warning;  // for a cut entry: what it did beside what was asked
    };

    NotCutReason reasonFor(const CutEntryResult& result) const;
    void writeRunJson(const CutEntryResult& result, const char* status, const NotCutReason* reason);
    void writeImagesJson(const CutEntryResult& result, const CutJob& job);
    void draw(bool force);
    void clearDisplay();
    ProgressSnapshot snapshot() const;
    void out(const std::string& text);  // standard output
    void err(const std::string& text);  // standard error
    void write(std::FILE* stream, const std::string& text, bool& closed);

    ProgressStyle m_style;
    bool m_json;
    bool m_jsonImages = false;
    std::vector<std::string> m_files;
    std::vector<std::string> m_missing;
    std::function<void(int)> m_onInterrupt;
    const CliRunner* m_runner = nullptr;
    std::function<void()> m_onClosedOutput;
    bool m_outputClosed = false;
    bool m_errorClosed = false;

    Clock::time_point m_start = Clock::now();
    Clock::time_point m_lastCheck = Clock::now();
    std::size_t m_drawnLines = 0;
    std::vector<std::string> m_drawn;
    std::map<std::uint64_t, CutJob> m_jobs;
    std::map<std::uint64_t, Clock::time_point> m_started;
    std::vector<Entry> m_finished;
    std::size_t m_failed = 0;
    std::vector<std::string> m_notices;
};

}  // namespace kelmora::cli
