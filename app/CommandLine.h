#pragma once
// The process's arguments, split before the toolkit can read any of them. The
// toolkit is handed the program name alone, so "-reverse", "-style X" or
// "-platform X" are files to cut like any other argument, and the toolkit's
// settings still come from the environment (QT_QPA_PLATFORM and the like).

#include <string>
#include <vector>

namespace kelmora {

class CommandLine {
public:
    CommandLine(int argc, const char* const* argv);
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Every argument after the program name, byte for byte, in order.
    const std::vector<std::string>& Targets() const { return m_targets; }

    // The toolkit's argc and argv: the program name and nothing else. They stay
    // valid, as the toolkit requires, for as long as this object lives.
    int& ToolkitArgc() { return m_toolkitArgc; }
    char** ToolkitArgv() { return m_toolkitArgv.data(); }

private:
    std::vector<std::string> m_targets;
    std::string m_programName;
    int m_toolkitArgc = 1;
    std::vector<char*> m_toolkitArgv;
};

}  // namespace kelmora
