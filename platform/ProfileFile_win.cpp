#include "platform/ProfileFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include <windows.h>

#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora::platform {

namespace {

constexpr auto W = PathStyle::Windows;

// Windows text files end their lines in CR LF, and so does a new profile file.
constexpr const char* kNewLine = "\r\n";

int errnoFor(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_FILE_TOO_LARGE: return EFBIG;
    default: return EIO;
    }
}

// Fails with errno set from the system's last error.
bool failWithLastError()
{
    errno = errnoFor(::GetLastError());
    return false;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (isOpen()) ::CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }
    bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }

private:
    HANDLE m_handle;
};

HANDLE openForReading(const std::string& path)
{
    return ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads the whole file; one past the size limit fails with EFBIG, read no further.
bool readAll(HANDLE file, std::string& content)
{
    content.clear();
    errno = 0;
    char buffer[8192];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &n, nullptr)) return false;
        if (n == 0) return true;
        content.append(buffer, n);
        if (content.size() > kProfileSizeLimit) {
            content.clear();
            ::SetLastError(ERROR_FILE_TOO_LARGE);
            errno = EFBIG;
            return false;
        }
    }
}

bool writeAll(HANDLE file, std::string_view data)
{
    while (!data.empty()) {
        DWORD n = 0;
        const DWORD chunk = data.size() > 1u << 20 ? 1u << 20 : static_cast<DWORD>(data.size());
        if (!::WriteFile(file, data.data(), chunk, &n, nullptr) || n == 0) return false;
        data.remove_prefix(n);
    }
    return true;
}

bool isRefusal(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION; }

// Serialises the updates of one file across every process of the session. A
// lock held on the file itself would keep it open, and Windows refuses to
// replace an open file: the lock is a mutex named after the file's full path.
class UpdateLock {
public:
    explicit UpdateLock(const std::string& path, ProfileLockWait wait = ProfileLockWait::Block)
    {
        std::uint64_t hash = 0xcbf29ce484222325ULL;  // FNV-1a over the path, case folded as the file system does
        for (const char c : expandFileName(path)) {
            hash ^= static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c == '/' ? '\\' : c);
            hash *= 0x100000001b3ULL;
        }
        char name[64];
        std::snprintf(name, sizeof name, "Local\\kelmora-profile-%016llx", static_cast<unsigned long long>(hash));
        m_mutex = ::CreateMutexA(nullptr, FALSE, name);
        // An owner that ended without letting go leaves the mutex abandoned: ours now.
        const DWORD waited =
            m_mutex ? ::WaitForSingleObject(m_mutex, wait == ProfileLockWait::Try ? 0 : INFINITE) : WAIT_FAILED;
        m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        m_busy = waited == WAIT_TIMEOUT;
    }
    ~UpdateLock()
    {
        if (m_held) ::ReleaseMutex(m_mutex);
        if (m_mutex) ::CloseHandle(m_mutex);
    }
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;
    bool held() const { return m_held; }
    bool busy() const { return m_busy; }  // another update holds it (a try only)

private:
    HANDLE m_mutex = nullptr;
    bool m_held = false;
    bool m_busy = false;
};

// Rewrites the file itself; on failure the old text is put back as far as the disk allows.
bool rewriteInPlace(const std::string& path, std::string_view oldContent, std::string_view content)
{
    const Handle file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) return failWithLastError();
    if (writeAll(file.get(), content) && ::SetEndOfFile(file.get()) && ::FlushFileBuffers(file.get())) return true;
    const DWORD error = ::GetLastError();
    LARGE_INTEGER start{};
    if (::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) && writeAll(file.get(), oldContent))
        ::SetEndOfFile(file.get());
    errno = errnoFor(error);
    return false;
}

// Puts content in place of the file: a temporary file in the same folder moved
// over it, or, when the folder refuses that, the file rewritten in place.
bool replaceContent(const std::string& path, std::string_view oldContent, std::string_view content)
{
    std::string folder = folderPartWithSeparator(path, W);
    if (folder.empty()) folder = ".";
    char temporary[MAX_PATH];
    if (::GetTempFileNameA(folder.c_str(), "kel", 0, temporary) == 0) {
        if (isRefusal(::GetLastError())) return rewriteInPlace(path, oldContent, content);
        return failWithLastError();
    }
    bool written = false;
    {
        const Handle out(
            ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = out.isOpen() && writeAll(out.get(), content) && ::FlushFileBuffers(out.get());
    }
    if (written && ::MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = ::GetLastError();
    ::DeleteFileA(temporary);
    // A file that someone holds open cannot be replaced, but it can be rewritten.
    if (written && isRefusal(error)) return rewriteInPlace(path, oldContent, content);
    errno = errnoFor(error);
    return false;
}

}  // namespace

ProfileState ProfileFile::load(ProfileText& text) const
{
    text = ProfileText();
    // A save that finds the file open (also by a reader) cannot move its new
    // text into place and rewrites the file instead: reading under the update
    // lock never sees half of such a rewrite.
    const UpdateLock lock(m_path);
    const DWORD attributes = ::GetFileAttributesA(m_path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ProfileState::Missing
                                                                              : ProfileState::Unreadable;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ProfileState::NotAFile;
    const Handle file(openForReading(m_path));
    if (!file.isOpen()) return ProfileState::Unreadable;
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return ProfileState::NotAFile;  // a device such as NUL
    std::string content;
    if (!readAll(file.get(), content)) return errno == EFBIG ? ProfileState::TooLarge : ProfileState::Unreadable;
    text = ProfileText(std::move(content), kNewLine);
    return ProfileState::Read;
}

bool ProfileFile::update(const std::function<void(ProfileText&)>& edit, ProfileText* result, ProfileLockWait wait)
{
    const UpdateLock lock(m_path, wait);
    if (lock.busy()) {
        errno = EAGAIN;
        return false;
    }
    if (!lock.held()) return failWithLastError();

    std::string oldContent;
    const DWORD attributes = ::GetFileAttributesA(m_path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            errno = EINVAL;
            return false;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            errno = EACCES;
            return false;
        }
        const Handle file(openForReading(m_path));
        if (!file.isOpen()) return failWithLastError();
        if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
            errno = EINVAL;
            return false;
        }
        if (!readAll(file.get(), oldContent)) return errno == EFBIG ? false : failWithLastError();
    } else if (const DWORD error = ::GetLastError(); error != ERROR_FILE_NOT_FOUND) {
        errno = errnoFor(error);  // a missing folder among them
        return false;
    }
    ProfileText text(oldContent, kNewLine);
    edit(text);
    if (text.content().size() > kProfileSizeLimit) {
        errno = EFBIG;
        return false;
    }
    if (text.content() != oldContent && !replaceContent(m_path, oldContent, text.content())) return false;
    if (result) *result = std::move(text);
    return true;
}

}  // namespace kelmora::platform
