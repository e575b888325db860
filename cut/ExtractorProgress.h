#pragma once
// What the extractor says about a run while it goes on, and how long the
// video is: read from the extractor's progress output ("-progress pipe:1":
// blocks of key=value lines, each block ending in "progress=continue", the
// last in "progress=end") and from the prober's answer.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora {

class ExtractorProgress {
public:
    // Takes the next piece of the output, cut anywhere.
    void feed(std::string_view bytes);

    // Frames written so far.
    std::int64_t frames() const { return m_frames; }
    // The position reached in the video, in microseconds; nullopt before the
    // extractor has said (it says "N/A" until the first frame).
    std::optional<std::int64_t> positionUs() const { return m_positionUs; }
    // The extractor has written its last block.
    bool ended() const { return m_ended; }
    // Bytes of a line without its end kept so far: never more than
    // kMaxLineBytes, whatever the extractor writes.
    std::size_t heldBytes() const { return m_partial.size(); }

    // The longest line kept: a progress line is a short "key=value"; a longer
    // one is passed over to its end unread.
    static constexpr std::size_t kMaxLineBytes = 1024;

    // The part done, from 0 to 1, against what the run is to cover: seconds of
    // video, a number of frames, or both (the run ends with whichever ends
    // first); nullopt when neither is known or nothing has been said yet.
    std::optional<double> fraction(std::optional<double> seconds, std::optional<std::int64_t> frameLimit) const;

private:
    void takeLine(std::string_view line);

    std::string m_partial;    // a line without its end yet
    bool m_overlong = false;  // the line under way is past kMaxLineBytes: the rest of it goes
    std::int64_t m_frames = 0;
    std::optional<std::int64_t> m_positionUs;
    bool m_ended = false;
};

// The prober's arguments that ask for the duration of the video at path
// alone, in seconds on one line of its standard output.
std::vector<std::string> probeDurationArguments(const std::string& path);

// The duration in the prober's answer; nullopt for "N/A", nothing, or a
// duration that is not a positive number.
std::optional<double> parseProbedDuration(std::string_view answer);

// The prober's answer as it comes, cut anywhere: its first line is all that
// is kept, and no more of it than a duration takes.
class ProbeAnswer {
public:
    void feed(std::string_view bytes);
    // parseProbedDuration of the first line; nullopt for a line too long to be a duration.
    std::optional<double> duration() const;
    std::size_t heldBytes() const { return m_firstLine.size(); }

    static constexpr std::size_t kMaxBytes = 64;

private:
    std::string m_firstLine;
    bool m_lineEnded = false;
    bool m_overlong = false;
};

}  // namespace kelmora
