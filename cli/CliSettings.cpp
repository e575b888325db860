#include "cli/CliSettings.h"

#include "cli/Messages.h"
#include "cut/CutSession.h"
#include "platform/Paths.h"
#include "platform/System.h"
#include "settings/ImageFormats.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"

namespace kelmora::cli {

namespace p = platform;

namespace {

// Reads the settings file (none when path is empty) over the system-wide
// defaults as the window does on start: the values clamped to the fields'
// limits, and the range and interval rules run in the window's order, so a
// file with both on keeps the interval.
TCutSettings readWindowSettings(const std::string& path, const std::vector<std::string>& defaultsFiles,
                                std::vector<std::string>& warnings)
{
    const SettingsFile file(path);
    // A file far beyond any real one is not read at all (its size says it is no settings file).
    if (file.state() == p::ProfileState::TooLarge)
        warnings.push_back(
            format(tr("%s: larger than any settings file, not read: the defaults are used"), path.c_str()));
    TCutSettings settings = clampedToLimits(readCutSettings(file, defaultsFiles, TCutSettings()));
    const std::string& source = path.empty() ? defaultsFiles.front() : path;
    for (const RuleNotice notice : applyOptionRules(settings))
        warnings.push_back(source + ": " + ruleNoticeText(notice));
    return settings;
}

// The folder the destination text stands for, as a full path: a relative one
// (and an empty one, the current folder) taken against the current folder.
std::string destinationFrom(const std::string& fieldText)
{
    const std::string folder = destinationFolder(fieldText);
    return p::removeTrailingSeparator(p::expandFileName(folder.empty() ? "." : folder));
}

// The picking and naming flags. An interval flag (--fps, --every-frame) or
// --no-repeats picks plainly again, whatever the settings file chose.
void applyPickOptions(const CliOptions& options, TCutSettings& s)
{
    if (options.framesPerSecond || options.everyFrame || options.noRepeats) s.PickMode = kPickPlain;
    if (options.noRepeats) s.NoRepeats = true;
    if (options.scenePercent) {
        s.PickMode = kPickScenes;
        s.SceneThreshold = *options.scenePercent;
    }
    if (options.keyFrames) s.PickMode = kPickKeyFrames;
    if (options.everySeconds) {
        s.PickMode = kPickEvery;
        s.EverySeconds = *options.everySeconds;
    }
    if (options.names) s.ImageNames = *options.names == "time" ? kNamesByTime : kNamesNumbered;
}

}  // namespace

std::string ruleNoticeText(RuleNotice notice)
{
    switch (notice) {
    case RuleNotice::RangeKeepsEveryFrame:
        return tr("With a range of frames, every frame of it is cut: the number of images a second does not apply.");
    case RuleNotice::IntervalCutsWhole:
        return tr("With a number of images a second, the whole video is cut: the range does not apply.");
    case RuleNotice::None: break;
    }
    return {};
}

CliSettings assembleSettings(const CliOptions& options, const std::string& programFolder)
{
    CliSettings result;
    TCutSettings& s = result.settings;
    std::vector<std::string> defaultsFiles;  // the window's system-wide defaults; not under --settings
    if (options.settingsFile) {
        // Only a regular file is read: a FIFO would hold the run until something writes into it.
        const char* path = options.settingsFile->c_str();
        switch (p::entryKind(*options.settingsFile)) {
        case p::EntryKind::RegularFile: break;
        case p::EntryKind::Missing: result.error = format(tr("%s: no such settings file"), path); return result;
        case p::EntryKind::Folder:
            result.error = format(tr("%s: is a folder, not a settings file"), path);
            return result;
        case p::EntryKind::Other:
            result.error = format(tr("%s: is not a regular file (a FIFO or a device is not read as settings)"), path);
            return result;
        }
        result.settingsFile = *options.settingsFile;
    } else if (!options.noSettings) {
        // The window's own choice of its file, so both programs of one build
        // or one install read the same one.
        const std::string path = settingsFilePath(programFolder);
        if (p::entryKind(path) == p::EntryKind::RegularFile) result.settingsFile = path;
        defaultsFiles = settingsDefaultsFiles(programFolder);
    }
    if (!result.settingsFile.empty() || !defaultsFiles.empty())
        s = readWindowSettings(result.settingsFile, defaultsFiles, result.warnings);

    // The flags, each as a click on its choice and a value typed into its field.
    const bool rangeFlag = options.fromSecond || options.frameCount;
    if (rangeFlag) turnOn(s, &TCutSettings::RangeFromSecond);
    if (options.fromSecond) s.StartSecond = *options.fromSecond;
    if (options.frameCount) s.FrameCount = *options.frameCount;
    if (options.wholeVideo) turnOn(s, &TCutSettings::RangeAll);
    if (options.framesPerSecond) {
        turnOn(s, &TCutSettings::RatePerSecond);
        s.FramesPerSecond = *options.framesPerSecond;
    }
    if (options.everyFrame) turnOn(s, &TCutSettings::RateAll);
    if (options.width && options.height) {
        turnOn(s, &TCutSettings::SizeCustom);
        s.ImageWidth = *options.width;
        s.ImageHeight = *options.height;
    }
    if (options.sourceSize) turnOn(s, &TCutSettings::SizeSource);
    applyPickOptions(options, s);
    if (options.format)
        if (const ImageFormat* format = imageFormatNamed(*options.format)) turnOn(s, format->choice);

    // Pixels and quality: one side alone keeps the other side's value for the settings file.
    if (options.sizeMode) {
        turnOn(s, &TCutSettings::SizeCustom);
        s.SizeMode = *options.sizeMode;
        if (options.width) s.ImageWidth = *options.width;
        if (options.height) s.ImageHeight = *options.height;
    }
    if (options.quality) s.ImageQuality = *options.quality;
    if (options.lossless) s.WebpLossless = true;
    if (options.pngLevel) s.PngLevel = *options.pngLevel;

    // A range and a per-second interval never go together. Asked for both at
    // once, the run is refused with the window's notice; when one of them
    // comes from the settings file, the flag is the choice made last and the
    // file's goes back to every frame, as in the window.
    if (rangeFlag && options.framesPerSecond) {
        result.error = ruleNoticeText(RuleNotice::IntervalCutsWhole);
        return result;
    }
    if (const RuleNotice notice = applyGroupRule(s, rangeFlag ? ChoiceGroup::Range : ChoiceGroup::Interval);
        notice != RuleNotice::None)
        result.warnings.push_back(ruleNoticeText(notice));

    // Going on passes over what was cut whole, as skip does.
    if (options.existing == "skip" || options.resume) s.Existing = static_cast<std::int32_t>(ExistingImages::Skip);
    else if (options.existing == "overwrite") s.Existing = static_cast<std::int32_t>(ExistingImages::Overwrite);
    else if (options.existing == "rename") s.Existing = static_cast<std::int32_t>(ExistingImages::Rename);

    s.DestinationFolder = destinationFrom(options.out.value_or(s.DestinationFolder));
    return result;
}

}  // namespace kelmora::cli
