#include "cut/FramePicking.h"

#include <algorithm>
#include <array>

#include "cut/ExtractorProgress.h"
#include "platform/FileFind.h"
#include "platform/OutputPipe.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/System.h"
#include "platform/Wait.h"

namespace kelmora {

namespace p = platform;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The fewest digits of the extractor's millisecond numbers ("%09d"): never
// the five of a numbered image, so the claim's "name_00001" is never written.
constexpr std::size_t kMsDigits = 9;

// The milliseconds of a file the extractor wrote for name ("name_000083456.jpg"); nullopt for any other file.
std::optional<std::int64_t> msOfFile(std::string_view file, const std::string& name, const std::string& extension)
{
    const std::size_t head = name.size() + 1;
    if (file.size() < head + kMsDigits + extension.size() || file.compare(0, name.size(), name) != 0
        || file[name.size()] != '_' || file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
        return std::nullopt;
    const std::string_view digits = file.substr(head, file.size() - head - extension.size());
    if (digits.size() > 18 || !std::all_of(digits.begin(), digits.end(), isDigit)) return std::nullopt;
    std::int64_t ms = 0;
    for (const char c : digits) ms = ms * 10 + (c - '0');
    return ms;
}

}  // namespace

std::int32_t pickModeOf(const TCutSettings& settings)
{
    const std::int32_t mode = settings.PickMode;
    return mode >= kPickPlain && mode <= kPickEvery ? mode : kPickPlain;
}

bool perSecondApplies(const TCutSettings& settings)
{
    return settings.RatePerSecond && pickModeOf(settings) == kPickPlain;
}

bool namesByTime(const TCutSettings& settings) { return settings.ImageNames == kNamesByTime; }

bool leavesOutRepeats(const TCutSettings& settings) { return settings.NoRepeats && pickModeOf(settings) == kPickPlain; }

std::string timeNameOf(std::int64_t ms)
{
    const auto padded = [](std::int64_t n, std::size_t width) {
        const std::string digits = std::to_string(n);
        return std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
    };
    if (ms < 0) ms = 0;
    const std::int64_t seconds = ms / 1000;
    return padded(seconds / 3600, 2) + "-" + padded(seconds / 60 % 60, 2) + "-" + padded(seconds % 60, 2) + "."
           + padded(ms % 1000, 3);
}

std::size_t timeNameEnding(std::string_view text)
{
    // "_" hours(2+) "-" mm "-" ss "." mmm
    constexpr std::string_view kTail = "-dd-dd.ddd";
    if (text.size() < kTail.size() + 3) return 0;
    const std::size_t tail = text.size() - kTail.size();
    for (std::size_t i = 0; i < kTail.size(); ++i) {
        const char want = kTail[i], got = text[tail + i];
        if (want == 'd' ? !isDigit(got) : got != want) return 0;
    }
    std::size_t hours = 0;
    while (hours < tail && isDigit(text[tail - 1 - hours])) ++hours;
    if (hours < 2 || hours == tail || text[tail - 1 - hours] != '_') return 0;
    return kTail.size() + hours + 1;
}

std::string imageExtension(TOutputFormat format)
{
    for (const ImageFormat& known : imageFormats())
        if (known.format == format) return known.extension;
    return ".jpg";
}

std::vector<std::int64_t> everySeekSeconds(const TCutSettings& settings, std::optional<double> duration)
{
    std::vector<std::int64_t> seconds;
    if (!duration || !(*duration > 0) || settings.EverySeconds <= 0) return seconds;
    const std::int64_t start = settings.RangeFromSecond ? settings.StartSecond : 0;
    const std::size_t most = settings.RangeFromSecond ? static_cast<std::size_t>(std::max(settings.FrameCount, 1))
                                                      : static_cast<std::size_t>(-1);
    for (std::int64_t at = start; static_cast<double>(at) < *duration && seconds.size() < most;
         at += settings.EverySeconds) {
        if (seconds.size() == kMaxSeeks) return {};
        seconds.push_back(at);
    }
    return seconds;
}

std::vector<TimedImage> nameImagesByTime(const std::string& folder, const std::string& name, TOutputFormat format,
                                         bool lastMayBePartial, const std::string& claimFile)
{
    const std::string extension = imageExtension(format);
    std::vector<std::pair<std::int64_t, std::string>> written;
    p::FileFind find;
    for (bool found = find.first(p::joinPath(folder, "*"), p::EntryFacts::NameAndKind); found; found = find.next())
        if (const auto ms = msOfFile(find.data().name, name, extension))
            written.emplace_back(*ms, p::joinPath(folder, find.data().name));
    std::sort(written.begin(), written.end());
    if (lastMayBePartial && !written.empty()) {
        p::deleteFile(written.back().second);
        written.pop_back();
    }
    std::vector<TimedImage> images;
    for (const auto& [ms, file] : written) {
        if (p::fileSize(file) <= 0) {
            p::deleteFile(file);
            continue;
        }
        const std::string timed = p::joinPath(folder, name + "_" + timeNameOf(ms) + extension);
        if (p::renameFile(file, timed)) images.push_back({timed, ms});
    }
    if (p::fileSize(claimFile) == 0) p::deleteFile(claimFile);
    return images;
}

}  // namespace kelmora
