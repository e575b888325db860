#include "cli/ProgressView.h"

#include <algorithm>
#include <cmath>

#include "cli/Messages.h"
#include "cli/TerminalText.h"

namespace kelmora::cli {

namespace {

constexpr std::size_t kMaxBarWidth = 30;
constexpr std::size_t kMinBarWidth = 10;
constexpr std::size_t kJobIndent = 2;

std::string bar(double fraction, std::size_t width)
{
    const auto filled = static_cast<std::size_t>(std::floor(fraction * static_cast<double>(width)));
    // Appended in place: "[" + std::string(...) makes GCC 12 warn (-Wrestrict) in a release build.
    std::string text = "[";
    text.append(filled, '#').append(width - filled, '-').push_back(']');
    return text;
}

std::string jobLine(const RunningJobView& job, std::size_t columns)
{
    const std::string amount = job.fraction
                                   ? format("%3d%%", static_cast<int>(std::floor(*job.fraction * 100)))
                                   : format(trn("%lld frame", "%lld frames", static_cast<unsigned long>(job.frames)),
                                            static_cast<long long>(job.frames));
    const std::size_t amountWidth = displayWidth(amount);
    const std::size_t room = columns > kJobIndent + 2 + amountWidth ? columns - kJobIndent - 2 - amountWidth : 0;
    std::string name = fitToWidth(printableText(job.name), room);
    const std::size_t padding = room - displayWidth(name);
    return fitToWidth(std::string(kJobIndent, ' ') + name + std::string(padding + 2, ' ') + amount, columns);
}

}  // namespace

std::string formatDuration(double seconds)
{
    const auto whole = static_cast<long long>(std::max(0.0, std::round(seconds)));
    const long long hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
    if (hours > 0) return format("%lld:%02lld:%02lld", hours, minutes, rest);
    return format("%lld:%02lld", minutes, rest);
}

std::optional<double> estimateSecondsLeft(const ProgressSnapshot& snapshot)
{
    double done = static_cast<double>(snapshot.finished);
    for (const RunningJobView& job : snapshot.jobs) done += job.fraction.value_or(0);
    if (done <= 0 || snapshot.elapsedSeconds <= 0) return std::nullopt;
    const double left = static_cast<double>(snapshot.total) - done;
    return left <= 0 ? 0.0 : snapshot.elapsedSeconds * left / done;
}

std::vector<std::string> renderProgress(const ProgressSnapshot& snapshot, std::size_t columns)
{
    const std::optional<double> left = estimateSecondsLeft(snapshot);
    const std::string counts =
        format(tr("%zu/%zu done, %zu failed, %s elapsed, %s left"), snapshot.finished, snapshot.total, snapshot.failed,
               formatDuration(snapshot.elapsedSeconds).c_str(), left ? formatDuration(*left).c_str() : "-:--");
    const std::size_t countsWidth = displayWidth(counts);
    std::string overall;
    if (countsWidth + 3 + kMinBarWidth <= columns) {
        const std::size_t width = std::min(kMaxBarWidth, columns - countsWidth - 3);
        const double fraction =
            snapshot.total == 0 ? 1.0 : static_cast<double>(snapshot.finished) / static_cast<double>(snapshot.total);
        overall = bar(fraction, width) + " " + counts;
    } else {
        overall = fitToWidth(counts, columns);
    }
    std::vector<std::string> lines{overall};
    for (const RunningJobView& job : snapshot.jobs) lines.push_back(jobLine(job, columns));
    return lines;
}

std::string redrawSequence(std::size_t previousLines, const std::vector<std::string>& lines)
{
    std::string bytes;
    if (previousLines > 0) bytes += "\r\x1b[" + std::to_string(previousLines) + "A";
    for (const std::string& line : lines) bytes += line + "\x1b[K\n";
    bytes += "\x1b[J";  // the lines of a longer display before
    return bytes;
}

}  // namespace kelmora::cli
