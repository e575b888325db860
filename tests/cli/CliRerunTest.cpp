// kelmora-cli run again over the same videos and spread over many runs: a
// batch killed halfway and resumed, shares of the list, and the GNU parallel
// recipe of the README run for real with local "hosts".
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cut/Manifest.h"
#include "platform/Process.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempFolder.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

// Every file of a folder below it, by name, with its bytes; the manifest left out.
std::map<std::string, std::string> filesIn(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != kManifestName)
            files[entry.path().filename().string()] = TempFolder::read(entry.path().string());
    return files;
}

class CliRerun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ffmpeg = platform::findProgram("ffmpeg", "");
        if (ffmpeg.empty()) GTEST_SKIP() << "ffmpeg is not installed";
        // Four clips of a second each, 160 x 120, each of its own pattern.
        const char* sources[] = {"testsrc", "testsrc2", "smptebars", "rgbtestsrc"};
        for (int i = 0; i < 4; ++i) {
            const std::string clip = dir / ("v/c" + std::to_string(i + 1) + ".mp4");
            fs::create_directories(dir / "v");
            const ProgramResult made = runProgram(
                ffmpeg, {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                         std::string(sources[i]) + "=size=160x120:rate=10", "-t", "1", "-pix_fmt", "yuv420p", clip});
            ASSERT_EQ(made.status, 0) << made.err;
        }
    }
    ProgramResult cli(const std::string& out, std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--no-settings", "-q", "-o", out});
        arguments.push_back(dir / "v");
        return runProgram(kCli, arguments, cliEnvironment(), dir.path());
    }

    TempFolder dir;
    std::string ffmpeg;
};

TEST_F(CliRerun, ABatchKilledHalfwayAndResumedGivesTheFilesOfOneWholeRun)
{
    const std::string whole = dir / "whole";
    ASSERT_EQ(cli(whole, {"-j", "1", "--resume"}).status, 0);
    ASSERT_EQ(filesIn(whole).size(), 40u);

    // The extractor of c2 writes its images, leaves its last half written and
    // tells the test its process group, then waits for ever: the test kills
    // the batch there, as a crash or a logout would.
    const std::string told = dir / "told", never = dir / "never";
    ASSERT_EQ(::mkfifo(told.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(never.c_str(), 0600), 0);
    const std::string wrapper = dir.write("ffmpeg-wrapper",
                                          "#!/bin/sh\n"
                                          "\"" + ffmpeg + "\" \"$@\" || exit\n"
                                          "for out; do :; done\n"
                                          "case \"$*\" in *c2.mp4*)\n"
                                          "  last=$(ls \"${out%/*}\"/c2_*.jpg | tail -n 1)\n"
                                          "  head -c 100 \"$last\" > \"$last.part\" && mv \"$last.part\" \"$last\"\n"
                                          "  echo $$ > \"" + told + "\"\n"
                                          "  read never < \"" + never + "\";;\n"
                                          "esac\n");
    fs::permissions(wrapper, fs::perms::owner_all);
    const std::string resumed = dir / "resumed";
    std::vector<std::string> arguments = {kCli,       "--no-settings", "-q", "-j",    "1",      "--resume",
                                          "--ffmpeg", wrapper,         "-o", resumed, dir / "v"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t batch = -1;
    ASSERT_EQ(::posix_spawn(&batch, kCli.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    std::string group;
    {
        const int in = ::open(told.c_str(), O_RDONLY);  // returns once the wrapper opens it to tell
        char buffer[32];
        ssize_t n;
        while ((n = ::read(in, buffer, sizeof buffer)) > 0) group.append(buffer, static_cast<std::size_t>(n));
        ::close(in);
    }
    ::kill(-std::stoi(group), SIGKILL);
    ::kill(batch, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(batch, &status, 0), batch);
    ASSERT_TRUE(WIFSIGNALED(status));
    // c1 whole, c2 cut short with a torn last image, c3 and c4 not begun.
    EXPECT_EQ(filesIn(resumed).size(), 20u);
    EXPECT_NE(filesIn(resumed), filesIn(whole));

    const ProgramResult again = cli(resumed, {"-j", "2", "--resume", "--json"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(filesIn(resumed), filesIn(whole));  // the same names, byte for byte: c2 cut again whole
    EXPECT_NE(again.out.find("\"reason\":\"already_cut\""), std::string::npos) << "c1 passed over";
    // And once more: nothing left to do.
    EXPECT_EQ(cli(resumed, {"--resume", "--list"}).out, "");
}

TEST_F(CliRerun, SharesTogetherListEveryFileOnce)
{
    const std::string out = dir / "out";
    const std::string all = cli(out, {"--list"}).out;
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 4);
    std::vector<std::string> lines;
    for (int k = 1; k <= 3; ++k) {
        const ProgramResult share = cli(out, {"--list", "-0", "--shard", std::to_string(k) + "/3"});
        ASSERT_EQ(share.status, 0) << share.err;
        std::vector<std::string> names;
        for (std::size_t start = 0, end; start < share.out.size(); start = end + 1) {
            end = share.out.find('\0', start);
            ASSERT_NE(end, std::string::npos) << "each name ends in NUL";
            names.push_back(share.out.substr(start, end - start));
        }
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
        lines.insert(lines.end(), names.begin(), names.end());
    }
    std::sort(lines.begin(), lines.end());
    std::string joined;
    for (const std::string& line : lines) joined += line + "\n";
    EXPECT_EQ(joined, all);  // every file in one share, the whole list sorted
    EXPECT_FALSE(fs::exists(out)) << "a list makes nothing";
}

// The shares as the README's Slurm and Kubernetes recipes number them, through
// the shell as those runners start them: every file once.
TEST_F(CliRerun, ArrayAndIndexedJobRecipesTakeEveryFileOnce)
{
    struct Row {
        const char* runner;
        const char* variable;  // what the runner sets in each task
        int first;             // its first value
        const char* share;     // the recipe's --shard, for 3 shares
    };
    const Row rows[] = {
        {"Slurm array", "SLURM_ARRAY_TASK_ID", 1, "$SLURM_ARRAY_TASK_ID/3"},
        {"Kubernetes Indexed Job", "JOB_COMPLETION_INDEX", 0, "$((JOB_COMPLETION_INDEX + 1))/3"},
    };
    const std::string whole = cli(dir / "out", {"--list"}).out;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.runner);
        std::vector<std::string> lines;
        for (int task = row.first; task < row.first + 3; ++task) {
            const ProgramResult share = runProgram(
                "/bin/sh",
                {"-c", std::string("exec \"$0\" --no-settings -q --list -o out --shard \"") + row.share + "\" v", kCli},
                cliEnvironment({{row.variable, std::to_string(task)}}), dir.path());
            ASSERT_EQ(share.status, 0) << share.err;
            for (const std::string& line : linesOf(share.out))
                if (!line.empty()) lines.push_back(line);
        }
        std::sort(lines.begin(), lines.end());
        std::string joined;
        for (const std::string& line : lines) joined += line + "\n";
        EXPECT_EQ(joined, whole);
    }
}

TEST_F(CliRerun, GnuParallelRecipeWithLocalHosts)
{
    const std::string parallel = platform::findProgram("parallel", "");
    if (parallel.empty()) GTEST_SKIP() << "GNU parallel is not installed";
    const std::string out = dir / "out";
    const std::string hosts = dir.write("hosts", "2/:\n2/:\n");  // two local "hosts", two jobs each
    const std::string log = dir / "joblog";
    // A video that is no video yet fails its share the first time.
    fs::rename(dir / "v/c3.mp4", dir / "c3.mp4");
    dir.write("v/c3.mp4", "not a video yet");
    const auto recipe = [&] {
        return runProgram(parallel,
                          {"--sshloginfile",
                           hosts,
                           "--joblog",
                           log,
                           "--resume-failed",
                           kCli,
                           "--no-settings",
                           "-q",
                           "--existing",
                           "skip",
                           "-o",
                           out,
                           "--shard",
                           "{}/4",
                           dir / "v",
                           ":::",
                           "1",
                           "2",
                           "3",
                           "4"},
                          cliEnvironment(), dir.path());
    };
    const ProgramResult first = recipe();
    EXPECT_EQ(first.status, 1) << "one share failed";
    fs::rename(dir / "c3.mp4", dir / "v/c3.mp4");
    const ProgramResult second = recipe();  // only the failed share runs again
    EXPECT_EQ(second.status, 0) << second.err;

    std::map<std::string, int> images;
    for (const auto& [name, bytes] : filesIn(out)) ++images[name.substr(0, name.find('_'))];
    EXPECT_EQ(images, (std::map<std::string, int>{{"c1", 10}, {"c2", 10}, {"c3", 10}, {"c4", 10}}));
    // The manifest whole: each video's run started and finished, c3's failure too.
    std::size_t finished = 0;
    const Manifest manifest = Manifest::read(out);
    for (const ManifestRecord& record : manifest.records()) finished += record.finished ? 1 : 0;
    EXPECT_EQ(finished, 4u);
    // The job log names each share once per try: 4, then the failed one again.
    const std::string joblog = TempFolder::read(log);
    EXPECT_EQ(std::count(joblog.begin(), joblog.end(), '\n'), 1 + 4 + 1);
}

}  // namespace
}  // namespace kelmora::test
