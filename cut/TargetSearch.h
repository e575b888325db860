#pragma once
// What one registered path stands for.

#include <string>
#include <vector>

namespace kelmora {

// The entries a path registers: a folder gives every name found in it and
// below it ("*.*"); a file, or a pattern with at least one match, gives the
// path itself as it was passed; a path that finds nothing, or the root, gives
// nothing. passOver: a folder the walk leaves out with all it holds (the
// destination, so a folder holding it never registers the images cut before;
// passOver itself gives nothing); empty leaves nothing out.
std::vector<std::string> findCutTargets(const std::string& path, const std::string& passOver = {});

// The entries of every path, one after another, in the order given.
std::vector<std::string> findCutTargets(const std::vector<std::string>& paths, const std::string& passOver = {});

}  // namespace kelmora
