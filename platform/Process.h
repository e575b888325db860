#pragma once
// Starting other programs: always with an argument list handed to the process
// start as it is (never through a shell), with no window and no console.

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kelmora::platform {

// What a hidden start may do differently from the plain one.
struct StartOptions {
    // A pipe's writing end (OutputPipe::writingEnd) that takes the child's
    // standard output; -1: the null device.
    std::intptr_t standardOutput = -1;
    // The child stays out of the terminal's reach: the interrupt key (Ctrl+C)
    // does not reach it, and the starter alone decides when it is asked to end.
    bool ownProcessGroup = false;
};

// A started program, waited for by its owner. Move-only. The child is always
// reaped: a ChildProcess dropped while its program still runs hands the child
// to a background reaper instead of killing it.
class ChildProcess {
public:
    // Starts program (a path, or a bare name searched as findProgram does) with
    // stdin, stdout and stderr on /dev/null. On failure returns nullopt and, when
    // error is given, stores a description in it.
    static std::optional<ChildProcess> startHidden(const std::string& program,
                                                   const std::vector<std::string>& arguments,
                                                   std::string* error = nullptr);
    static std::optional<ChildProcess> startHidden(const std::string& program,
                                                   const std::vector<std::string>& arguments,
                                                   const StartOptions& options, std::string* error = nullptr);

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // A descriptor that becomes readable when the child ends (a pidfd), for an
    // event loop to watch; -1 where the platform has none. Owned by this object.
    int exitNotifier() const { return pidFd_; }

    // Waits up to timeoutMs (negative: without limit). True once the child has ended.
    bool waitFor(int timeoutMs);

    bool hasEnded() const { return ended_; }

    // 0 for success; the exit code, or 128 + the signal number for a killed child;
    // -1 while it runs.
    int exitStatus() const { return exitStatus_; }
    // The signal that ended the child; 0 when it exited by itself or still runs.
    int exitSignal() const { return exitSignal_; }

    // Asks the program to end (SIGTERM: the extractor then closes the files it
    // writes) and ends it outright (SIGKILL) when it still runs graceMs later.
    // Returns at once; the end is seen as any other end of the child.
    void terminate(int graceMs = 3000);

    pid_t pid() const { return pid_; }

private:
    ChildProcess(pid_t pid, int pidFd) : pid_(pid), pidFd_(pidFd) {}
    bool reap(bool block);
    void release();

    pid_t pid_ = -1;
    int pidFd_ = -1;
    bool ended_ = false;
    int exitStatus_ = -1;
    int exitSignal_ = 0;
};

// Starts a program that runs on by itself; it is reaped in the background when
// it ends. False when it could not be started.
bool startDetached(const std::string& program, const std::vector<std::string>& arguments);

// The frame extractor's file name on this system.
std::string extractorProgramName();

// The full path of an executable program: in programFolder first, then along
// PATH. A name that contains a separator is taken as a path. Empty when not found.
std::string findProgram(const std::string& name, const std::string& programFolder);

}  // namespace kelmora::platform
