#pragma once
// The test's side of the probe child (ProbeChild_win.cpp): its log, the events
// it waits for and signals, and the environment that names them.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

namespace kelmora::test {

// One run of the probe: the command line it was handed, then its arguments as
// its C runtime split them (the program's name first).
struct ProbeRun {
    std::string commandLine;
    std::vector<std::string> argv;
};

inline std::vector<ProbeRun> readProbeLog(const std::string& path)
{
    std::vector<ProbeRun> runs;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    const auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    while (std::getline(in, line)) {
        std::vector<std::string> texts;
        std::string text;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == ';') {
                texts.push_back(text);
                text.clear();
            } else if (i + 1 < line.size()) {
                text += static_cast<char>(nibble(line[i]) * 16 + nibble(line[i + 1]));
                ++i;
            }
        }
        if (texts.empty()) continue;
        runs.push_back({texts.front(), std::vector<std::string>(texts.begin() + 1, texts.end())});
    }
    return runs;
}

// Sets an environment variable of this process (and so of its children) for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_hadOld = true;
        }
        ::_putenv_s(name, value.c_str());
    }
    ~ScopedEnv() { ::_putenv_s(m_name, m_hadOld ? m_old.c_str() : ""); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::string m_old;
    bool m_hadOld = false;
};

// A named manual-reset event, unique to this process and this test.
class NamedEvent {
public:
    explicit NamedEvent(const std::string& purpose)
        : m_name("kelmora-test-" + std::to_string(::GetCurrentProcessId()) + "-" + purpose),
          m_event(::CreateEventA(nullptr, TRUE, FALSE, m_name.c_str()))
    {
    }
    ~NamedEvent() { ::CloseHandle(m_event); }
    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;

    const std::string& name() const { return m_name; }
    void set() { ::SetEvent(m_event); }
    bool waitFor(DWORD ms) { return ::WaitForSingleObject(m_event, ms) == WAIT_OBJECT_0; }

private:
    std::string m_name;
    HANDLE m_event;
};

}  // namespace kelmora::test
