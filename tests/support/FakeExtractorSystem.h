#pragma once
// The few system calls of the fake extractor, one twin per system.

#include <string>

namespace kelmora::test {

// Appends text to the file at path in one write, so runs at once never interleave.
void appendInOneWrite(const char* path, const std::string& text);

void writeStandardOutput(const std::string& text);

// The command-line text the program was started with (Windows); empty where
// a program receives a list of arguments (POSIX).
std::string startingCommandLine();

// Waits on the hold at path (a FIFO on POSIX, a named pipe on Windows) for a
// byte or its writer's end. False when the wait failed.
bool waitOnHold(const char* path);

}  // namespace kelmora::test
