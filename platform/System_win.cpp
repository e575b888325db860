#include "platform/System.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/Paths.h"
#include "platform/SystemSteps.h"

namespace kelmora::platform {

namespace {

constexpr auto W = PathStyle::Windows;

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// GetFileAttributesA, or INVALID_FILE_ATTRIBUTES for an empty path.
DWORD attributesOf(const std::string& path)
{
    return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
}

// One of the user's shell folders (CSIDL_...), or empty.
std::string shellFolder(int folder)
{
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

// Calls fill(buffer, size) (a Windows call that returns the length it needs
// when the buffer is too small) until the whole text fits.
template <typename Fill>
std::string withGrowingBuffer(Fill fill)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, n + 1));
    }
}

}  // namespace

std::string programPath()
{
    // GetModuleFileNameA fills the buffer to the brim (and cuts) when it is too small.
    return withGrowingBuffer([](char* buffer, DWORD size) {
        const DWORD n = ::GetModuleFileNameA(nullptr, buffer, size);
        return n >= size ? size : n;
    });
}

std::string expandFileName(const std::string& path)
{
    if (path.empty()) return expandFileName(".");
    const std::string full = withGrowingBuffer(
        [&path](char* buffer, DWORD size) { return ::GetFullPathNameA(path.c_str(), size, buffer, nullptr); });
    return full.empty() ? path : full;
}

std::string resolveLinks(const std::string& path)
{
    const HANDLE file = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return expandFileName(path);
    std::string final = withGrowingBuffer([file](char* buffer, DWORD size) {
        return ::GetFinalPathNameByHandleA(file, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    });
    ::CloseHandle(file);
    if (final.empty()) return expandFileName(path);
    // "\\?\C:\v" -> "C:\v"; "\\?\UNC\srv\share" -> "\\srv\share".
    if (final.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + final.substr(8);
    if (final.rfind("\\\\?\\", 0) == 0) return final.substr(4);
    return final;
}

bool fileExists(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool entryExists(const std::string& path) { return attributesOf(path) != INVALID_FILE_ATTRIBUTES; }

EntryKind entryKind(const std::string& path)
{
    if (path.empty()) return EntryKind::Missing;
    // Opening the entry follows a link to what it names.
    const HANDLE entry = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (entry == INVALID_HANDLE_VALUE) {
        const DWORD attributes = attributesOf(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return EntryKind::Missing;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::RegularFile;
    }
    EntryKind kind = EntryKind::Other;  // a device such as NUL or COM1
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(entry) == FILE_TYPE_DISK && ::GetFileInformationByHandle(entry, &information)) {
        kind = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::RegularFile;
    }
    ::CloseHandle(entry);
    return kind;
}

bool isWritableFolder(const std::string& path)
{
    // A folder's read-only bit says nothing about its files: try making one.
    if (!folderExists(path)) return false;
    char probe[MAX_PATH];
    if (::GetTempFileNameA(path.c_str(), "kel", 0, probe) == 0) return false;
    ::DeleteFileA(probe);
    return true;
}

bool deleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool renameFile(const std::string& from, const std::string& to)
{
    if (::MoveFileA(from.c_str(), to.c_str()) != 0) return true;
    errno = ::GetLastError() == ERROR_ALREADY_EXISTS ? EEXIST : EACCES;
    return false;
}

int createNewFile(const std::string& path)
{
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        return 0;
    }
    switch (::GetLastError()) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND: return ENOENT;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

std::int64_t fileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)
        || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int folderState(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return ENOENT;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ENOTDIR;
}

int makeOneFolder(const std::string& path)
{
    if (::CreateDirectoryA(path.c_str(), nullptr)) return 0;
    switch (::GetLastError()) {
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND: return ENOENT;
    case ERROR_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

bool openWithDesktop(const std::string& documentOrAddress)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", documentOrAddress.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::int64_t utcOffsetAt(std::int64_t utcSeconds)
{
    // The system's own conversion, with today's bias as Windows applies it to file times.
    constexpr std::int64_t ticksPerSecond = 10'000'000;
    constexpr std::int64_t epochTicks = 116'444'736'000'000'000;  // 1601-01-01 to 1970-01-01
    const std::int64_t ticks = utcSeconds * ticksPerSecond + epochTicks;
    FILETIME utc{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    FILETIME local{};
    if (ticks < 0 || !::FileTimeToLocalFileTime(&utc, &local)) return 0;
    const std::int64_t localTicks = (static_cast<std::int64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
    return (localTicks - ticks) / ticksPerSecond;
}

std::string homeFolder()
{
    const std::string profile = environment("USERPROFILE");
    if (!profile.empty()) return profile;
    const std::string shell = shellFolder(CSIDL_PROFILE);
    return shell.empty() ? "C:\\" : shell;
}

std::string userConfigFolder()
{
    std::string appData = shellFolder(CSIDL_APPDATA);
    if (appData.empty()) appData = environment("APPDATA");
    if (appData.empty()) appData = joinPath(homeFolder(), "AppData\\Roaming", W);
    return joinPath(appData, "Kelmora", W);
}

std::vector<std::string> systemConfigFolders() { return {}; }

std::string userPicturesFolder()
{
    const std::string pictures = shellFolder(CSIDL_MYPICTURES);
    if (!pictures.empty() && folderExists(pictures)) return removeTrailingSeparator(pictures, W);
    return homeFolder();
}

}  // namespace kelmora::platform
