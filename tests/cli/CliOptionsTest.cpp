// The command line's mistakes: refused with exit status 2 and a message that
// names the option and its limits (the window's fields' limits, never a clamp).
#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace kelmora::cli {
namespace {

TEST(CliOptions, ValuesOutOfTheWindowsLimitsAreRefused)
{
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"--from", "-1"}, "--from: -1 is not a whole number from 0 to 99999"},
        {{"--from", "100000"}, "--from: 100000 is not a whole number from 0 to 99999"},
        {{"--frames", "0"}, "--frames: 0 is not a whole number from 1 to 99999"},
        {{"--fps", "61"}, "--fps: 61 is not a whole number from 1 to 60"},
        {{"--fps", "2.5"}, "--fps: 2.5 is not a whole number from 1 to 60"},
        {{"--size", "10000x10"}, "--size: 10000 is not a whole number from 1 to 9999"},
        {{"--size", "0x100"}, "--size: 0 is not a whole number from 1 to 9999"},
        {{"--size", "5x0"}, "--size: 0 is not a whole number from 1 to 9999"},
        {{"--size", "640"}, "--size: 640 is not WIDTHxHEIGHT"},
        {{"-j", "0"}, "--jobs: 0 is not a whole number from 1 to 128"},
        {{"--format", "tiff"}, "--format: tiff is not one of jpeg|gif|png|bmp|webp"},
        {{"--size", "x"}, "--size: x is not WIDTHxHEIGHT, WIDTHx, xHEIGHT"},
        {{"--size", "x0"}, "--size: 0 is not a whole number from 1 to 9999"},
        {{"--fit", "640x"}, "--fit: 640x is not WIDTHxHEIGHT"},
        {{"--fit", "64x48", "--size", "64x48"}, "excludes"},
        {{"--quality", "0"}, "--quality: 0 is not a whole number from 1 to 100"},
        {{"--png-level", "10"}, "--png-level: 10 is not a whole number from 0 to 9"},
        {{"--settings", "a", "--no-settings"}, "excludes"},
        {{"--from", "1", "--whole-video"}, "excludes"},
        {{"-x.mp4"}, "-x.mp4"},
        {{"--existing", "keep"}, "--existing: keep is not one of rename|skip|overwrite"},
        {{"--resume", "--existing", "overwrite"}, "--resume goes with --existing skip only"},
        {{"--shard", "0/4"}, "--shard: 0/4 is not K/N with K from 1 to N"},
        {{"--shard", "5/4"}, "--shard: 5/4 is not K/N with K from 1 to N"},
        {{"--shard", "1/0"}, "--shard: 1/0 is not K/N"},
        {{"--shard", "2"}, "--shard: 2 is not K/N"},
        {{"--list", "--dry-run"}, "excludes"},
    };
    for (const auto& [arguments, message] : rows) {
        SCOPED_TRACE(message);
        std::vector<std::string> withTarget = arguments;
        withTarget.push_back("v.mp4");
        const ParsedCommandLine parsed = parseCommandLine(withTarget, 1);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.exitStatus, 2);
        EXPECT_NE(parsed.error.find(message), std::string::npos) << parsed.error;
        EXPECT_NE(parsed.error.find("--help"), std::string::npos) << "says where help is";
    }
}

TEST(CliOptions, EachListTakesOneValueAndTheRestAreTargets)
{
    const ParsedCommandLine parsed =
        parseCommandLine({"--files-from", "-", "a.mp4", "--files-from", "l", "--", "-b"}, 3);
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->filesFrom, (std::vector<std::string>{"-", "l"}));
    EXPECT_EQ(parsed.options->targets, (std::vector<std::string>{"a.mp4", "-b"}));
    EXPECT_EQ(parsed.options->jobs, 3) << "the default number of runs";
    EXPECT_EQ(parseCommandLine({"--help"}, 1).exitStatus, 0);
    EXPECT_EQ(parseCommandLine({"--format", "JPEG", "v.mp4"}, 1).options->format, "jpeg") << "a format in any case";
}

TEST(CliOptions, PickingChoicesTheirValuesAndWhatTheyRefuse)
{
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--scenes", "--fps", "2"}, "excludes"},
        {{"--scenes", "--keyframes"}, "excludes"},
        {{"--every", "1m", "--every-frame"}, "excludes"},
        {{"--keyframes", "--no-repeats"}, "excludes"},
        {{"--json-images"}, "requires --json"},
        {{"--scenes=1.5"}, "1.5 is not a decimal between 0 and 1"},
        {{"--scenes=0.001"}, "0.001 is not a decimal between 0 and 1"},
        {{"--every", "0s"}, "0s is not a duration"},
        {{"--names", "date"}, "date is not one of number|time"},
    };
    for (const auto& [arguments, message] : refused) {
        SCOPED_TRACE(arguments.front());
        std::vector<std::string> withTarget = arguments;
        withTarget.push_back("v.mp4");
        const ParsedCommandLine parsed = parseCommandLine(withTarget, 1);
        EXPECT_EQ(parsed.exitStatus, 2);
        EXPECT_NE(parsed.error.find(message), std::string::npos) << parsed.error;
    }
    // --scenes alone is 30 %, and takes no target as its value.
    const ParsedCommandLine scenes = parseCommandLine({"--scenes", "v.mp4"}, 1);
    ASSERT_TRUE(scenes.options) << scenes.error;
    EXPECT_EQ(scenes.options->scenePercent, 30);
    EXPECT_EQ(scenes.options->targets, std::vector<std::string>{"v.mp4"});
    EXPECT_EQ(parseCommandLine({"--scenes=.25", "v.mp4"}, 1).options->scenePercent, 25);
    EXPECT_EQ(parseCommandLine({"--every", "5m", "--names", "TIME", "v.mp4"}, 1).options->names, "time");
}

TEST(CliOptions, Durations)
{
    const std::pair<const char*, std::optional<std::int32_t>> rows[] = {
        {"30s", 30},
        {"5m", 300},
        {"1h", 3600},
        {"1h30m", 5400},
        {"90", 90},
        {"99h59m59s", 359999},
        {"100h", std::nullopt},
        {"1m1h", std::nullopt},
        {"1h30", std::nullopt},
        {"", std::nullopt},
        {"0", std::nullopt},
        {"5x", std::nullopt},
        {"m", std::nullopt},
    };
    for (const auto& [text, seconds] : rows) EXPECT_EQ(parseDuration(text), seconds) << text;
}

TEST(CliOptions, RunsAgainAndSharesOfTheWork)
{
    const ParsedCommandLine parsed = parseCommandLine({"--shard", "3/8", "--resume", "--list", "-0", "v"}, 1);
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->shard, 3u);
    EXPECT_EQ(parsed.options->shards, 8u);
    EXPECT_TRUE(parsed.options->resume);
    EXPECT_TRUE(parsed.options->list);
    EXPECT_TRUE(parsed.options->nulSeparated);
    EXPECT_EQ(parseCommandLine({"--existing", "Skip", "v"}, 1).options->existing, "skip");
    EXPECT_TRUE(parseCommandLine({"--resume", "--existing", "skip", "v"}, 1).options);
    EXPECT_EQ(parseCommandLine({"v"}, 1).options->shards, 1u) << "the whole list by default";
}

}  // namespace
}  // namespace kelmora::cli
