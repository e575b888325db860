#pragma once
// Runs a program on a pseudo-terminal of its own, as from a user's shell: the
// terminal is its standard input and outputs and its controlling terminal, so
// a Ctrl+C typed into it interrupts the program's process group. The test
// waits for texts the terminal shows, never for time.

#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>

#include "tests/support/ProgramRun.h"

namespace kelmora::test {

class PseudoTerminalRun {
public:
    PseudoTerminalRun(const std::string& program, std::vector<std::string> arguments, const Environment& environment,
                      unsigned short columns = 100)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) throw std::runtime_error("no pty");
        const std::string slave = ::ptsname(m_master);
        const winsize size{40, columns, 0, 0};
        ::ioctl(m_master, TIOCSWINSZ, &size);
        arguments.insert(arguments.begin(), program);
        std::vector<char*> argv = pointersTo(arguments);
        std::vector<std::string> env = environmentWith(environment);
        std::vector<char*> envp = pointersTo(env);
        m_pid = ::fork();
        if (m_pid == 0) {  // only calls that are safe between fork and exec
            ::setsid();
            const int terminal = ::open(slave.c_str(), O_RDWR);  // becomes the controlling terminal
            for (int stream = 0; stream < 3; ++stream) ::dup2(terminal, stream);
            ::execve(program.c_str(), argv.data(), envp.data());
            ::_exit(127);
        }
    }
    ~PseudoTerminalRun()
    {
        if (m_pid > 0) ::kill(m_pid, SIGKILL), ::waitpid(m_pid, nullptr, 0);
        ::close(m_master);
    }

    // Reads until the terminal has shown text at or after from; false when the program ends first.
    bool waitFor(std::string_view text, std::size_t from = 0)
    {
        while (m_output.find(text, from) == std::string::npos)
            if (!readMore()) return false;
        return true;
    }
    void pressCtrlC() { [[maybe_unused]] auto n = ::write(m_master, "\x03", 1); }
    // Reads to the end; the exit status (128 + N for signal N).
    int finish()
    {
        while (readMore()) {}
        int status = 0;
        ::waitpid(std::exchange(m_pid, -1), &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    const std::string& output() const { return m_output; }  // line ends as "\r\n"

private:
    bool readMore()
    {
        // A guard against a hang, not a measure of speed.
        pollfd watch{m_master, POLLIN, 0};
        if (::poll(&watch, 1, 120000) == 0) throw std::runtime_error("the terminal stayed silent:\n" + m_output);
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) return false;  // EIO: the program and its children have let go of the terminal
        m_output.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    int m_master = -1;
    pid_t m_pid = -1;
    std::string m_output;
};

}  // namespace kelmora::test
