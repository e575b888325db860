#pragma once
// What the prober says about a video's picture before it is cut: its pixels'
// shape, its fields, its transfer, its rate, its declared frames and its
// length. One probe a video; the cut's command line adds a filter only where
// these facts call for one, so an ordinary video is cut as it always was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora {

struct VideoFacts {
    bool known = false;  // the prober answered for a video stream; nothing below is set otherwise
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t sarNum = 0;  // the sample aspect ratio; 0:0 when the video gives none
    std::int32_t sarDen = 0;
    std::int32_t rotation = 0;           // degrees of the display matrix (the extractor turns the picture itself)
    std::string fieldOrder;              // "progressive", "tt", "bb", "tb", "bt", "unknown"
    std::string transfer;                // "bt709", "smpte2084", "arib-std-b67", ...
    double frameRate = 0;                // frames a second on average; 0 when unknown
    std::optional<std::int64_t> frames;  // as the container declares them
    std::optional<double> seconds;       // the video's length

    // Pixels that are not square: the picture is shown wider or narrower than it is stored.
    bool nonSquarePixels() const;
    // Two fields a frame, woven.
    bool interlaced() const;
    // A high dynamic range transfer (PQ or HLG).
    bool highDynamicRange() const;
};

// The prober's arguments that ask for the facts of the first video stream of path.
std::vector<std::string> probeVideoArguments(const std::string& path);

// The facts in the prober's answer (its "flat" output); known false when it names no video stream.
VideoFacts parseVideoFacts(std::string_view answer);

// Runs prober on path and waits for its answer; known false when there is no
// prober, it cannot start, or it finds no video.
VideoFacts probeVideo(const std::string& prober, const std::string& path);

}  // namespace kelmora
