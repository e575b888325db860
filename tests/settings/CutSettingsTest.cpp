// The key table: one place for every key's name, limits, default and group.
#include <gtest/gtest.h>

#include <set>

#include "settings/CutSettings.h"

namespace kelmora {
namespace {

TEST(CutSettings, EveryFieldHasExactlyOneKeyAndTheKeysAreUnique)
{
    std::set<std::string> names;
    int integers = 0, choices = 0, texts = 0;
    for (const SettingsKey& key : settingsKeys()) {
        SCOPED_TRACE(key.name);
        EXPECT_TRUE(names.insert(std::string(key.section) + "/" + key.name).second);
        EXPECT_EQ((key.integer ? 1 : 0) + (key.choice ? 1 : 0) + (key.text ? 1 : 0), 1);
        integers += key.integer ? 1 : 0;
        choices += key.choice ? 1 : 0;
        texts += key.text ? 1 : 0;
        if (key.integer) {
            EXPECT_EQ(&settingsKey(key.integer), &key);
            EXPECT_LE(key.minValue, key.defaultValue);
            EXPECT_LE(key.defaultValue, key.maxValue);
        }
        if (key.choice) {
            EXPECT_EQ(&settingsKey(key.choice), &key);
        }
        if (key.text) {
            EXPECT_EQ(&settingsKey(key.text), &key);
        }
    }
    EXPECT_EQ(integers, 15);
    EXPECT_EQ(choices, 13);
    EXPECT_EQ(texts, 1);
}

TEST(CutSettings, TheFieldsLimitsAreThoseOfTheWindowsFields)
{
    struct Row {
        const char* name;
        IntegerField field;
        std::int32_t minValue, maxValue, defaultValue;
    };
    const Row rows[] = {
        {"S1", &TCutSettings::StartSecond, 0, 99999, 0},  {"S2", &TCutSettings::FrameCount, 1, 99999, 1},
        {"S5", &TCutSettings::FramesPerSecond, 1, 60, 1}, {"S3", &TCutSettings::ImageWidth, 0, 9999, 320},
        {"S4", &TCutSettings::ImageHeight, 0, 9999, 240},
    };
    const TCutSettings defaults;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SettingsKey& key = settingsKey(row.field);
        EXPECT_STREQ(key.name, row.name);
        EXPECT_EQ(key.minValue, row.minValue);
        EXPECT_EQ(key.maxValue, row.maxValue);
        EXPECT_EQ(defaults.*row.field, row.defaultValue);
    }
}

TEST(CutSettings, TurningAChoiceOnTurnsTheOthersOfItsGroupOffOnly)
{
    struct Row {
        const char* name;
        ChoiceField choice;
        std::vector<ChoiceField> on;  // afterwards, of every choice
    };
    using T = TCutSettings;
    const Row rows[] = {
        {"range", &T::RangeFromSecond, {&T::RangeFromSecond, &T::RateAll, &T::SizeSource, &T::FormatJpeg}},
        {"interval", &T::RatePerSecond, {&T::RangeAll, &T::RatePerSecond, &T::SizeSource, &T::FormatJpeg}},
        {"size", &T::SizeCustom, {&T::RangeAll, &T::RateAll, &T::SizeCustom, &T::FormatJpeg}},
        {"format", &T::FormatPng, {&T::RangeAll, &T::RateAll, &T::SizeSource, &T::FormatPng}},
        {"the one already on", &T::FormatJpeg, {&T::RangeAll, &T::RateAll, &T::SizeSource, &T::FormatJpeg}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TCutSettings s;
        turnOn(s, row.choice);
        std::vector<ChoiceField> on;
        for (const SettingsKey& key : settingsKeys())
            if (key.choice && s.*key.choice) on.push_back(key.choice);
        EXPECT_EQ(on, row.on);
    }
    EXPECT_EQ(choicesOf(ChoiceGroup::Format).size(), 5u);  // WebP beside the window's four
    EXPECT_TRUE(choicesOf(ChoiceGroup::None).empty());
}

TEST(CutSettings, ValuesFromOutsideAreClampedToTheLimits)
{
    TCutSettings s;
    s.WindowLeft = -30000;  // the window may stand on any screen
    s.StartSecond = -1;
    s.FrameCount = 0;
    s.FramesPerSecond = 500;
    s.ImageWidth = 10000;
    s.ImageHeight = 9999;
    const TCutSettings clamped = clampedToLimits(s);
    EXPECT_EQ(clamped.WindowLeft, -30000);
    EXPECT_EQ(clamped.StartSecond, 0);
    EXPECT_EQ(clamped.FrameCount, 1);
    EXPECT_EQ(clamped.FramesPerSecond, 60);
    EXPECT_EQ(clamped.ImageWidth, 9999);
    EXPECT_EQ(clamped.ImageHeight, 9999);
}

}  // namespace
}  // namespace kelmora
