#pragma once
// Which frames become images beyond every frame and N a second (one at each
// scene change, key frames only, one every D seconds, without repeats), and
// images named by their time in the video ("clip_00-01-23.456.jpg").
//
// Images named by time are written by the extractor under the number of
// milliseconds of their frame's own timestamp ("clip_000083456.jpg", nine
// digits or more) and renamed once the run has ended; the run's claim stays
// the numbered first image ("clip_00001.jpg"), which the extractor never
// writes and the renaming removes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/CutSettings.h"
#include "settings/ImageFormats.h"

namespace kelmora {

// The pick mode in use; a value out of the known ones counts as kPickPlain.
std::int32_t pickModeOf(const TCutSettings& settings);
// The interval group's "N a second" applies: only while frames are picked plainly.
bool perSecondApplies(const TCutSettings& settings);
bool namesByTime(const TCutSettings& settings);
// Images nearly the same as the one before are left out: only while frames
// are picked plainly. The run then counts the frames it looked at in an
// output of its own, the first, that writes nothing.
bool leavesOutRepeats(const TCutSettings& settings);

// The time of a frame as its image's name shows it: hours (two digits or
// more), minutes, seconds and milliseconds, "00-01-23.456" for 83456 ms.
std::string timeNameOf(std::int64_t ms);
// The length of the time name at the end of text ("clip_00-01-23.456": 12),
// including the "_" before it; 0 when text does not end in one.
std::size_t timeNameEnding(std::string_view text);

// The ending of an image file of format (".jpg" for ofNone, which is JPEG).
std::string imageExtension(TOutputFormat format);

// The most seeks one run makes: past it, kPickEvery decodes the whole video
// once instead (the frames then lie close enough that seeking saves little,
// and every seek holds a decoder of its own).
constexpr std::size_t kMaxSeeks = 100;

// The seconds at which kPickEvery takes its images by seeking: from the start
// second (0 without a range) every EverySeconds while before duration, at
// most FrameCount of them with a range. Empty when the whole video is to be
// decoded through the fps filter instead: the duration is unknown, or there
// would be more than kMaxSeeks.
std::vector<std::int64_t> everySeekSeconds(const TCutSettings& settings, std::optional<double> duration);

struct TimedImage {
    std::string file;     // the image's final path
    std::int64_t ms = 0;  // its frame's time in the video, in milliseconds
    bool operator==(const TimedImage&) const = default;
};

// Puts the images of a run named by time in place once it has ended: each
// "name_<ms>" file the extractor wrote into folder gets its time name, the
// last one is removed first when it may be half written, and the empty claim
// (claimFile) goes. Returns the images, earliest first.
std::vector<TimedImage> nameImagesByTime(const std::string& folder, const std::string& name, TOutputFormat format,
                                         bool lastMayBePartial, const std::string& claimFile);

}  // namespace kelmora
