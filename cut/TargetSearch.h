#pragma once
// What one registered path stands for.

#include <string>
#include <vector>

namespace kelmora {

// The entries a path registers: a folder gives every name found in it and
// below it ("*.*"); a file, or a pattern with at least one match, gives the
// path itself as it was passed; a path that finds nothing, or the root, gives
// nothing.
std::vector<std::string> findCutTargets(const std::string& path);

// The entries of every path, one after another, in the order given.
std::vector<std::string> findCutTargets(const std::vector<std::string>& paths);

}  // namespace kelmora
