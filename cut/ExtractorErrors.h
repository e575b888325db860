#pragma once
// What an extractor said on its standard error: only the last few kilobytes
// are kept, however much it writes, and from them the line that says why a
// run failed, in the extractor's own words.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/OutputPipe.h"

namespace kelmora {

class ExtractorErrors {
public:
    // How much of the end of what was said is kept.
    static constexpr std::size_t kKeptBytes = 4096;

    void feed(std::string_view bytes);
    // Feeds what can be read from the extractor's standard error now; drops
    // the pipe once it has ended.
    void readFrom(std::optional<platform::OutputPipe>& pipe);

    // The last line that says what went wrong ("Invalid data found when
    // processing input"): the progress and summary lines, the closing
    // "Conversion failed!" and the generic lines that only repeat an error
    // already given are passed over; a "[name @ 0x...] " tag and a leading
    // "input: " (input as the extractor was given it) are left out. Empty when
    // nothing was said.
    std::string lastErrorLine(std::string_view input = {}) const;
    // The frame count of the last progress line ("frame=  120 fps=..."): the
    // frames of the run's first output. nullopt when none was said.
    std::optional<std::int64_t> lastFrameCount() const;

    // The first line, anywhere in what was said, that tells of damaged input
    // ("partial file", "Invalid NAL unit size", a truncated packet), without
    // its tag; empty when there was none. A run may end well after one.
    const std::string& inputTrouble() const { return m_trouble; }

private:
    void lookForTrouble(std::string_view bytes);

    std::string m_tail;
    std::string m_line;  // the line under way, for lookForTrouble (no more than kKeptBytes of it)
    std::string m_trouble;
};

}  // namespace kelmora
