#pragma once
// kelmora-cli's command line: what the user asked for, as given, before the
// settings file and the option rules have their say (see CliSettings.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora::cli {

// The highest number of runs at once.
inline constexpr int kMaxJobs = 128;

struct CliOptions {
    std::vector<std::string> targets;    // files, folders, wildcard patterns, byte for byte
    std::vector<std::string> filesFrom;  // lists of more targets; "-" is standard input
    bool nulSeparated = false;           // the lists' entries end in NUL, not a line break

    std::optional<std::string> out;
    std::optional<std::int32_t> fromSecond;
    std::optional<std::int32_t> frameCount;
    bool wholeVideo = false;  // back to every frame of the video, whatever the settings file says
    std::optional<std::int32_t> framesPerSecond;
    bool everyFrame = false;  // back to every frame as it is
    std::optional<std::int32_t> width;
    std::optional<std::int32_t> height;
    bool sourceSize = false;            // the video's own size
    std::optional<std::string> format;  // "jpeg", "gif", "png", "bmp" or "webp"

    // Pixels and quality
    std::optional<std::int32_t> sizeMode;  // how the size applies (TSizeMode): "WxH", "Wx", "xH", or --fit
    std::optional<std::int32_t> quality;   // 1..100, JPEG and lossy WebP
    bool lossless = false;                 // WebP keeps every pixel
    std::optional<std::int32_t> pngLevel;  // 0..9

    int jobs = 1;
    std::optional<std::string> settingsFile;
    bool noSettings = false;
    bool dryRun = false;
    bool json = false;
    bool quiet = false;
    std::optional<std::string> ffmpeg;

    // Picking frames and naming images.
    std::optional<std::int32_t> scenePercent;  // --scenes [T]: one image at each scene change, T as a percentage
    bool keyFrames = false;                    // --keyframes: key frames only
    bool noRepeats = false;                    // --no-repeats: no image nearly the same as the one before
    std::optional<std::int32_t> everySeconds;  // --every DURATION: one image every that many seconds
    std::optional<std::string> names;          // --names: "number" or "time"
    bool jsonImages = false;                   // --json-images: with --json, one line for each image
    // Runs again and shares of the work.
    std::optional<std::string> existing;  // "rename", "skip" or "overwrite"
    bool resume = false;                  // cut only what is not cut whole yet
    std::uint32_t shard = 1;              // this run takes share shard of shards
    std::uint32_t shards = 1;
    bool list = false;  // print the files that would be cut, sorted, and cut nothing
};

// "30s", "5m", "1h", "1h30m" or plain seconds ("90"); nullopt for anything
// else, and for a duration of no seconds or past a 99:59:59 video.
std::optional<std::int32_t> parseDuration(std::string_view text);

struct ParsedCommandLine {
    std::optional<CliOptions> options;  // set when the program is to go on
    int exitStatus = 0;                 // otherwise: 0 after --help or --version, 2 for a mistake
    std::string output;                 // for standard output (the help text, the version)
    std::string error;                  // for standard error: what was wrong, and how to get help
};

// Reads the arguments after the program's name. defaultJobs is the number of
// runs at once when -j is not given.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments, int defaultJobs);

}  // namespace kelmora::cli
