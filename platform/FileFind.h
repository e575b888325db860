#pragma once
// Looking up entries of a folder by a wildcard pattern with Windows rules:
// "*" is any run of characters, "?" one character, "*.*" matches every name
// (also names without a dot) and a pattern ending in "." matches names without
// an extension. matchesWildcard compares names case-sensitively, as a POSIX
// file system does; on Windows the look-up is the system's own.

#include <cstdint>
#include <ctime>
#include <memory>
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
    // The entry itself is a link (on Windows also a junction). On POSIX the
    // attributes describe its target; on Windows the link itself.
    bool isSymbolicLink = false;
    FileTime creationTime;
    FileTime writeTime;
    FileTime accessTime;
};

// How much a listing tells about each entry it reports.
enum class EntryFacts {
    // The name, the directory bit (a link counts as what it points to), the
    // link flag and what the name says (hidden). On POSIX this comes from the
    // folder listing itself: an entry is examined only when the listing does
    // not say its type, or when it is a link. Size, times and the read-only
    // bit stay empty there.
    NameAndKind,
    // Everything FileFindData holds: on POSIX every entry is examined.
    Full,
};

// True when name matches the wildcard pattern by the rules above.
bool matchesWildcard(std::string_view pattern, std::string_view name, CodePage cp = systemCodePage());

// Looks up exactly the entry that path names (no wildcards; a trailing
// separator names the folder itself), at any length. False when there is none.
bool lookUpEntry(const std::string& path, FileFindData& data);

// One look-up: first() starts it, next() moves on; the folder is closed by the
// destructor or the next first().
//   first("/v/*.avi")  every matching entry of /v ("." and ".." included, as "*" matches them)
//   first("/v/a.avi")  that one entry, when it exists
//   first("/v/")       the folder /v itself (a trailing "/" names the folder)
class FileFind {
public:
    FileFind();
    ~FileFind();
    FileFind(const FileFind&) = delete;
    FileFind& operator=(const FileFind&) = delete;

    // facts: what data() must hold for each listed entry (a plain name is
    // looked up whole either way).
    bool first(const std::string& pathOrPattern, EntryFacts facts = EntryFacts::Full);
    // The same, reporting only folders (and links to folders); the other entries
    // are passed over without being examined, which makes a tree walk much cheaper.
    bool firstFolder(const std::string& pathOrPattern, EntryFacts facts = EntryFacts::Full);
    bool next();
    void close();
    const FileFindData& data() const { return m_data; }

private:
    struct Listing;  // the system's open folder listing
    struct ListingCloser {
        void operator()(Listing* listing) const;
    };
    using ListingPtr = std::unique_ptr<Listing, ListingCloser>;

    bool start(const std::string& pathOrPattern, bool foldersOnly, EntryFacts facts);

    // Each system's own: the last step of a path, where a wildcard makes it a
    // pattern; and the listing of the entries a pattern names (null when its
    // folder cannot be listed), name being its last step.
    static std::string wildcardStep(const std::string& pathOrPattern);
    static ListingPtr openListing(const std::string& pathOrPattern, const std::string& name);

    ListingPtr m_listing;
    bool m_foldersOnly = false;
    EntryFacts m_facts = EntryFacts::Full;
    FileFindData m_data;
};

}  // namespace kelmora::platform
