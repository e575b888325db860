// The command line: every option read as given, and every mistake refused
// with exit status 2 and a message that names the option and its limits.
#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace kelmora::cli {
namespace {

TEST(CliOptions, EveryOptionIsRead)
{
    const ParsedCommandLine parsed = parseCommandLine(
        {"-o", "/out", "--from", "5", "--frames", "30", "--size", "640x480", "--format", "png", "-j", "3",
         "--files-from", "list.txt", "--files-from", "-", "-0", "--settings", "/s/Kelmora.ini", "--dry-run", "--json",
         "-q", "--ffmpeg", "/opt/ffmpeg", "a.mp4", "b c.mp4", "--", "-x.mp4"},
        2);
    ASSERT_TRUE(parsed.options) << parsed.error;
    const CliOptions& o = *parsed.options;
    EXPECT_EQ(o.targets, (std::vector<std::string>{"a.mp4", "b c.mp4", "-x.mp4"}));
    EXPECT_EQ(o.out, "/out");
    EXPECT_EQ(o.fromSecond, 5);
    EXPECT_EQ(o.frameCount, 30);
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.format, "png");
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(o.filesFrom, (std::vector<std::string>{"list.txt", "-"}));
    EXPECT_TRUE(o.nulSeparated);
    EXPECT_EQ(o.settingsFile, "/s/Kelmora.ini");
    EXPECT_TRUE(o.dryRun && o.json && o.quiet);
    EXPECT_EQ(o.ffmpeg, "/opt/ffmpeg");
}

TEST(CliOptions, ChoicesBackToTheirDefaults)
{
    const ParsedCommandLine parsed =
        parseCommandLine({"--whole-video", "--every-frame", "--size", "source", "--no-settings", "--fps", "1", "v"}, 4);
    EXPECT_FALSE(parsed.options) << "--fps and --every-frame exclude each other";
    const ParsedCommandLine ok = parseCommandLine({"--whole-video", "--every-frame", "--size", "source", "--no-settings", "v"}, 4);
    ASSERT_TRUE(ok.options) << ok.error;
    EXPECT_TRUE(ok.options->wholeVideo && ok.options->everyFrame && ok.options->sourceSize && ok.options->noSettings);
    EXPECT_FALSE(ok.options->width);
    EXPECT_EQ(ok.options->jobs, 4) << "the default number of runs";
    EXPECT_FALSE(ok.options->out);
}

TEST(CliOptions, ValuesOutOfTheWindowsLimitsAreRefusedNotClamped)
{
    struct Row {
        std::vector<std::string> arguments;
        std::string message;  // part of the error
    };
    const Row rows[] = {
        {{"--from", "-1"}, "--from: -1 is not a whole number from 0 to 99999"},
        {{"--from", "100000"}, "--from: 100000 is not a whole number from 0 to 99999"},
        {{"--frames", "0"}, "--frames: 0 is not a whole number from 1 to 99999"},
        {{"--fps", "61"}, "--fps: 61 is not a whole number from 1 to 60"},
        {{"--fps", "2.5"}, "--fps: 2.5 is not a whole number from 1 to 60"},
        {{"--size", "10000x10"}, "--size: 10000 is not a whole number from 0 to 9999"},
        {{"--size", "10x-1"}, "--size: -1 is not a whole number from 0 to 9999"},
        {{"--size", "640"}, "--size: 640 is not WIDTHxHEIGHT"},
        {{"-j", "0"}, "--jobs: 0 is not a whole number from 1 to 128"},
        {{"-j", "129"}, "--jobs: 129 is not a whole number from 1 to 128"},
        {{"--format", "tiff"}, "--format: tiff is not one of jpeg|gif|png|bmp"},
        {{"--settings", "a", "--no-settings"}, "excludes"},
        {{"--from", "1", "--whole-video"}, "excludes"},
        {{"--bogus"}, "--bogus"},
        {{"-x.mp4"}, "-x.mp4"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> arguments = row.arguments;
        arguments.push_back("v.mp4");
        SCOPED_TRACE(row.message);
        const ParsedCommandLine parsed = parseCommandLine(arguments, 1);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.exitStatus, 2);
        EXPECT_NE(parsed.error.find(row.message), std::string::npos) << parsed.error;
        EXPECT_NE(parsed.error.find("--help"), std::string::npos) << "says where to find help";
    }
}

TEST(CliOptions, HelpAndVersionEndTheProgramWell)
{
    for (const char* flag : {"--help", "-h", "--version"}) {
        SCOPED_TRACE(flag);
        const ParsedCommandLine parsed = parseCommandLine({flag}, 1);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.exitStatus, 0);
        EXPECT_TRUE(parsed.error.empty());
        EXPECT_NE(parsed.output.find("kelmora-cli"), std::string::npos);
    }
    const std::string help = parseCommandLine({"--help"}, 1).output;
    for (const char* option : {"--out", "--from", "--frames", "--fps", "--size", "--format", "--jobs", "--files-from",
                               "--settings", "--no-settings", "--dry-run", "--json", "--quiet", "--ffmpeg"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace kelmora::cli
