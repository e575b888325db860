#pragma once
// The standard input, output and error of a program started from a shell:
// kept in place when the shell closed them, and a reader that has gone away.

namespace kelmora::platform {

// Opens every one of the three standard streams that is closed (a start with
// "<&-" or "2>&-") on the null device, so that a file or pipe the program
// makes later never takes a standard stream's place and the program's
// messages never land in it. Call it first thing in main, before anything
// is opened.
void occupyStandardStreams();

// A write to a pipe whose reader has gone ("| head -1") fails with
// isClosedOutput(errno) instead of ending the program, so the program can
// wind down in order.
void surviveClosedOutput();

// True for the error a write fails with when the reader of the pipe has gone.
bool isClosedOutput(int error);

}  // namespace kelmora::platform
