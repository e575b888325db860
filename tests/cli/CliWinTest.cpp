// kelmora-cli.exe end to end under Windows with the stand-in extractor
// (ffmpeg.exe), which logs the command-line text it was started with and the
// arguments its C runtime split from it: that text is the one the command
// builder renders, and hostile names come through it intact.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "cut/CutCommand.h"
#include "platform/OutputPipe.h"
#include "platform/Process.h"
#include "platform/System.h"
#include "tests/support/Environment.h"
#include "tests/support/FakeExtractorLog.h"
#include "tests/support/TempFolder.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

const std::string kFakeExtractor = std::string(KELMORA_FAKE_EXTRACTOR_DIR) + "/ffmpeg.exe";

struct CliResult {
    int status = -1;
    std::string out;
};

// Runs kelmora-cli.exe to its end, its standard output read through a pipe.
CliResult runCli(const std::vector<std::string>& arguments)
{
    std::optional<platform::OutputPipe> pipe = platform::OutputPipe::create();
    if (!pipe) return {};
    platform::StartOptions options;
    options.standardOutput = pipe->writingEnd();
    std::optional<platform::ChildProcess> child = platform::ChildProcess::startHidden(KELMORA_CLI, arguments, options);
    pipe->closeWritingEnd();
    if (!child) return {};
    CliResult result;
    while (pipe->readAvailable(result.out)) {
        const platform::WaitHandle ready[] = {pipe->readyHandle()};
        platform::waitForAny(ready, -1);
    }
    child->waitFor(-1);
    result.status = child->exitStatus();
    return result;
}

class CliWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        setEnvironment("KELMORA_FAKE_LOG", log);
        setEnvironment("KELMORA_FAKE_COMMAND_LOG", commandLog);
    }
    void TearDown() override
    {
        for (const char* name :
             {"KELMORA_FAKE_LOG", "KELMORA_FAKE_COMMAND_LOG", "KELMORA_FAKE_EXIT", "KELMORA_FAKE_FRAMES"})
            setEnvironment(name, "");
    }
    CliResult cli(const std::vector<std::string>& targets)
    {
        fs::remove(log);
        fs::remove(commandLog);
        fs::remove_all(out);
        std::vector<std::string> arguments = {"--no-settings", "-j", "1", "--json", "--ffmpeg",
                                              kFakeExtractor,  "-o", out, "--"};
        arguments.insert(arguments.end(), targets.begin(), targets.end());
        return runCli(arguments);
    }
    // Each run's command-line text, by the input the extractor was given.
    std::map<std::string, std::string> commandLinesByInput() const
    {
        const std::vector<FakeExtractorRun> runs = readFakeExtractorLog(log);
        const std::vector<FakeExtractorRun> lines = readFakeExtractorLog(commandLog);
        std::map<std::string, std::string> byInput;
        for (std::size_t i = 0; i < runs.size() && i < lines.size(); ++i) byInput[runs[i].at(1)] = lines[i].at(0);
        return byInput;
    }

    TempFolder dir;
    const std::string log = dir / "runs.log";
    const std::string commandLog = dir / "lines.log";
    const std::string out = dir / "out";
};

TEST_F(CliWindows, TheExtractorGetsTheBuildersCommandLineAndHostileNamesIntact)
{
    // "表示 ソ" in the Japanese code page: both kanji's second bytes are "\".
    const std::vector<std::string> names = {"a b.avi", "50%off.avi", "-lead.avi", "\x95\x5C\x8E\xA6 \x83\x5C.avi",
                                            "q'uote $(x).avi"};
    // Made by the system's own calls: std::filesystem would take the "\" in a
    // kanji for a separator.
    fs::create_directory(dir / "hostile");
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        paths.push_back(dir / "hostile" + "\\" + name);
        std::ofstream(paths.back(), std::ios::binary) << "x";
    }
    const std::tuple<const char*, std::vector<std::string>> rows[] = {
        {"each name", paths},
        {"their folder", {dir / "hostile"}},
    };
    TCutSettings settings;
    settings.DestinationFolder = out;
    for (const auto& [row, targets] : rows) {
        SCOPED_TRACE(row);
        const CliResult result = cli(targets);
        EXPECT_EQ(result.status, 0) << result.out;
        const std::map<std::string, std::string> lines = commandLinesByInput();
        EXPECT_EQ(lines.size(), names.size());
        for (const std::string& path : paths) {
            SCOPED_TRACE(path);
            const CutCommand expected = BuildCutCommandLine(path, settings, platform::PathStyle::Windows);
            ASSERT_EQ(lines.count(path), 1u);
            EXPECT_EQ(lines.at(path), expected.command.commandLine);
        }
        for (const FakeExtractorRun& run : readFakeExtractorLog(log)) {
            const CutCommand expected = BuildCutCommandLine(run.at(1), settings, platform::PathStyle::Windows);
            EXPECT_EQ(run, expected.command.arguments) << "the runtime splits the text back into the builder's list";
        }
        EXPECT_TRUE(platform::fileExists(out + "\\50%off_00001.jpg"));
        EXPECT_TRUE(platform::fileExists(out + "\\\x95\x5C\x8E\xA6 \x83\x5C_00003.jpg"));
    }
}

TEST_F(CliWindows, TheExitStatusSaysWhetherEveryVideoGaveImages)
{
    const std::string clip = dir.write("videos/clip.mp4", "x");
    const std::string other = dir.write("videos/other.mp4", "x");
    const std::tuple<const char*, std::vector<std::string>, const char*, const char*, int, std::size_t> rows[] = {
        {"all cut", {clip, other}, "KELMORA_FAKE_EXIT", "", 0, 2},
        {"the extractor fails", {clip, other}, "KELMORA_FAKE_EXIT", "1", 1, 2},
        {"no image written", {clip}, "KELMORA_FAKE_FRAMES", "0", 1, 1},
        {"a target that names nothing", {clip, dir / "videos/gone.mp4"}, "KELMORA_FAKE_EXIT", "", 1, 1},
    };
    for (const auto& [row, targets, variable, value, status, runs] : rows) {
        SCOPED_TRACE(row);
        setEnvironment(variable, value);
        const CliResult result = cli(targets);
        setEnvironment(variable, "");
        EXPECT_EQ(result.status, status) << result.out;
        EXPECT_EQ(readFakeExtractorLog(log).size(), runs);
        const std::string summary = "\"total\":" + std::to_string(targets.size());
        EXPECT_NE(result.out.find(summary), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("\"exit_status\":" + std::to_string(status)), std::string::npos) << result.out;
    }
}

}  // namespace
}  // namespace kelmora::test
