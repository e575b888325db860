#include "platform/CommandLine.h"

namespace kelmora::platform {

std::string pastableCommandLine(const std::string& program, const std::vector<std::string>& arguments,
                                const std::string& commandLine)
{
    return commandLine.empty() ? windowsCommandLine(program, arguments) : commandLine;
}

}  // namespace kelmora::platform
