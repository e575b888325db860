// kelmora-cli with the standard streams a shell may leave it: closed ones
// ("<&- 2>&-"), and an output whose reader has gone ("| head -1").
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <poll.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempFolder.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

class CliStreams : public ::testing::Test {
protected:
    TempFolder dir;
    const std::string log = dir / "runs.log";
    const std::string hold = dir / "hold";
    const std::string out = dir / "out";
    const std::string first = dir.write("videos/a.mp4", "x");
    const std::string second = dir.write("videos/b.mp4", "x");

    // Starts kelmora-cli with the stand-in extractor and streams[i] as its
    // standard stream i (-1: closed); the caller waits for it.
    pid_t start(std::vector<std::string> arguments, const std::array<int, 3>& streams, Environment extra = {})
    {
        if (std::find(arguments.begin(), arguments.end(), "--ffmpeg") == arguments.end())
            arguments.insert(arguments.begin(), {"--ffmpeg", kFakeExtractor});
        arguments.insert(arguments.begin(), {kCli, "--no-settings", "-o", out});
        extra.emplace_back("KELMORA_FAKE_LOG", log);
        std::vector<std::string> env = environmentWith(cliEnvironment(extra));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        for (int stream = 0; stream < 3; ++stream) {
            if (streams[stream] < 0) posix_spawn_file_actions_addclose(&actions, stream);
            else posix_spawn_file_actions_adddup2(&actions, streams[stream], stream);
        }
        pid_t pid = -1;
        const int started =
            ::posix_spawn(&pid, kCli.c_str(), &actions, nullptr, pointersTo(arguments).data(), pointersTo(env).data());
        posix_spawn_file_actions_destroy(&actions);
        return started == 0 ? pid : -1;
    }
    static std::string readToEnd(int fd)
    {
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;)
            if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
            else if (errno != EINTR) break;
        ::close(fd);
        return text;
    }
    // The exit status; -1 when a signal ended the program.
    static int exitStatusOf(pid_t pid)
    {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(CliStreams, ClosedStreamsAreNoPlaceForItsPipes)
{
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    // Each run's line goes to standard error; a pipe made in its place would carry it somewhere.
    const std::pair<const char*, std::array<int, 3>> rows[] = {
        {"<&- 2>&-", {-1, null, -1}},
        {">&- 2>&-", {null, -1, -1}},
        {"<&- >&- 2>&-", {-1, -1, -1}},
    };
    for (const auto& [name, streams] : rows) {
        SCOPED_TRACE(name);
        fs::remove_all(out);
        fs::remove(log);
        EXPECT_EQ(exitStatusOf(start({"-j", "1", "--json", first, second}, streams)), 0);
        EXPECT_EQ(readFakeExtractorLog(log).size(), 2u) << "every video is cut";
        EXPECT_TRUE(fs::exists(out + "/b_00003.jpg"));
    }
    ::close(null);
}

TEST_F(CliStreams, AnOutputWithoutReaderStopsTheBatchAndLeavesNoRunBehind)
{
    ASSERT_TRUE(makeFakeExtractorHold(hold));
    int output[2], error[2];
    ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(error, O_CLOEXEC), 0);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    // Both runs are held; one is let go once the reader of the JSON lines has gone.
    const pid_t cli =
        start({"-j", "2", "--json", first, second}, {null, output[1], error[1]}, {{"KELMORA_FAKE_HOLD", hold}});
    ASSERT_GT(cli, 0);
    ::close(null);
    ::close(output[1]);
    ::close(error[1]);
    const int letGo = ::open(hold.c_str(), O_WRONLY | O_CLOEXEC);  // once a run waits on the hold
    ::close(output[0]);
    ASSERT_EQ(::write(letGo, "!", 1), 1);  // one run ends: its line finds no reader
    const std::string said = readToEnd(error[0]);
    EXPECT_EQ(exitStatusOf(cli), 141) << "ended by itself, not by the signal:\n" << said;
    EXPECT_NE(said.find("Stopped: 1 of 2 files cut."), std::string::npos) << said;
    // A run left behind would still wait on the hold, its reading end open.
    const int stillRead = ::open(hold.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_LT(stillRead, 0) << "a run was left running";
    if (stillRead >= 0) ::close(stillRead);
    ::close(letGo);

    // A closed output found before the batch, by the line of a target that is not there, starts nothing.
    fs::remove(log);
    ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
    ::close(output[0]);
    const pid_t early = start({"--json", dir / "gone.mp4", first}, {-1, output[1], -1});
    ::close(output[1]);
    EXPECT_EQ(exitStatusOf(early), 141);
    EXPECT_TRUE(readFakeExtractorLog(log).empty());

    // A dry run stops printing the same way.
    ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
    ::close(output[0]);
    const pid_t dry = start({"--dry-run", first, second}, {-1, output[1], -1});
    ::close(output[1]);
    EXPECT_EQ(exitStatusOf(dry), 141);
}

TEST_F(CliStreams, AStopReachesWhatTheExtractorStarted)
{
    // An extractor that is a script starting the real one, without handing over its process.
    const std::string wrapper = dir.write("wrapper.sh", "#!/bin/sh\n'" + kFakeExtractor + "' \"$@\"\n");
    fs::permissions(wrapper, fs::perms::owner_all);
    ASSERT_TRUE(makeFakeExtractorHold(hold));
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t cli = start({"--ffmpeg", wrapper, first}, {null, null, null}, {{"KELMORA_FAKE_HOLD", hold}});
    ASSERT_GT(cli, 0);
    ::close(null);
    const HeldRun held(hold);  // the stand-in, the script's child, waits on the hold
    ::kill(cli, SIGINT);
    EXPECT_EQ(exitStatusOf(cli), 130);
    // The stand-in ends too: its reading end of the hold goes (the wait is
    // bounded only in case it never does).
    const int watch = ::open(hold.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (watch >= 0) {
        pollfd noReader{watch, 0, 0};  // only the error of a pipe without reader wakes it
        ::poll(&noReader, 1, 30000);
        EXPECT_TRUE(noReader.revents & POLLERR) << "the script's extractor was left running";
        ::close(watch);
    }
}

}  // namespace
}  // namespace kelmora::test
