#pragma once
// Starting other programs: never through a shell, with no window and no console.
// A POSIX program receives a list of arguments; a Windows program receives one
// command-line text and splits it itself. A command therefore carries both, and
// each system hands on its own form as it is.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Wait.h"

namespace kelmora::platform {

struct ProcessCommand {
    std::string program;                 // a path, or a bare name searched as findProgram does
    std::vector<std::string> arguments;  // POSIX: the argument list after the name, byte for byte
    // Windows: the whole command line, the program's name first, handed to the
    // process start unchanged. Empty: rendered from program and arguments
    // (see CommandLine.h). Not used on POSIX.
    std::string commandLine;
};

using ProcessId = std::int64_t;

// What a hidden start may do differently from the plain one.
struct StartOptions {
    // A pipe's writing end (OutputPipe::writingEnd) that takes the child's
    // standard output; -1: the null device.
    std::intptr_t standardOutput = -1;
    // The same for its standard error.
    std::intptr_t standardError = -1;
    // The child and whatever it starts form a group of their own, out of the
    // terminal's reach: the interrupt key (Ctrl+C) does not reach it, and the
    // starter alone decides when it is asked to end. terminate() then asks the
    // whole group, and once the child has ended whatever is left of its group
    // is ended too, so a wrapper script never leaves its extractor behind.
    // (A hidden Windows child has a console of its own and is always out of
    // the terminal's reach; it has no groups.)
    bool ownProcessGroup = false;
};

// A started program, waited for by its owner. Move-only. Dropping a ChildProcess
// whose program still runs lets the program run on (and, on POSIX, hands the
// child to a background reaper, so it never stays a zombie).
class ChildProcess {
public:
    // Starts the command with no window, stdin, stdout and stderr on the null
    // device and no other handle inherited. On failure returns nullopt and, when
    // error is given, stores a description in it.
    static std::optional<ChildProcess> startHidden(const ProcessCommand& command, std::string* error = nullptr);
    static std::optional<ChildProcess> startHidden(const std::string& program,
                                                   const std::vector<std::string>& arguments,
                                                   std::string* error = nullptr);
    static std::optional<ChildProcess> startHidden(const std::string& program,
                                                   const std::vector<std::string>& arguments,
                                                   const StartOptions& options, std::string* error = nullptr);
    static std::optional<ChildProcess> startHidden(const ProcessCommand& command, const StartOptions& options,
                                                   std::string* error = nullptr);

    ChildProcess(ChildProcess&& other) noexcept { take(other); }
    ChildProcess& operator=(ChildProcess&& other) noexcept
    {
        if (this != &other) {
            release();
            take(other);
        }
        return *this;
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { release(); }

    // A descriptor that becomes readable when the child ends (a pidfd), for an
    // event loop to watch; -1 where the system has none. Owned by this object.
    int exitNotifier() const;

    // A handle that turns signalled when the child ends, for waitForAny: the
    // pidfd on POSIX, the process handle on Windows. kNoWaitHandle where the
    // system has none. Owned by this object.
    WaitHandle endHandle() const;

    // Waits up to timeoutMs (negative: without limit). True once the child has ended.
    bool waitFor(int timeoutMs);

    bool hasEnded() const { return m_ended; }

    // 0 for success; the exit code (on POSIX 128 + the signal number for a
    // killed child); -1 while it runs.
    int exitStatus() const { return m_exitStatus; }
    // The signal that ended the child; 0 when it exited by itself or still
    // runs, and always on Windows, which has no signals.
    int exitSignal() const { return m_exitSignal; }

    // Asks the program to end and ends it outright when it still runs graceMs
    // later. On POSIX the ask is SIGTERM (the extractor then closes the files it
    // writes) and the end SIGKILL; on Windows a hidden console program cannot be
    // asked, and TerminateProcess ends it at once. Returns at once; the end is
    // seen as any other end of the child.
    void terminate(int graceMs = 3000);

    ProcessId pid() const { return m_pid; }

private:
    ChildProcess(ProcessId pid, std::intptr_t handle) : m_pid(pid), m_handle(handle) {}
    void take(ChildProcess& other)
    {
        m_pid = other.m_pid;
        m_handle = other.m_handle;
        m_ended = other.m_ended;
        m_exitStatus = other.m_exitStatus;
        m_exitSignal = other.m_exitSignal;
        m_ownGroup = other.m_ownGroup;
        other.m_pid = -1;
        other.m_handle = -1;
    }
    bool reap(bool block);
    void release();

    ProcessId m_pid = -1;
    std::intptr_t m_handle = -1;  // the system's handle of the child: a pidfd, a process handle; -1 none
    bool m_ended = false;
    int m_exitStatus = -1;
    int m_exitSignal = 0;
    bool m_ownGroup = false;  // the child leads a process group of its own (POSIX)
};

// Starts a program that runs on by itself, hidden like startHidden; it is
// reaped in the background when it ends. False when it could not be started.
bool startDetached(const ProcessCommand& command);
bool startDetached(const std::string& program, const std::vector<std::string>& arguments);

// The frame extractor's file name on this system.
std::string extractorProgramName();

// The full path of an executable program: in programFolder first, then along
// PATH. A name that contains a separator is taken as a path. Empty when not found.
std::string findProgram(const std::string& name, const std::string& programFolder);

}  // namespace kelmora::platform
