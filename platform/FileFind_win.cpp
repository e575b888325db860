#include "platform/FileFind.h"

#include <windows.h>

#include "platform/CodePage.h"
#include "platform/Paths.h"

namespace kelmora::platform {

namespace {

constexpr std::uint32_t kKeptAttributes = faReadOnly | faHidden | faSystem | faDirectory | faArchive;

FileTime fileTime(const FILETIME& time)
{
    constexpr std::int64_t ticksPerSecond = 10'000'000;
    constexpr std::int64_t epochTicks = 116'444'736'000'000'000;  // 1601-01-01 to 1970-01-01
    const std::int64_t ticks = (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (ticks == 0) return {};  // the file system keeps no such time
    const std::int64_t since1970 = ticks - epochTicks;
    const std::int64_t seconds =
        since1970 >= 0 ? since1970 / ticksPerSecond : (since1970 - ticksPerSecond + 1) / ticksPerSecond;
    return {true, static_cast<std::time_t>(seconds)};
}

bool isLink(DWORD attributes, DWORD reparseTag)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
           && (reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT);
}

void fill(const WIN32_FIND_DATAA& found, FileFindData& data)
{
    data.name = found.cFileName;
    const bool isDirectory = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    data.size = isDirectory ? 0 : (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    data.attributes = found.dwFileAttributes & kKeptAttributes;
    data.isSymbolicLink = isLink(found.dwFileAttributes, found.dwReserved0);
    data.creationTime = fileTime(found.ftCreationTime);
    data.writeTime = fileTime(found.ftLastWriteTime);
    data.accessTime = fileTime(found.ftLastAccessTime);
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// The part after the last "\", "/" or ":" (the system takes "/" for "\"),
// stepping over double-byte characters whole: the second byte of a kanji may
// have the code of "\".
std::string_view lastStep(std::string_view path)
{
    const CodePage cp = systemCodePage();
    std::size_t stepStart = 0;
    for (std::size_t at = 0; at < path.size(); at = charEnd(path, at, cp))
        if (isSeparator(path[at]) || path[at] == ':') stepStart = at + 1;
    return path.substr(stepStart);
}

// True when the last whole character of path is a separator.
bool endsInSeparator(std::string_view path)
{
    const std::size_t last = lastCharStart(path, systemCodePage());
    return last != std::string_view::npos && last == path.size() - 1 && isSeparator(path[last]);
}

bool hasWildcard(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

// A drive ("C:", "C:\") or a share ("\\srv\share"): no folder lists it as an entry.
bool isRoot(std::string_view path)
{
    if (path.size() == 2 && path[1] == ':') return true;
    if (path.size() == 3 && path[1] == ':' && isSeparator(path[2])) return true;
    if (path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        // Separators are found by whole characters: a server or share name may end in a kanji.
        const CodePage cp = systemCodePage();
        const std::size_t server = findChar(path, "\\/", 2, cp);
        if (server == std::string_view::npos) return false;
        const std::size_t share = findChar(path, "\\/", server + 1, cp);
        return share == std::string_view::npos || share == path.size() - 1;
    }
    return false;
}

// A root, described by the system's attributes of it.
bool lookUpRoot(const std::string& path, FileFindData& data)
{
    WIN32_FILE_ATTRIBUTE_DATA found{};
    std::string root = path;
    if (!isSeparator(root.back())) root += '\\';
    if (!::GetFileAttributesExA(root.c_str(), GetFileExInfoStandard, &found)) return false;
    data.name = path;
    data.attributes = found.dwFileAttributes & kKeptAttributes;
    data.creationTime = fileTime(found.ftCreationTime);
    data.writeTime = fileTime(found.ftLastWriteTime);
    data.accessTime = fileTime(found.ftLastAccessTime);
    return true;
}

}  // namespace

struct FileFind::Listing {
    HANDLE handle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA pending{};  // FindFirstFileA's entry, not yet reported
    bool hasPending = false;

    ~Listing()
    {
        if (handle != INVALID_HANDLE_VALUE) ::FindClose(handle);
    }
};

bool lookUpEntry(const std::string& path, FileFindData& data)
{
    data = {};
    if (path.empty() || hasWildcard(lastStep(path))) return false;
    if (isRoot(path)) return lookUpRoot(path, data);
    std::string entry = path;
    const bool wantFolder = endsInSeparator(entry);
    while (entry.size() > 1 && endsInSeparator(entry)) entry.pop_back();
    if (wantFolder && isRoot(entry)) return lookUpRoot(entry, data);
    WIN32_FIND_DATAA found{};
    const HANDLE handle = ::FindFirstFileA(entry.c_str(), &found);
    if (handle == INVALID_HANDLE_VALUE) return false;
    ::FindClose(handle);
    fill(found, data);
    return !wantFolder || (data.attributes & faDirectory);
}

void FileFind::ListingCloser::operator()(Listing* listing) const { delete listing; }

std::string FileFind::wildcardStep(const std::string& pathOrPattern) { return std::string(lastStep(pathOrPattern)); }

// The listing carries the whole record of every entry, so the facts asked for change nothing here.
FileFind::ListingPtr FileFind::openListing(const std::string& pathOrPattern, const std::string& /*name*/)
{
    ListingPtr listing(new Listing);
    listing->handle = ::FindFirstFileA(pathOrPattern.c_str(), &listing->pending);
    if (listing->handle == INVALID_HANDLE_VALUE) return nullptr;
    listing->hasPending = true;
    return listing;
}

bool FileFind::next()
{
    if (!m_listing) return false;
    for (;;) {
        WIN32_FIND_DATAA found{};
        if (m_listing->hasPending) {
            found = m_listing->pending;
            m_listing->hasPending = false;
        } else if (!::FindNextFileA(m_listing->handle, &found)) {
            break;
        }
        if (m_foldersOnly && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        fill(found, m_data);
        return true;
    }
    close();
    return false;
}

}  // namespace kelmora::platform
