#pragma once
// The single steps each system takes its own way, under the rules of System.cpp
// that are the same everywhere. For platform/ only.

#include <string>

namespace kelmora::platform {

// What stands at path, links followed: 0 for a folder, ENOTDIR for anything
// else, ENOENT for nothing, else the system's error number of the look.
int folderState(const std::string& path);

// Makes the one folder path, whose parent exists: 0, EEXIST when anything
// stands there already, else the system's error number.
int makeOneFolder(const std::string& path);

}  // namespace kelmora::platform
