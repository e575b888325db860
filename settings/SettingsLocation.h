#pragma once
// Where the settings file, the preview picture and the default destination
// live. A program started from an installed tree keeps them in the user's own
// folders, whoever runs it (root, who can write the program's folder, too),
// with system-wide defaults from the XDG configuration folders. A built or
// unpacked copy whose folder holds Kelmora.ini or can be written keeps
// everything beside the program (portable use).

#include <string>
#include <vector>

namespace kelmora {

// The mark an install puts down and a build or an unpacked copy lacks:
// share/kelmora/installed of the prefix, found relative to the program.
std::string installMarkPath(const std::string& programFolder);

// True when the program in programFolder was started from an installed tree.
bool isInstalledProgram(const std::string& programFolder);

// The per-user configuration folder (created when missing) for an installed
// program; else programFolder when Kelmora.ini exists there or the folder is
// writable; else the per-user configuration folder.
std::string settingsFolder(const std::string& programFolder);

// settingsFolder + "/Kelmora.ini"
std::string settingsFilePath(const std::string& programFolder);

// settingsFolder + "/_thumb.bmp"
std::string previewFilePath(const std::string& programFolder);

// The user's pictures folder for an installed program; else programFolder
// when it is writable, else the user's pictures folder.
std::string defaultDestinationFolder(const std::string& programFolder);

// The system-wide defaults under the settings file, most important first:
// Kelmora.ini in each system configuration folder ($XDG_CONFIG_DIRS/kelmora)
// where it is a regular file. A key the settings file lacks comes from the
// first of them that has it. None when the settings file is beside the
// program: a portable copy depends on nothing of the machine it runs on.
std::vector<std::string> settingsDefaultsFiles(const std::string& programFolder);

}  // namespace kelmora
