#pragma once
// The running program, files and folders, and the desktop.

#include <cstdint>
#include <string>
#include <vector>

namespace kelmora::platform {

// The running program's full path.
std::string programPath();

// The folder of the running program without a trailing separator ("/" stays).
std::string programFolder();

// The absolute form of a path, taken against the current folder, with "." and
// ".." steps and doubled separators resolved (links are not followed).
// A trailing separator stays.
std::string expandFileName(const std::string& path);

// The path with every link in it followed ("realpath"); expandFileName(path)
// when that cannot be done (a missing entry, a loop).
std::string resolveLinks(const std::string& path);

bool fileExists(const std::string& path);  // any entry that is not a folder
// True when anything stands at path, a symbolic link that leads nowhere included.
bool entryExists(const std::string& path);

// What a path names, following symbolic links (one that leads nowhere is Missing).
enum class EntryKind { Missing, RegularFile, Folder, Other };
EntryKind entryKind(const std::string& path);
bool folderExists(const std::string& path);
bool isWritableFolder(const std::string& path);
bool deleteFile(const std::string& path);
// Gives the file at from the name to (in the same folder); false, with errno set, when it cannot.
bool renameFile(const std::string& from, const std::string& to);

// Makes an empty file where nothing stands yet, in one step that no other
// process (nor another host sharing the folder) can take at the same time:
// 0 when this call made it, EEXIST when anything stood there, else the
// system's error number.
int createNewFile(const std::string& path);

// The size of the file at path in bytes; -1 when there is none (or it is a folder).
std::int64_t fileSize(const std::string& path);

// Makes a folder and every missing parent, parents first. A path shorter than
// three bytes or a folder that exists counts as done. The result is not reported:
// a folder that cannot be made shows up as files that cannot be written.
void createFolderWithParents(const std::string& path);

// The same, reporting: 0 when the folder exists afterwards, else the system's
// error number of the step that failed (ENOTDIR when a file is in the way).
int makeFolderWithParents(const std::string& path);

// The system's description of an error number.
std::string errorText(int error);

// Opens a document or an address with the desktop's handler, without waiting.
bool openWithDesktop(const std::string& documentOrAddress);

// Seconds to add to a UTC time to get the local time at that moment.
std::int64_t utcOffsetAt(std::int64_t utcSeconds);

// The user's home folder.
std::string homeFolder();

// $XDG_CONFIG_HOME/kelmora, else ~/.config/kelmora (not created here).
std::string userConfigFolder();

// The system-wide configuration folders of the program, most important first:
// "kelmora" in each absolute folder of $XDG_CONFIG_DIRS (/etc/xdg when unset or
// empty). None on Windows. They need not exist.
std::vector<std::string> systemConfigFolders();

// The user's pictures folder (XDG_PICTURES_DIR, from the environment or
// user-dirs.dirs), else the home folder.
std::string userPicturesFolder();

}  // namespace kelmora::platform
