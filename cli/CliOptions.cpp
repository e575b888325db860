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

// "WxH" within the width's and the height's limits, or "source". An image
// has at least one pixel each way: the extractor refuses a size of 0, so a
// 0 the field's limits let through is refused here like any other value out
// of range.
CLI::Validator imageSize()
{
    return CLI::Validator(
        [](std::string& input) -> std::string {
            if (input == "source") return {};
            const std::size_t x = input.find('x');
            const SettingsKey& width = settingsKey(&TCutSettings::ImageWidth);
            const SettingsKey& height = settingsKey(&TCutSettings::ImageHeight);
            const auto w = x == std::string::npos ? std::nullopt : parseWhole(std::string_view(input).substr(0, x));
            const auto h = x == std::string::npos ? std::nullopt : parseWhole(std::string_view(input).substr(x + 1));
            if (!w || !h) return format(tr("%s is not WIDTHxHEIGHT or \"source\""), input.c_str());
            const std::int32_t minWidth = std::max(width.minValue, 1), minHeight = std::max(height.minValue, 1);
            if (*w < minWidth || *w > width.maxValue) return outOfRange(std::to_string(*w), minWidth, width.maxValue);
            if (*h < minHeight || *h > height.maxValue)
                return outOfRange(std::to_string(*h), minHeight, height.maxValue);
            return {};
        },
        "");
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

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments, int defaultJobs)
{
    CliOptions options;
    options.jobs = defaultJobs;
    std::string sizeText;
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
    app.add_option("--size", sizeText, tr("Image size WIDTHxHEIGHT, or \"source\" for the video's own"))
        ->type_name("WxH")
        ->check(imageSize());
    std::vector<std::string> formatNames;
    std::string formatList;
    for (const ImageFormat& format : imageFormats()) {
        formatNames.push_back(format.name);
        formatList += (formatList.empty() ? "" : "|") + std::string(format.name);
    }
    app.add_option("--format", options.format, tr("Image format"))
        ->type_name(formatList)
        ->transform(oneOf(formatNames));
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
    }
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
