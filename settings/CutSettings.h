#pragma once
// Every cut option and the window position, one field per key of Kelmora.ini,
// and the one table of those keys: for each its section, name, kind, limits
// and default, in the order of the file. Reading and writing the file, the
// window's controls with their initial values and limits, and the terminal
// program's defaults all take the keys from this table.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelmora {

struct TCutSettings {
    // Every field at its key's default.
    TCutSettings();

    std::int32_t WindowLeft;
    std::int32_t WindowTop;
    bool RangeAll;
    bool RangeFromSecond;
    std::int32_t StartSecond;
    std::int32_t FrameCount;
    bool RateAll;
    bool RatePerSecond;
    std::int32_t FramesPerSecond;
    bool SizeSource;
    bool SizeCustom;
    std::int32_t ImageWidth;
    std::int32_t ImageHeight;
    std::string DestinationFolder;  // bytes of the system code page
    bool FormatJpeg;
    bool FormatGif;
    bool FormatPng;
    bool FormatBmp;

    // Picking frames and naming images (section DETAIL; see the kPick and kNames values below).
    std::int32_t PickMode;        // PICK: which frames become images
    std::int32_t SceneThreshold;  // SCENE: how different a frame is from the one before to count as a cut, in percent
    bool NoRepeats;               // NOREPEAT: drop images nearly the same as the one before
    std::int32_t EverySeconds;    // EVERY: the interval of kPickEvery, in seconds
    std::int32_t ImageNames;      // NAMES: numbered images or images named by their time in the video

    // Pixels and quality (section DETAIL): every default gives the cut as it was.
    std::int32_t ImageQuality;  // 1 (smallest) to 100 (best) for JPEG and lossy WebP; 0 the format's high default
    std::int32_t SizeMode;      // how a custom size applies (TSizeMode)
    bool FormatWebp;            // the fifth format, chosen beside the window's four
    bool WebpLossless;
    std::int32_t PngLevel;  // PNG compression 0 to 9; -1 the extractor's own

    // Re-runs ("DETAIL"): what a cut does where images of its video are there already.
    std::int32_t Existing;  // an ExistingImages value

    bool operator==(const TCutSettings&) const = default;
};

// The values of TCutSettings::PickMode: every frame or N a second (the
// interval group decides), one image at each scene change, key frames only,
// one image every EverySeconds seconds.
constexpr std::int32_t kPickPlain = 0;
constexpr std::int32_t kPickScenes = 1;
constexpr std::int32_t kPickKeyFrames = 2;
constexpr std::int32_t kPickEvery = 3;
// The values of TCutSettings::ImageNames: "name_00001.jpg", or "name_00-01-23.456.jpg".
constexpr std::int32_t kNamesNumbered = 0;
constexpr std::int32_t kNamesByTime = 1;
// How a custom size (SizeCustom) applies to a picture.
enum TSizeMode : std::int32_t {
    smExact = 0,   // width x height, whatever the picture's shape
    smFit = 1,     // within width x height, keeping the shape
    smWidth = 2,   // the width; the height follows the shape
    smHeight = 3,  // the height; the width follows the shape
};

// What a cut does where a video's images are there already (TCutSettings::Existing).
enum class ExistingImages : std::int32_t {
    Rename = 0,     // a new name beside them: "name (2)"
    Skip = 1,       // a video whose images of an earlier cut with the same options are all there is passed over
    Overwrite = 2,  // the images of the name are replaced
};

enum class SettingsKind { Integer, Boolean, Text };

// The radio groups of the options. Turning a choice on turns the other
// choices of its group off; turning one off touches nothing else.
enum class ChoiceGroup { None, Range, Interval, Size, Format };

using IntegerField = std::int32_t TCutSettings::*;
using ChoiceField = bool TCutSettings::*;
using TextField = std::string TCutSettings::*;

struct SettingsKey {
    const char* section;
    const char* name;
    SettingsKind kind;
    IntegerField integer = nullptr;  // set for SettingsKind::Integer
    ChoiceField choice = nullptr;    // set for SettingsKind::Boolean
    TextField text = nullptr;        // set for SettingsKind::Text
    std::int32_t minValue = 0;       // an integer's limits, as its field in the window takes them
    std::int32_t maxValue = 0;
    std::int32_t defaultValue = 0;  // an integer's default, or a boolean's as 0 or 1; a text starts empty
    ChoiceGroup group = ChoiceGroup::None;
};

// Every key, in the order of the file: "SET" with M_LEFT and M_TOP, then "SET1",
// then "DETAIL" (the choices the window keeps beyond its own controls).
std::span<const SettingsKey> settingsKeys();

// The key of a field.
const SettingsKey& settingsKey(IntegerField field);
const SettingsKey& settingsKey(ChoiceField field);
const SettingsKey& settingsKey(TextField field);

// The choices of a group, in the table's order.
std::vector<ChoiceField> choicesOf(ChoiceGroup group);

// Turns choice on and the other choices of its group off.
void turnOn(TCutSettings& settings, ChoiceField choice);

// Every integer within its key's limits, as the window's fields clamp a value set from outside.
TCutSettings clampedToLimits(TCutSettings settings);

}  // namespace kelmora
