#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/Paths.h"
#include "platform/System.h"

extern char** environ;

namespace kelmora::platform {

namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// -1 where the kernel has no pidfds (before Linux 5.3).
int openPidFd(pid_t pid)
{
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd < 0) return -1;
    ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
    return static_cast<int>(fd);
}

// Sends signal through the pidfd: it always names our child, even once the
// child is gone and its number is reused.
bool sendSignal(int pidFd, int signal) { return ::syscall(SYS_pidfd_send_signal, pidFd, signal, nullptr, 0) == 0; }

// Kills the child of watchFd (a pidfd of its own, closed here) unless it ends within graceMs.
void killUnlessEndedInTime(int watchFd, int graceMs)
{
    std::thread([watchFd, graceMs] {
        pollfd watch{watchFd, POLLIN, 0};
        int result;
        do {
            result = ::poll(&watch, 1, graceMs);
        } while (result < 0 && errno == EINTR);
        if (result == 0) sendSignal(watchFd, SIGKILL);
        ::close(watchFd);
    }).detach();
}

// The same without a pidfd: looks at the child without reaping it. Should its
// owner reap it in the very moment before the kill, the number could name
// another process; systems without pidfds are old enough to accept that.
void killPidUnlessEndedInTime(pid_t pid, int graceMs)
{
    std::thread([pid, graceMs] {
        for (int waited = 0; waited < graceMs; waited += 10) {
            siginfo_t info{};
            if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return;
            if (info.si_pid == pid) return;
            ::usleep(10000);
        }
        ::kill(pid, SIGKILL);
    }).detach();
}

int statusFromWait(int status)
{
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Waits for pid on a thread of its own, so a child nobody waits for is never left a zombie.
void reapInBackground(pid_t pid)
{
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    }).detach();
}

std::optional<pid_t> spawnHidden(const std::string& program, const std::vector<std::string>& arguments,
                                 const StartOptions& options, std::string* error)
{
    const auto fail = [error](const std::string& why) -> std::optional<pid_t> {
        if (error) *error = why;
        return std::nullopt;
    };
    const std::string path = findProgram(program, programFolder());
    if (path.empty()) return fail(program + ": " + std::strerror(ENOENT));

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.standardOutput >= 0)
        posix_spawn_file_actions_adddup2(&actions, static_cast<int>(options.standardOutput), 1);
    else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (options.standardError >= 0)
        posix_spawn_file_actions_adddup2(&actions, static_cast<int>(options.standardError), 2);
    else posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The child starts with default signal handling, whatever this process ignores.
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
    if (options.ownProcessGroup) {
        posix_spawnattr_setpgroup(&attributes, 0);
        flags |= POSIX_SPAWN_SETPGROUP;
    }
    posix_spawnattr_setflags(&attributes, flags);

    pid_t pid = -1;
    const int result = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) return fail(path + ": " + std::strerror(result));
    return pid;
}

}  // namespace

// The command line is Windows' own: a POSIX program gets the argument list.
std::optional<ChildProcess> ChildProcess::startHidden(const ProcessCommand& command, const StartOptions& options,
                                                      std::string* error)
{
    const std::optional<pid_t> pid = spawnHidden(command.program, command.arguments, options, error);
    if (!pid) return std::nullopt;
    ChildProcess child(*pid, openPidFd(*pid));
    child.m_ownGroup = options.ownProcessGroup;
    return child;
}

int ChildProcess::exitNotifier() const { return static_cast<int>(m_handle); }

void ChildProcess::release()
{
    if (m_pid > 0 && !m_ended && !reap(false)) reapInBackground(static_cast<pid_t>(m_pid));
    if (m_handle >= 0) ::close(static_cast<int>(m_handle));
    m_pid = -1;
    m_handle = -1;
}

bool ChildProcess::reap(bool block)
{
    if (m_ended || m_pid <= 0) return m_ended;
    const auto pid = static_cast<pid_t>(m_pid);
    if (m_ownGroup) {
        // While the ended child is not reaped its number names its group and
        // nothing else: what it left running of the group ends with it.
        siginfo_t info{};
        int seen;
        do {
            seen = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT | (block ? 0 : WNOHANG));
        } while (seen < 0 && errno == EINTR);
        if (seen == 0 && info.si_pid == pid) ::kill(-pid, SIGKILL);
    }
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(pid, &status, block ? 0 : WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == pid) {
        m_ended = true;
        m_exitStatus = statusFromWait(status);
        m_exitSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    } else if (result < 0) {
        m_ended = true;  // someone else reaped it: it is gone all the same
    }
    return m_ended;
}

bool ChildProcess::waitFor(int timeoutMs)
{
    if (reap(false)) return true;
    if (timeoutMs < 0) return reap(true);
    if (m_handle >= 0) {
        pollfd watch{static_cast<int>(m_handle), POLLIN, 0};
        if (::poll(&watch, 1, timeoutMs) > 0) return reap(true);
        return reap(false);
    }
    // No pidfd: look again every few milliseconds.
    for (int waited = 0; waited < timeoutMs; waited += 5) {
        ::usleep(5000);
        if (reap(false)) return true;
    }
    return reap(false);
}

void ChildProcess::terminate(int graceMs)
{
    if (m_pid <= 0 || reap(false)) return;
    const auto pid = static_cast<pid_t>(m_pid);
    // The child is not reaped yet, so its number still names it (and its group).
    if (m_ownGroup) ::kill(-pid, SIGTERM);
    if (m_handle >= 0) {
        const int pidFd = static_cast<int>(m_handle);
        const int watchFd = ::fcntl(pidFd, F_DUPFD_CLOEXEC, 0);
        if (!sendSignal(pidFd, SIGTERM)) ::kill(pid, SIGTERM);
        if (watchFd >= 0) killUnlessEndedInTime(watchFd, graceMs);
        return;
    }
    ::kill(pid, SIGTERM);
    killPidUnlessEndedInTime(pid, graceMs);
}

bool startDetached(const ProcessCommand& command)
{
    const std::optional<pid_t> pid = spawnHidden(command.program, command.arguments, StartOptions{}, nullptr);
    if (!pid) return false;
    reapInBackground(*pid);
    return true;
}

std::string extractorProgramName() { return "ffmpeg"; }

std::string findProgram(const std::string& name, const std::string& programFolder)
{
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string();
    if (!programFolder.empty()) {
        const std::string beside = joinPath(programFolder, name, PathStyle::Posix);
        if (isExecutableFile(beside)) return beside;
    }
    const char* searchPath = std::getenv("PATH");
    std::string_view rest = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    for (;;) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        const std::string candidate = joinPath(folder.empty() ? "." : folder, name, PathStyle::Posix);
        if (isExecutableFile(candidate)) return candidate;
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return {};
}

}  // namespace kelmora::platform
