#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Process.h"
#include "tests/support/FakeExtractorHold.h"
#include "tests/support/FakeExtractorLog.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

namespace {

const std::string fakeExtractor = std::string(KELMORA_FAKE_EXTRACTOR_DIR) + "/ffmpeg";

// Sets an environment variable for the length of one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old) ::setenv(m_name, m_old->c_str(), 1);
        else ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

}  // namespace

TEST(ProcessPosix, ArgumentsReachTheProgramUnchanged)
{
    TempFolder dir;
    ScopedEnv log("KELMORA_FAKE_LOG", dir / "log");
    ScopedEnv frames("KELMORA_FAKE_FRAMES", "0");
    const std::vector<std::string> arguments = {"-i",
                                                "a b \"c\" $(touch " + dir.path() + "/pwned) `x` ;|&",
                                                "",
                                                "-leading",
                                                "\xFF\xFE not utf-8",
                                                "line\nbreak",
                                                "50%off *.avi",
                                                "out"};
    auto child = ChildProcess::startHidden(fakeExtractor, arguments);
    ASSERT_TRUE(child);
    ASSERT_TRUE(child->waitFor(10000));
    EXPECT_EQ(child->exitStatus(), 0);
    const auto runs = kelmora::test::readFakeExtractorLog(dir / "log");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], arguments);
    EXPECT_FALSE(std::filesystem::exists(dir / "pwned"));
}

TEST(ProcessPosix, ExitStatusAndWaiting)
{
    {
        ScopedEnv exit("KELMORA_FAKE_EXIT", "3");
        auto child = ChildProcess::startHidden(fakeExtractor, {});
        ASSERT_TRUE(child);
        EXPECT_TRUE(child->waitFor(-1));
        EXPECT_TRUE(child->hasEnded());
        EXPECT_EQ(child->exitStatus(), 3);
    }
    TempFolder dir;
    ASSERT_TRUE(kelmora::test::makeFakeExtractorHold(dir / "hold"));
    ScopedEnv hold("KELMORA_FAKE_HOLD", dir / "hold");  // each run waits until the test lets it go
    {
        auto child = ChildProcess::startHidden(fakeExtractor, {});
        ASSERT_TRUE(child);
        EXPECT_FALSE(child->waitFor(0));
        EXPECT_FALSE(child->hasEnded());
        EXPECT_EQ(child->exitStatus(), -1);
        // The exit notifier wakes a poll the moment the child ends.
        ASSERT_GE(child->exitNotifier(), 0);
        {
            kelmora::test::HeldRun letGo(dir / "hold");
        }
        pollfd watch{child->exitNotifier(), POLLIN, 0};
        EXPECT_EQ(::poll(&watch, 1, 10000), 1);
        EXPECT_TRUE(child->waitFor(0));
        EXPECT_EQ(child->exitStatus(), 0);
    }
    {
        auto child = ChildProcess::startHidden(fakeExtractor, {});
        ASSERT_TRUE(child);
        ::kill(child->pid(), SIGKILL);
        ASSERT_TRUE(child->waitFor(10000));
        EXPECT_NE(child->exitStatus(), 0);  // killed is never success
    }
}

namespace {

// A pidfd of the test's own on a child of this process that is not reaped yet; -1 once it is.
int watchChild(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

// Returns once the process of pidFd has been reaped, by whoever: asked for no
// event, poll reports only the hang-up, which comes with the reaping.
void waitUntilReaped(int pidFd)
{
    pollfd watch{pidFd, 0, 0};
    while (::poll(&watch, 1, -1) < 0 && errno == EINTR) {}
    ::close(pidFd);
}

// Whether the kernel tells a pidfd's poll that its process has been reaped
// (Linux 6.15 and later): a child reaped here says so at once, or never.
bool kernelReportsReaping()
{
    auto child = ChildProcess::startHidden("true", {});
    if (!child || child->exitNotifier() < 0 || !child->waitFor(-1)) return false;
    pollfd watch{child->exitNotifier(), 0, 0};
    return ::poll(&watch, 1, 0) == 1 && (watch.revents & POLLHUP);
}

}  // namespace

TEST(ProcessPosix, ChildrenAreAlwaysReaped)
{
    if (!kernelReportsReaping()) GTEST_SKIP() << "this kernel does not tell when a process is reaped";
    TempFolder dir;
    ASSERT_TRUE(kelmora::test::makeFakeExtractorHold(dir / "hold"));
    int watch = -1;
    {
        ScopedEnv hold("KELMORA_FAKE_HOLD", dir / "hold");
        auto child = ChildProcess::startHidden(fakeExtractor, {});
        ASSERT_TRUE(child);
        const auto pid = static_cast<pid_t>(child->pid());
        watch = watchChild(pid);
        ASSERT_GE(watch, 0);
        ChildProcess moved = std::move(*child);  // the moved-from object lets go of it
        EXPECT_EQ(moved.pid(), pid);
    }  // dropped while running: reaped in the background once it ends
    {
        kelmora::test::HeldRun letGo(dir / "hold");
    }
    waitUntilReaped(watch);

    ASSERT_TRUE(startDetached(fakeExtractor, {}));
    // No zombie is left: every child this process has, once ended, is reaped
    // (WNOWAIT only looks; the background reaper does the reaping), until
    // there is no child at all.
    for (;;) {
        siginfo_t info{};
        if (::waitid(P_ALL, 0, &info, WEXITED | WNOWAIT) != 0) {
            if (errno == EINTR) continue;
            EXPECT_EQ(errno, ECHILD);
            break;
        }
        if (const int ended = watchChild(info.si_pid); ended >= 0) waitUntilReaped(ended);
    }
}

TEST(ProcessPosix, TerminateAsksFirstAndKillsWhatDoesNotListen)
{
    struct Row {
        const char* name;
        std::string script;  // opens "$1" once it is ready for the request
        int signal;          // what ends the child
    };
    const Row rows[] = {
        {"a program that ends on the request", ": > \"$1\"; exec sleep 1000", SIGTERM},
        {"a program that ignores it", "trap '' TERM; : > \"$1\"; exec sleep 1000", SIGKILL},
        {"a program that closes its files first", "sleep 1000 & trap 'kill $!; exit 255' TERM; : > \"$1\"; wait", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder dir;
        const std::string ready = dir / "ready";
        ASSERT_EQ(::mkfifo(ready.c_str(), 0600), 0);
        auto child = ChildProcess::startHidden("sh", {"-c", row.script, "sh", ready});
        ASSERT_TRUE(child);
        const int fd = ::open(ready.c_str(), O_RDONLY | O_CLOEXEC);  // returns once the script is there
        ::close(fd);
        child->terminate(200);
        ASSERT_TRUE(child->waitFor(-1));
        EXPECT_EQ(child->exitSignal(), row.signal);
        EXPECT_EQ(child->exitStatus(), row.signal ? 128 + row.signal : 255);
        child->terminate(200);  // an ended child: nothing to do
    }
}

TEST(ProcessPosix, StartFailures)
{
    std::string error;
    EXPECT_FALSE(ChildProcess::startHidden("/no/such/program", {}, &error));
    EXPECT_NE(error.find("/no/such/program"), std::string::npos);
    EXPECT_FALSE(ChildProcess::startHidden("kelmora-no-such-program", {}, &error));
    EXPECT_FALSE(startDetached("kelmora-no-such-program", {}));
}

TEST(ProcessPosix, FindProgramLooksBesideTheProgramFirst)
{
    TempFolder dir;
    ScopedEnv path("PATH", dir.path() + ":" + KELMORA_FAKE_EXTRACTOR_DIR);
    EXPECT_EQ(findProgram("ffmpeg", "/nonexistent"), fakeExtractor);
    EXPECT_EQ(findProgram("ffmpeg", KELMORA_FAKE_EXTRACTOR_DIR), fakeExtractor);
    std::filesystem::copy_file(fakeExtractor, dir / "ffmpeg");
    EXPECT_EQ(findProgram("ffmpeg", "/nonexistent"), dir / "ffmpeg");             // PATH order
    EXPECT_EQ(findProgram("ffmpeg", KELMORA_FAKE_EXTRACTOR_DIR), fakeExtractor);  // own folder wins
    dir.write("notexec");
    EXPECT_EQ(findProgram("notexec", dir.path()), "");
    EXPECT_EQ(findProgram("kelmora-no-such-program", ""), "");
    EXPECT_EQ(extractorProgramName(), "ffmpeg");
}
