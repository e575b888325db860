#pragma once
// The progress display on a terminal, as text: an overall bar, then one line
// per running job. Drawing it is the caller's; this only says what the lines
// read and which bytes redraw them in place.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelmora::cli {

struct RunningJobView {
    std::string name;                // the video's file name, as bytes of the system code page
    std::optional<double> fraction;  // done, from 0 to 1; nullopt while unknown
    std::int64_t frames = 0;         // written so far, shown when the fraction is unknown
};

struct ProgressSnapshot {
    std::size_t total = 0;     // runs of the batch
    std::size_t finished = 0;  // runs that have ended, failed ones included
    std::size_t failed = 0;
    double elapsedSeconds = 0;
    std::vector<RunningJobView> jobs;  // in the order they started
};

// "0:07", "12:34", "1:02:03"
std::string formatDuration(double seconds);

// What is left at the pace so far, counting the parts of running jobs that are
// done; nullopt before anything is done.
std::optional<double> estimateSecondsLeft(const ProgressSnapshot& snapshot);

// The display's lines, none wider than columns.
std::vector<std::string> renderProgress(const ProgressSnapshot& snapshot, std::size_t columns);

// The bytes that replace the previousLines lines drawn last (the cursor
// standing below them) with lines, leaving the cursor below the new ones.
std::string redrawSequence(std::size_t previousLines, const std::vector<std::string>& lines);

}  // namespace kelmora::cli
