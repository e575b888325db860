#pragma once
// Looking up entries of a folder by a wildcard pattern with Windows rules:
// "*" is any run of characters, "?" one character, "*.*" matches every name
// (also names without a dot) and a pattern ending in "." matches names without
// an extension. Names are compared case-sensitively, as the file system does.

#include <cstdint>
#include <ctime>
#include <dirent.h>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kelmora::platform {

// Attribute bits of an entry, with the values the Windows file functions use.
enum FileAttribute : std::uint32_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSystem = 0x04,
    faDirectory = 0x10,
    faArchive = 0x20,
};

struct FileTime {
    bool valid = false;
    std::time_t seconds = 0;  // UTC seconds since 1970
};

struct FileFindData {
    std::string name;              // the entry's name without its folder
    std::uint64_t size = 0;        // bytes; 0 for folders
    std::uint32_t attributes = 0;  // FileAttribute bits
    bool isSymbolicLink = false;   // the entry itself is a link (attributes describe its target)
    FileTime creationTime;
    FileTime writeTime;
    FileTime accessTime;
};

// True when name matches the wildcard pattern by the rules above.
bool matchesWildcard(std::string_view pattern, std::string_view name, CodePage cp = systemCodePage());

// Opens a folder for reading its entries, by a path of any length (deep trees
// of long names run past PATH_MAX); empty is the current folder. The caller
// closes the descriptor. -1 (errno set) when it cannot be opened.
int openFolder(const std::string& path);

// Looks up exactly the entry that path names (no wildcards; a trailing "/"
// names the folder itself), at any length. False when there is none.
bool lookUpEntry(const std::string& path, FileFindData& data);

// One look-up: first() starts it, next() moves on; the folder is closed by the
// destructor or the next first().
//   first("/v/*.avi")  every matching entry of /v ("." and ".." included, as "*" matches them)
//   first("/v/a.avi")  that one entry, when it exists
//   first("/v/")       the folder /v itself (a trailing "/" names the folder)
class FileFind {
public:
    FileFind() = default;
    ~FileFind();
    FileFind(const FileFind&) = delete;
    FileFind& operator=(const FileFind&) = delete;

    bool first(const std::string& pathOrPattern);
    // The same, reporting only folders (and links to folders); the other entries
    // are passed over without being examined, which makes a tree walk much cheaper.
    bool firstFolder(const std::string& pathOrPattern);
    bool next();
    void close();
    const FileFindData& data() const { return data_; }

private:
    bool start(const std::string& pathOrPattern, bool foldersOnly);

    DIR* dir_ = nullptr;
    bool foldersOnly_ = false;
    std::string pattern_;
    FileFindData data_;
};

}  // namespace kelmora::platform
