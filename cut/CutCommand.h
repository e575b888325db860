#pragma once
// The frame extractor's command lines: one for cutting a video into numbered
// images, one for the single preview picture. Each is an argument list (what
// the process start gets, byte for byte) plus its text form as the program
// shows and compares it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cut/VideoProbe.h"
#include "platform/Paths.h"
#include "settings/CutSettings.h"
#include "settings/ImageFormats.h"

namespace kelmora {

// The first format that is on, in the table's order (JPEG, GIF, PNG, BMP); ofNone when none is.
TOutputFormat chooseOutputFormat(const TCutSettings& settings);

// The output file name's ending: "_%05d.jpg" ... "_%05d.bmp", and "%d.jpg" for ofNone.
std::string outputSuffix(TOutputFormat format);

// The images' name: the target's file name without its extension ("a" for /v/a.avi).
std::string outputName(const std::string& target, platform::PathStyle style = platform::nativePathStyle());

// The file the first image of a cut under name gets in folder, as it lands on
// disk ("/out/a_00001.jpg"; "/out/a1.jpg" for ofNone).
std::string firstImagePath(const std::string& folder, const std::string& name, TOutputFormat format,
                           platform::PathStyle style = platform::nativePathStyle());

// A path the extractor reads as a file and nothing else: a relative one gets
// "./" in front, so "ep1:pilot.mp4" is no protocol and "-x.mp4" no option.
std::string extractorPath(const std::string& path, platform::PathStyle style = platform::nativePathStyle());

struct ExtractorCommand {
    std::string program;                 // "ffmpeg" ("ffmpeg.exe" on Windows)
    std::vector<std::string> arguments;  // handed to the process start unchanged
    std::string argumentText;            // the arguments as one line, file names in double quotes
    std::string commandLine;             // program + " " + argumentText
};

struct CutCommand {
    std::string OutputPattern;        // destination folder, separator, name with the suffix
    std::string QuotedOutputPattern;  // the same in double quotes
    ExtractorCommand command;
};

// The command that cuts target into images in settings.DestinationFolder,
// named after the target (outputName).
CutCommand BuildCutCommandLine(const std::string& target, const TCutSettings& settings,
                               platform::PathStyle style = platform::nativePathStyle());
// The same with the images named name (see claimOutputName).
CutCommand BuildCutCommandLine(const std::string& target, const TCutSettings& settings, const std::string& name,
                               platform::PathStyle style = platform::nativePathStyle());

// The same for a video whose facts were probed: a filter is added only where
// the video needs one (pixels made square, fields woven into frames, HDR
// tone-mapped to BT.709), a rate above the video's own takes each frame once,
// and a video shorter than one interval gives its first frame.
CutCommand BuildCutCommandLine(const std::string& target, const TCutSettings& settings, const std::string& name,
                               const VideoFacts& video, platform::PathStyle style = platform::nativePathStyle());

// What a cut of a video with these facts takes instead of what was asked.
enum class RateChange {
    None,
    EveryFrame,  // more images a second were asked than the video has frames: each frame once
    FirstFrame,  // the video is shorter than one interval: its first frame
};
RateChange rateChange(const TCutSettings& settings, const VideoFacts& video);

// The extractor's JPEG quality scale (2 best ... 31 worst) for a quality of
// 1 (smallest) to 100 (best); 0, the default, is 2.
int jpegQualityScale(std::int32_t quality);

// The command that writes one 80 x 60 bitmap of target at startSecond into
// previewFolder as "_thumb.bmp": the picture fitted into the box with its
// shape kept (square pixels, bars on the sides left empty), never squeezed.
ExtractorCommand BuildThumbnailCommandLine(const std::string& target, std::int32_t startSecond,
                                           const std::string& previewFolder,
                                           platform::PathStyle style = platform::nativePathStyle());

}  // namespace kelmora
