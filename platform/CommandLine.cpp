#include "platform/CommandLine.h"

#include <algorithm>
#include <string_view>

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

bool staysBareInShell(char c, bool program)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    // "name=value" as the first word would set a variable instead of starting a program.
    return std::string_view("%+,-./:@_").find(c) != std::string_view::npos || (c == '=' && !program);
}

void appendShellWord(std::string& line, const std::string& word, bool program)
{
    if (!word.empty()
        && std::all_of(word.begin(), word.end(), [program](char c) { return staysBareInShell(c, program); })) {
        line += word;
        return;
    }
    // Nothing is special inside single quotes but the quote itself: it ends them, comes
    // escaped, and they open again.
    line += '\'';
    for (const char c : word) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
    line += '\'';
}

}  // namespace

std::string posixShellLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line;
    appendShellWord(line, program, true);
    for (const std::string& argument : arguments) {
        line += ' ';
        appendShellWord(line, argument, false);
    }
    return line;
}

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
