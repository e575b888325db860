#include "platform/RecordFile.h"

#include <windows.h>

#include <cerrno>

namespace kelmora::platform {

namespace {

int errorNumber(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND: return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EBUSY;
    default: return EIO;
    }
}

}  // namespace

int appendInOneWrite(const std::string& path, const std::string& bytes)
{
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return errorNumber(::GetLastError());
    // Appending writers take turns on a lock past any record (append access
    // alone is not one step on every file system): each record lands whole,
    // at the end as it stands then.
    OVERLAPPED turn{};
    turn.Offset = 0xFFFFFFFF;
    turn.OffsetHigh = 0x7FFFFFFF;
    int error = 0;
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn)) {
        error = errorNumber(::GetLastError());
    } else {
        DWORD written = 0;
        const LARGE_INTEGER none{};
        if (!::SetFilePointerEx(file, none, nullptr, FILE_END)
            || !::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            error = errorNumber(::GetLastError());
        else if (written != bytes.size()) error = ENOSPC;
        ::UnlockFileEx(file, 0, 1, 0, &turn);
    }
    ::CloseHandle(file);
    return error;
}

std::optional<std::string> readWholeFile(const std::string& path)
{
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errno = errorNumber(::GetLastError());
        return std::nullopt;
    }
    std::string text;
    char buffer[65536];
    DWORD n = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &n, nullptr)) && n > 0) text.append(buffer, n);
    if (!ok) errno = errorNumber(::GetLastError());
    ::CloseHandle(file);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<FileStamp> fileStamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FileStamp stamp;
    stamp.size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // 100 ns ticks since 1601 to nanoseconds since 1970.
    const std::int64_t ticks =
        (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    stamp.modifiedNs = (ticks - 116444736000000000LL) * 100;
    return stamp;
}

}  // namespace kelmora::platform
