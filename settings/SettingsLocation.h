#pragma once
// Where the settings file, the preview picture and the default destination
// live. A program folder that holds Kelmora.ini or can be written keeps
// everything beside the program (portable use); a system-wide install keeps
// them in the user's own folders instead.

#include <string>

namespace kelmora {

// programFolder when Kelmora.ini exists there or the folder is writable,
// else the per-user configuration folder (created when missing).
std::string settingsFolder(const std::string& programFolder);

// settingsFolder + "/Kelmora.ini"
std::string settingsFilePath(const std::string& programFolder);

// settingsFolder + "/_thumb.bmp"
std::string previewFilePath(const std::string& programFolder);

// programFolder when it is writable, else the user's pictures folder.
std::string defaultDestinationFolder(const std::string& programFolder);

}  // namespace kelmora
