#include "platform/FileFind_posix.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Paths.h"

namespace kelmora::platform {

namespace {

FileTime fileTime(const statx_timestamp& t, bool present) { return {present, static_cast<std::time_t>(t.tv_sec)}; }

// Nobody may write it, or the user may not (root passes every permission check,
// so a file without any write bit counts as read-only for root too).
bool readOnlyFor(const struct statx& st)
{
    static const uid_t user = ::geteuid();  // fixed for the life of the program
    static const gid_t group = ::getegid();
    if (!(st.stx_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) return true;
    if (user == 0) return false;
    if (st.stx_uid == user) return !(st.stx_mode & S_IWUSR);
    if (st.stx_gid == group) return !(st.stx_mode & S_IWGRP);
    return !(st.stx_mode & S_IWOTH);
}

bool isHiddenName(const std::string& name)
{
    return !name.empty() && name.front() == '.' && name != "." && name != "..";
}

// What the name alone tells: the name itself, and a leading "." hides it.
void describeByName(std::string name, FileFindData& data)
{
    data = {};
    data.name = std::move(name);
    if (isHiddenName(data.name)) data.attributes |= faHidden;
}

// Fills data by examining the entry name inside the folder dirFd (AT_FDCWD:
// name is a path); only its type unless facts asks for the full record.
bool fillEntry(int dirFd, const char* name, std::string displayName, EntryFacts facts, FileFindData& data)
{
    const bool full = facts == EntryFacts::Full;
    const unsigned mask =
        full ? STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME
             : STATX_TYPE;
    struct statx st {};
    if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &st) != 0) return false;
    const bool isLink = S_ISLNK(st.stx_mode);
    if (isLink) {
        // A link is described by what it points to; a dangling link by itself.
        struct statx target {};
        if (::statx(dirFd, name, AT_NO_AUTOMOUNT, mask, &target) == 0) st = target;
    }
    describeByName(std::move(displayName), data);
    data.isSymbolicLink = isLink;
    const bool isDirectory = S_ISDIR(st.stx_mode);
    if (isDirectory) data.attributes |= faDirectory;
    if (!full) return true;
    data.size = isDirectory ? 0 : st.stx_size;
    if (readOnlyFor(st)) data.attributes |= faReadOnly;
    data.creationTime = fileTime(st.stx_btime, st.stx_mask & STATX_BTIME);
    data.writeTime = fileTime(st.stx_mtime, st.stx_mask & STATX_MTIME);
    data.accessTime = fileTime(st.stx_atime, st.stx_mask & STATX_ATIME);
    return true;
}

// Opens a folder for reading its entries, by a path of any length (deep trees
// of long names run past PATH_MAX); empty is the current folder. The caller
// closes the descriptor. -1 (errno set) when it cannot be opened.
int openFolder(const std::string& path)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (path.empty()) return ::open(".", flags);
    if (path.size() < PATH_MAX) return ::open(path.c_str(), flags);
    // The system takes paths shorter than PATH_MAX in one call: open a longer
    // one piece by piece, each piece a run of whole steps relative to the
    // folder the piece before it opened.
    int folder = AT_FDCWD;
    std::string_view rest(path);
    while (!rest.empty()) {
        std::size_t cut = rest.size();
        if (cut >= PATH_MAX) {
            cut = rest.rfind('/', PATH_MAX - 1);
            if (cut == std::string_view::npos || cut == 0) cut = rest.size();  // refused below as too long
        }
        const int next = ::openat(folder, std::string(rest.substr(0, cut)).c_str(), flags);
        const int error = errno;
        if (folder != AT_FDCWD) ::close(folder);
        if (next < 0) {
            errno = error;
            return -1;
        }
        folder = next;
        rest.remove_prefix(cut);
        while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
    }
    return folder;
}

// Fills data from the entry a path names, also past the system's path limit.
bool fillEntryByPath(const std::string& path, std::string displayName, FileFindData& data)
{
    if (path.size() < PATH_MAX)
        return fillEntry(AT_FDCWD, path.c_str(), std::move(displayName), EntryFacts::Full, data);
    const int folder = openFolder(folderPartWithSeparator(path, PathStyle::Posix));
    if (folder < 0) return false;
    const bool found =
        fillEntry(folder, fileNamePart(path, PathStyle::Posix).c_str(), std::move(displayName), EntryFacts::Full, data);
    ::close(folder);
    return found;
}

}  // namespace

bool describeListedEntry(int folderFd, const char* name, unsigned char listedType, EntryFacts facts, FileFindData& data)
{
    // Only a link needs a look at its target to know whether it is a folder.
    if (facts == EntryFacts::Full || listedType == DT_UNKNOWN || listedType == DT_LNK)
        return fillEntry(folderFd, name, name, facts, data);
    describeByName(name, data);
    if (listedType == DT_DIR) data.attributes |= faDirectory;
    return true;
}

bool lookUpEntry(const std::string& path, FileFindData& data)
{
    data = {};
    if (path.empty()) return false;
    if (path.back() != '/') return fillEntryByPath(path, fileNamePart(path, PathStyle::Posix), data);
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::string name = folder == "/" ? folder : fileNamePart(folder, PathStyle::Posix);
    return fillEntryByPath(folder, name, data) && (data.attributes & faDirectory);
}

struct FileFind::Listing {
    DIR* dir = nullptr;
    std::string pattern;

    ~Listing()
    {
        if (dir) ::closedir(dir);
    }
};

void FileFind::ListingCloser::operator()(Listing* listing) const { delete listing; }

std::string FileFind::wildcardStep(const std::string& pathOrPattern)
{
    return fileNamePart(pathOrPattern, PathStyle::Posix);
}

FileFind::ListingPtr FileFind::openListing(const std::string& pathOrPattern, const std::string& name)
{
    const int folder = openFolder(folderPartWithSeparator(pathOrPattern, PathStyle::Posix));
    if (folder < 0) return nullptr;
    DIR* dir = ::fdopendir(folder);
    if (!dir) {
        ::close(folder);
        return nullptr;
    }
    ListingPtr listing(new Listing);
    listing->dir = dir;
    listing->pattern = name;
    return listing;
}

bool FileFind::next()
{
    if (!m_listing) return false;
    DIR* const dir = m_listing->dir;
    const std::string& pattern = m_listing->pattern;
    const bool matchAll = pattern == "*" || pattern == "*.*";
    while (const dirent* entry = ::readdir(dir)) {
        // The type from the folder listing saves examining every file when only folders count.
        if (m_foldersOnly && entry->d_type != DT_DIR && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
            continue;
        if (!matchAll && !matchesWildcard(pattern, entry->d_name)) continue;
        if (!describeListedEntry(::dirfd(dir), entry->d_name, entry->d_type, m_facts, m_data)) continue;
        if (m_foldersOnly && !(m_data.attributes & faDirectory)) continue;
        return true;
    }
    close();
    return false;
}

}  // namespace kelmora::platform
