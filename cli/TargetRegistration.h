#pragma once
// What kelmora-cli's targets stand for. As in the window, a file is itself
// and a folder stands for what is found in and below it, in the list's sorted
// order; unlike the window, only files are registered (never the folders
// themselves) and a wildcard pattern stands for what it matches, since the
// extractor reads a pattern as a name.

#include <istream>
#include <string>
#include <vector>

namespace kelmora::cli {

struct Registration {
    std::vector<std::string> files;    // to cut, in the order found (the target list sorts them)
    std::vector<std::string> missing;  // targets that named nothing
};

// Adds what target stands for to registration. A folder walked never gives
// passOver (the destination) nor anything in it.
void registerTarget(const std::string& target, Registration& registration, const std::string& passOver = {});

// The entries of a target list: one a line (a carriage return before the line
// break is dropped), or each ended by NUL; empty entries are passed over.
std::vector<std::string> readTargetList(std::istream& in, bool nulSeparated);

}  // namespace kelmora::cli
