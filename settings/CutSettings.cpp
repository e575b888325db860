#include "settings/CutSettings.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace kelmora {

namespace {

using T = TCutSettings;
using K = SettingsKind;
using G = ChoiceGroup;

constexpr std::int32_t kScreenMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kScreenMax = std::numeric_limits<std::int32_t>::max();

constexpr SettingsKey integer(const char* section, const char* name, IntegerField field, std::int32_t minValue,
                              std::int32_t maxValue, std::int32_t defaultValue)
{
    return {section, name, K::Integer, field, nullptr, nullptr, minValue, maxValue, defaultValue, G::None};
}

constexpr SettingsKey choice(const char* name, ChoiceField field, G group, bool defaultValue)
{
    return {"SET1", name, K::Boolean, nullptr, field, nullptr, 0, 1, defaultValue ? 1 : 0, group};
}

constexpr SettingsKey detailChoice(const char* name, ChoiceField field, G group)
{
    return {"DETAIL", name, K::Boolean, nullptr, field, nullptr, 0, 1, 0, group};
}

constexpr SettingsKey text(const char* name, TextField field)
{
    return {"SET1", name, K::Text, nullptr, nullptr, field, 0, 0, 0, G::None};
}

// The keys in the order of the file. The window position has no limits: the
// window may stand on any screen.
constexpr SettingsKey kKeys[] = {
    integer("SET", "M_LEFT", &T::WindowLeft, kScreenMin, kScreenMax, 20),
    integer("SET", "M_TOP", &T::WindowTop, kScreenMin, kScreenMax, 20),
    choice("R1", &T::RangeAll, G::Range, true),
    choice("R2", &T::RangeFromSecond, G::Range, false),
    integer("SET1", "S1", &T::StartSecond, 0, 99999, 0),
    integer("SET1", "S2", &T::FrameCount, 1, 99999, 1),
    choice("R9", &T::RateAll, G::Interval, true),
    choice("R10", &T::RatePerSecond, G::Interval, false),
    integer("SET1", "S5", &T::FramesPerSecond, 1, 60, 1),
    choice("R3", &T::SizeSource, G::Size, true),
    choice("R4", &T::SizeCustom, G::Size, false),
    integer("SET1", "S3", &T::ImageWidth, 0, 9999, 320),
    integer("SET1", "S4", &T::ImageHeight, 0, 9999, 240),
    text("B1", &T::DestinationFolder),
    choice("R5", &T::FormatJpeg, G::Format, true),
    choice("R6", &T::FormatGif, G::Format, false),
    choice("R7", &T::FormatPng, G::Format, false),
    choice("R8", &T::FormatBmp, G::Format, false),
    // Picking frames and naming images: a file without the section cuts as before.
    integer("DETAIL", "PICK", &T::PickMode, kPickPlain, kPickEvery, kPickPlain),
    integer("DETAIL", "SCENE", &T::SceneThreshold, 1, 99, 30),
    detailChoice("NOREPEAT", &T::NoRepeats, G::None),
    integer("DETAIL", "EVERY", &T::EverySeconds, 1, 359999, 60),
    integer("DETAIL", "NAMES", &T::ImageNames, kNamesNumbered, kNamesByTime, kNamesNumbered),
    // Pixels and quality.
    integer("DETAIL", "QUALITY", &T::ImageQuality, 0, 100, 0),
    integer("DETAIL", "SIZEMODE", &T::SizeMode, smExact, smHeight, smExact),
    detailChoice("WEBP", &T::FormatWebp, G::Format),
    detailChoice("WEBPLOSSLESS", &T::WebpLossless, G::None),
    integer("DETAIL", "PNGLEVEL", &T::PngLevel, -1, 9, -1),
    // Re-runs: an ExistingImages value.
    integer("DETAIL", "EXISTING", &T::Existing, 0, 2, 0),
};

template <typename Field>
const SettingsKey& keyOf(Field field, Field SettingsKey::*member)
{
    for (const SettingsKey& key : kKeys)
        if (key.*member == field) return key;
    throw std::logic_error("a settings field without a key");
}

}  // namespace

TCutSettings::TCutSettings()
{
    for (const SettingsKey& key : kKeys) {
        if (key.integer) this->*key.integer = key.defaultValue;
        if (key.choice) this->*key.choice = key.defaultValue != 0;
        if (key.text) (this->*key.text).clear();
    }
}

std::span<const SettingsKey> settingsKeys() { return kKeys; }

const SettingsKey& settingsKey(IntegerField field) { return keyOf(field, &SettingsKey::integer); }
const SettingsKey& settingsKey(ChoiceField field) { return keyOf(field, &SettingsKey::choice); }
const SettingsKey& settingsKey(TextField field) { return keyOf(field, &SettingsKey::text); }

std::vector<ChoiceField> choicesOf(ChoiceGroup group)
{
    std::vector<ChoiceField> choices;
    for (const SettingsKey& key : kKeys)
        if (key.choice && key.group == group && group != ChoiceGroup::None) choices.push_back(key.choice);
    return choices;
}

void turnOn(TCutSettings& settings, ChoiceField choice)
{
    for (const ChoiceField other : choicesOf(settingsKey(choice).group)) settings.*other = false;
    settings.*choice = true;
}

TCutSettings clampedToLimits(TCutSettings settings)
{
    for (const SettingsKey& key : kKeys)
        if (key.integer) settings.*key.integer = std::clamp(settings.*key.integer, key.minValue, key.maxValue);
    return settings;
}

}  // namespace kelmora
