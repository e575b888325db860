#include "cli/CliOptions.h"

#include "kelmora/Version.h"
#include "settings/ImageFormats.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/Messages.h"
#include "platform/Integers.h"
#include "settings/CutSettings.h"

namespace kelmora::cli {

namespace {

std::optional<std::int32_t> parseWhole(std::string_view text)
{
    const std::optional<std::int64_t> value = platform::parseInteger(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::string outOfRange(const std::string& input, std::int32_t minValue, std::int32_t maxValue)
{
    return format(tr("%s is not a whole number from %d to %d"), input.c_str(), minValue, maxValue);
}

// A whole number within [minValue, maxValue]; the error names the range (CLI11
// puts the option's name in front of it).
CLI::Validator wholeNumberIn(std::int32_t minValue, std::int32_t maxValue)
{
    return CLI::Validator(
        [minValue, maxValue](std::string& input) -> std::string {
            const auto value = parseWhole(input);
            if (!value || *value < minValue || *value > maxValue) return outOfRange(input, minValue, maxValue);
            return {};
        },
        format("%d..%d", minValue, maxValue));
}

// A whole number within the limits the window's field has for the key.
CLI::Validator withinKey(IntegerField field)
{
    const SettingsKey& key = settingsKey(field);
    return wholeNumberIn(key.minValue, key.maxValue);
}

// One of the choices, in any case ("JPEG" is "jpeg"); the value becomes the choice as written here.
CLI::Validator oneOf(std::vector<std::string> choices)
{
    std::string list;
    for (const std::string& choice : choices) list += (list.empty() ? "" : "|") + choice;
    return CLI::Validator(
        [choices, list](std::string& input) -> std::string {
            std::string lower = input;
            for (char& c : lower)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            for (const std::string& choice : choices) {
                if (lower == choice) {
                    input = choice;
                    return {};
                }
            }
            return format(tr("%s is not one of %s"), input.c_str(), list.c_str());
        },
        "");
}

// "WxH" within the width's and the height's limits, or "source"; with
// oneSideMay, also "Wx" (the width alone) and "xH" (the height alone). An
// image has at least one pixel each way: the extractor refuses a size of 0,
// so a 0 the field's limits let through is refused here like any other value
// out of range.
CLI::Validator imageSize(bool oneSideMay)
{
    return CLI::Validator(
        [oneSideMay](std::string& input) -> std::string {
            if (input == "source" && oneSideMay) return {};
            const std::size_t x = input.find('x');
            const SettingsKey& width = settingsKey(&TCutSettings::ImageWidth);
            const SettingsKey& height = settingsKey(&TCutSettings::ImageHeight);
            auto w = x == std::string::npos ? std::nullopt : parseWhole(std::string_view(input).substr(0, x));
            auto h = x == std::string::npos ? std::nullopt : parseWhole(std::string_view(input).substr(x + 1));
            // One side alone: the other follows the picture's shape.
            if (oneSideMay && x != std::string::npos && (x == 0) != (x + 1 == input.size())) {
                if (x == 0) w = std::max(width.minValue, 1);
                else h = std::max(height.minValue, 1);
            }
            if (!w || !h) {
                if (!oneSideMay) return format(tr("%s is not WIDTHxHEIGHT"), input.c_str());
                return format(tr("%s is not WIDTHxHEIGHT, WIDTHx, xHEIGHT or \"source\""), input.c_str());
            }
            const std::int32_t minWidth = std::max(width.minValue, 1), minHeight = std::max(height.minValue, 1);
            if (*w < minWidth || *w > width.maxValue) return outOfRange(std::to_string(*w), minWidth, width.maxValue);
            if (*h < minHeight || *h > height.maxValue)
                return outOfRange(std::to_string(*h), minHeight, height.maxValue);
            return {};
        },
        "");
}

// A scene change threshold: a decimal above 0 and below 1, to two places ("0.3", ".25").
std::optional<std::int32_t> parseThreshold(const std::string& text)
{
    const std::size_t point = text.find('.');
    if (point == std::string::npos || point > 1 || (point == 1 && text[0] != '0')) return std::nullopt;
    const std::string places = text.substr(point + 1);
    if (places.empty() || places.size() > 2) return std::nullopt;
    for (const char c : places)
        if (c < '0' || c > '9') return std::nullopt;
    const std::int32_t percent = std::stoi(places) * (places.size() == 1 ? 10 : 1);
    if (percent < 1) return std::nullopt;
    return percent;
}

// "K/N": share K of N, 1 <= K <= N.
CLI::Validator shardOfShards()
{
    return CLI::Validator(
        [](std::string& input) -> std::string {
            const std::size_t slash = input.find('/');
            const auto k =
                slash == std::string::npos ? std::nullopt : parseWhole(std::string_view(input).substr(0, slash));
            const auto n =
                slash == std::string::npos ? std::nullopt : parseWhole(std::string_view(input).substr(slash + 1));
            if (!k || !n || *n < 1 || *k < 1 || *k > *n)
                return format(tr("%s is not K/N with K from 1 to N"), input.c_str());
            return {};
        },
        "");
}

}  // namespace

std::optional<std::int32_t> parseDuration(std::string_view text)
{
    const SettingsKey& key = settingsKey(&TCutSettings::EverySeconds);
    std::int64_t seconds = 0;
    std::size_t i = 0;
    std::string units = "hms";  // each unit once, in this order
    while (i < text.size()) {
        std::int64_t number = 0;
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && number <= key.maxValue)
            number = number * 10 + (text[i++] - '0');
        if (i == start) return std::nullopt;
        std::int64_t unit = 1;
        if (i < text.size()) {
            const std::size_t at = units.find(text[i]);
            if (at == std::string::npos) return std::nullopt;
            unit = text[i] == 'h' ? 3600 : text[i] == 'm' ? 60 : 1;
            units.erase(0, at + 1);
            ++i;
        } else if (start > 0) {
            return std::nullopt;  // "1h30": the unit of the last number is not said
        }
        seconds += number * unit;
        if (seconds > key.maxValue) return std::nullopt;
    }
    if (seconds < key.minValue || seconds < 1) return std::nullopt;
    return static_cast<std::int32_t>(seconds);
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments, int defaultJobs)
{
    CliOptions options;
    options.jobs = defaultJobs;
    std::string sizeText;
    std::string fitText;
    std::int32_t jobs = defaultJobs;

    CLI::App app(tr("Cuts videos into numbered still images with ffmpeg, as the Kelmora window does."), "kelmora-cli");
    app.set_help_flag("-h,--help", tr("Show this help and exit"));
    app.set_version_flag("--version", std::string("kelmora-cli ") + KELMORA_VERSION, tr("Show the version and exit"));
    app.add_option("TARGET", options.targets,
                   tr("A video file, a folder (every file in and below it) or a wildcard pattern"))
        ->type_name("");
    app.add_option(
           "-o,--out", options.out,
           tr("Destination folder, made with its parents (default: the settings file's, else the current folder)"))
        ->type_name("DIR");
    auto* from = app.add_option("--from", options.fromSecond, tr("Cut a range: start at second S"))
                     ->type_name("S")
                     ->check(withinKey(&TCutSettings::StartSecond));
    auto* frames = app.add_option("--frames", options.frameCount, tr("Cut a range: N frames"))
                       ->type_name("N")
                       ->check(withinKey(&TCutSettings::FrameCount));
    auto* whole = app.add_flag("--whole-video", options.wholeVideo, tr("Cut the whole video (no range)"));
    auto* fps = app.add_option("--fps", options.framesPerSecond, tr("F images per second of video"))
                    ->type_name("F")
                    ->check(withinKey(&TCutSettings::FramesPerSecond));
    auto* every = app.add_flag("--every-frame", options.everyFrame, tr("One image for every frame (no --fps)"));
    auto* size = app.add_option("--size", sizeText,
                                tr("Image size WIDTHxHEIGHT; WIDTHx or xHEIGHT for one side, the other following "
                                   "the picture's shape; \"source\" for the video's own"))
                     ->type_name("WxH")
                     ->check(imageSize(true));
    std::vector<std::string> formatNames;
    std::string formatList;
    for (const ImageFormat& format : imageFormats()) {
        formatNames.push_back(format.name);
        formatList += (formatList.empty() ? "" : "|") + std::string(format.name);
    }
    app.add_option("--format", options.format, tr("Image format"))
        ->type_name(formatList)
        ->transform(oneOf(formatNames));
    // Pixels and quality
    auto* fit = app.add_option("--fit", fitText, tr("Fit the images within WIDTHxHEIGHT, keeping the picture's shape"))
                    ->type_name("WxH")
                    ->check(imageSize(false));
    fit->excludes(size);
    app.add_option("--quality", options.quality, tr("JPEG and WebP quality, 1 (smallest) to 100 (best)"))
        ->type_name("Q")
        ->check(wholeNumberIn(1, 100));
    app.add_flag("--lossless", options.lossless, tr("WebP images keep every pixel"));
    app.add_option("--png-level", options.pngLevel, tr("PNG compression, 0 (fastest) to 9 (smallest)"))
        ->type_name("N")
        ->check(wholeNumberIn(0, 9));

    app.add_option("-j,--jobs", jobs, tr("Runs at once (default: the number of processors)"))
        ->type_name("N")
        ->check(wholeNumberIn(1, kMaxJobs));
    app.add_option("--files-from", options.filesFrom,
                   tr("Read more targets from FILE, one a line (\"-\": standard input)"))
        ->type_name("FILE")
        ->allow_extra_args(false);  // one list a flag: what follows is a target
    app.add_flag("-0,--null", options.nulSeparated,
                 tr("The --files-from lists, and what --list prints, end each target with NUL, not a line break"));
    auto* settings = app.add_option("--settings", options.settingsFile, tr("Take the defaults from this Kelmora.ini"))
                         ->type_name("FILE");
    auto* noSettings =
        app.add_flag("--no-settings", options.noSettings, tr("Ignore every settings file: the built-in defaults"));
    app.add_flag("--dry-run", options.dryRun, tr("Print each ffmpeg command line and run nothing"));
    app.add_flag("--json", options.json,
                 tr("One JSON object a line on standard output for each finished run, then a summary"));
    app.add_flag("-q,--quiet", options.quiet, tr("No progress display and no line per run"));
    app.add_option("--ffmpeg", options.ffmpeg, tr("The ffmpeg to run (default: beside this program, then on PATH)"))
        ->type_name("PATH");
    // Picking frames and naming images.
    std::string scenesText;
    auto* scenes = app.add_flag("--scenes{0.3}", scenesText,
                                tr("One image at each scene change and the first frame; --scenes=T sets how "
                                   "different a frame must be, 0 < T < 1 (default 0.3)"));
    scenes->check(CLI::Validator(
        [](std::string& input) -> std::string {
            if (parseThreshold(input)) return {};
            return format(tr("%s is not a decimal between 0 and 1 (at most two places, as 0.3)"), input.c_str());
        },
        ""));
    auto* keyFrames =
        app.add_flag("--keyframes", options.keyFrames, tr("Key frames only (fast: nothing else is decoded)"));
    auto* noRepeats =
        app.add_flag("--no-repeats", options.noRepeats, tr("Leave out images nearly the same as the one before"));
    std::string everyText;
    auto* everyDuration =
        app.add_option("--every", everyText, tr("One image every DURATION (30s, 5m, 1h) from the start second"))
            ->type_name("DURATION");
    everyDuration->check(CLI::Validator(
        [](std::string& input) -> std::string {
            if (parseDuration(input)) return {};
            return format(tr("%s is not a duration such as 30s, 5m or 1h (at most 99h59m59s)"), input.c_str());
        },
        ""));
    app.add_option("--names", options.names,
                   tr("Name images by number (name_00001.jpg) or by their time in the "
                      "video (name_00-01-23.456.jpg)"))
        ->type_name("number|time")
        ->transform(oneOf({"number", "time"}));
    auto* json = app.get_option("--json");
    app.add_flag("--json-images", options.jsonImages,
                 tr("With --json, also one line for each image: its file and its time in the video"))
        ->needs(json);
    for (CLI::Option* pick : {scenes, keyFrames, everyDuration}) {
        pick->excludes(fps);
        pick->excludes(every);
        pick->excludes(noRepeats);
    }
    scenes->excludes(keyFrames);
    scenes->excludes(everyDuration);
    keyFrames->excludes(everyDuration);

    // Runs again and shares of the work.
    std::string shardText;
    app.add_option("--existing", options.existing,
                   tr("Where a video's images are there already: a new name beside them (rename, "
                      "the default), pass over a video cut whole before with the same options "
                      "(skip), or replace them (overwrite)"))
        ->type_name("rename|skip|overwrite")
        ->transform(oneOf({"rename", "skip", "overwrite"}));
    app.add_flag("--resume", options.resume,
                 tr("Go on after a batch cut short: pass over what was cut whole, remove the images of runs cut "
                    "short and cut those videos again"));
    app.add_option("--shard", shardText,
                   tr("Cut share K of N of the files (each falls in one share by a hash of its file name)"))
        ->type_name("K/N")
        ->check(shardOfShards());
    auto* list =
        app.add_flag("--list", options.list,
                     tr("Print the files that would be cut, one a line (-0: NUL after each), and cut nothing"));
    from->excludes(whole);
    frames->excludes(whole);
    fps->excludes(every);
    settings->excludes(noSettings);
    list->excludes("--dry-run");

    ParsedCommandLine parsed;
    // CLI11 takes the arguments last to first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        parsed.output = app.help();
        return parsed;
    } catch (const CLI::CallForVersion& version) {
        parsed.output = std::string(version.what()) + "\n";
        return parsed;
    } catch (const CLI::ParseError& error) {
        parsed.exitStatus = 2;
        parsed.error = std::string("kelmora-cli: ") + error.what() + "\n"
                       + format(tr("Try \"%s --help\" for more information."), "kelmora-cli") + "\n";
        return parsed;
    }
    if (sizeText == "source") {
        options.sourceSize = true;
    } else if (!sizeText.empty()) {
        const std::size_t x = sizeText.find('x');
        options.width = parseWhole(std::string_view(sizeText).substr(0, x));
        options.height = parseWhole(std::string_view(sizeText).substr(x + 1));
        options.sizeMode = !options.height ? smWidth : !options.width ? smHeight : smExact;
    }
    if (!fitText.empty()) {
        const std::size_t x = fitText.find('x');
        options.width = parseWhole(std::string_view(fitText).substr(0, x));
        options.height = parseWhole(std::string_view(fitText).substr(x + 1));
        options.sizeMode = smFit;
    }
    if (!scenesText.empty()) options.scenePercent = parseThreshold(scenesText);
    if (!everyText.empty()) options.everySeconds = parseDuration(everyText);
    if (!shardText.empty()) {
        const std::size_t slash = shardText.find('/');
        options.shard = static_cast<std::uint32_t>(*parseWhole(std::string_view(shardText).substr(0, slash)));
        options.shards = static_cast<std::uint32_t>(*parseWhole(std::string_view(shardText).substr(slash + 1)));
    }
    // Going on passes over what was cut whole: no other choice for the images there.
    if (options.resume && options.existing && *options.existing != "skip") {
        parsed.exitStatus = 2;
        parsed.error = std::string("kelmora-cli: ") + tr("--resume goes with --existing skip only") + "\n"
                       + format(tr("Try \"%s --help\" for more information."), "kelmora-cli") + "\n";
        return parsed;
    }
    options.jobs = jobs;
    parsed.options = std::move(options);
    return parsed;
}

}  // namespace kelmora::cli
