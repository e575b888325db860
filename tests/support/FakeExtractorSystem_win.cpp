#include "tests/support/FakeExtractorSystem.h"

#include <windows.h>

namespace kelmora::test {

void appendInOneWrite(const char* path, const std::string& text)
{
    // Append-only access: every write goes to the end of the file as one piece.
    const HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

void writeStandardOutput(const std::string& text)
{
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string startingCommandLine() { return ::GetCommandLineA(); }

bool waitOnHold(const char* path)
{
    const HANDLE pipe = ::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return true;
    char byte;
    DWORD read = 0;
    // A broken pipe is the writer's end: the run goes on.
    const bool ok = ::ReadFile(pipe, &byte, 1, &read, nullptr) || ::GetLastError() == ERROR_BROKEN_PIPE;
    ::CloseHandle(pipe);
    return ok;
}

}  // namespace kelmora::test
