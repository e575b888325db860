#pragma once
// Runs a program to its end for a test, never through a shell: its arguments
// byte for byte, environment changes, a working folder and its standard input.

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace kelmora::test {

using Environment = std::vector<std::pair<std::string, std::string>>;

struct ProgramResult {
    int status = -1;  // the exit code, or 128 + the signal that ended it
    std::string out, err;
};

// The process's environment with each change made, the last change of a name
// winning (an empty value removes the variable).
inline std::vector<std::string> environmentWith(const Environment& changes)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        bool changed = false;
        for (const auto& change : changes) changed = changed || text.rfind(change.first + "=", 0) == 0;
        if (!changed) result.push_back(text);
    }
    for (std::size_t i = 0; i < changes.size(); ++i) {
        bool laterChange = false;
        for (std::size_t j = i + 1; j < changes.size(); ++j)
            laterChange = laterChange || changes[j].first == changes[i].first;
        if (!laterChange && !changes[i].second.empty()) result.push_back(changes[i].first + "=" + changes[i].second);
    }
    return result;
}

inline std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

inline ProgramResult runProgram(const std::string& program, std::vector<std::string> arguments,
                                const Environment& environment = {}, const std::string& folder = {},
                                const std::string& input = {})
{
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC)) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const auto& [from, to] : {std::pair{in[0], 0}, {out[1], 1}, {err[1], 2}})
        posix_spawn_file_actions_adddup2(&actions, from, to);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    arguments.insert(arguments.begin(), program);
    std::vector<std::string> env = environmentWith(environment);
    pid_t pid = -1;
    const int started =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, pointersTo(arguments).data(), pointersTo(env).data());
    posix_spawn_file_actions_destroy(&actions);
    for (const int end : {in[0], out[1], err[1]}) ::close(end);
    // Tests give little input: it goes in whole before the outputs are read.
    if (started == 0 && !input.empty()) [[maybe_unused]]
        auto n = ::write(in[1], input.data(), input.size());
    ::close(in[1]);
    ProgramResult result;
    pollfd watch[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    for (int open = 2; open > 0;) {
        ::poll(watch, 2, -1);
        for (int i = 0; i < 2; ++i) {
            char buffer[4096];
            const ssize_t n = watch[i].revents ? ::read(watch[i].fd, buffer, sizeof buffer) : -1;
            if (n > 0) sinks[i]->append(buffer, static_cast<std::size_t>(n));
            else if (n == 0) ::close(watch[i].fd), watch[i].fd = -1, --open;
        }
    }
    int status = 0;
    if (started == 0) ::waitpid(pid, &status, 0);
    result.status = started != 0 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace kelmora::test
