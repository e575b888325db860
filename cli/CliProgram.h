#pragma once
// kelmora-cli from its arguments to its exit status.
//   0  every run wrote its images
//   1  some entry was not cut (each is named on standard error with the reason)
//   2  a mistake in the command line
//   3  the extractor was not found
//   128 + N  stopped by signal N (130: the interrupt key)
//   141  stopped because standard output or error lost its reader (the status
//        of a program ended by SIGPIPE, which this one ignores)

#include <string>
#include <vector>

namespace kelmora::cli {

// arguments: those after the program's name, byte for byte.
int runCli(const std::vector<std::string>& arguments);

}  // namespace kelmora::cli
