#include "platform/CommandLine.h"

namespace kelmora::platform {

namespace {

void appendQuoted(std::string& line, const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        line += argument;  // backslashes mean nothing outside quotes unless a quote follows
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote escape each other; anywhere else they stand as they are.
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, '\\');  // they precede the closing quote
    line += '"';
}

}  // namespace

std::string windowsCommandLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line;
    appendQuoted(line, program);
    for (const std::string& argument : arguments) {
        line += ' ';
        appendQuoted(line, argument);
    }
    return line;
}

}  // namespace kelmora::platform
