#include "platform/ProfileFile.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Paths.h"

namespace kelmora::platform {

namespace {

// Closes a descriptor when it goes out of scope (which also drops its lock).
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Reads the whole file; one that grows past the size limit while it is read
// stops the reading there and fails with EFBIG.
bool readAll(int fd, std::string& content)
{
    content.clear();
    char buffer[8192];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        content.append(buffer, static_cast<std::size_t>(n));
        offset += n;
        if (content.size() > kProfileSizeLimit) {
            content.clear();
            errno = EFBIG;
            return false;
        }
    }
}

bool tooLarge(const struct stat& st) { return static_cast<std::uintmax_t>(st.st_size) > kProfileSizeLimit; }

bool writeAll(int fd, std::string_view data, off_t offset)
{
    while (!data.empty()) {
        const ssize_t n = ::pwrite(fd, data.data(), data.size(), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

bool isRefusal(int error) { return error == EACCES || error == EPERM; }

// The file a name finally stands for: a link is followed, link by link, to the
// name it points at, which need not exist yet. Writing there keeps the link.
std::string linkTarget(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0 || static_cast<std::size_t>(n) >= buffer.size()) return path;  // changed under us
        std::string target(buffer.data(), static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : folderPartWithSeparator(path, PathStyle::Posix) + target;
    }
    return path;  // a loop: opening it reports ELOOP
}

// Rewrites the open file itself; on failure the old text is put back as far as
// the disk allows.
bool rewriteInPlace(int fd, std::string_view oldContent, std::string_view content)
{
    if (writeAll(fd, content, 0) && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0)
        return true;
    const int error = errno;
    // The save has failed either way, for the first error; once the old text
    // is back whole, it is made as lasting as the new one would have been.
    if (writeAll(fd, oldContent, 0) && ::ftruncate(fd, static_cast<off_t>(oldContent.size())) == 0) ::fsync(fd);
    errno = error;
    return false;
}

// Puts content in place of the open file fd (named path, described by st):
// a temporary file in the same folder renamed over it, or, when the folder
// refuses that, the file rewritten in place.
bool replaceContent(const std::string& path, int fd, const struct stat& st, std::string_view oldContent,
                    std::string_view content)
{
    std::string temporary =
        folderPartWithSeparator(path, PathStyle::Posix) + "." + fileNamePart(path, PathStyle::Posix) + ".XXXXXX";
    const Descriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!out.isOpen()) {
        if (isRefusal(errno) || errno == ENAMETOOLONG) return rewriteInPlace(fd, oldContent, content);
        return false;
    }
    if (::fchmod(out.get(), st.st_mode & 07777) == 0 && writeAll(out.get(), content, 0) && ::fsync(out.get()) == 0
        && ::rename(temporary.c_str(), path.c_str()) == 0) {
        return true;
    }
    const int error = errno;
    ::unlink(temporary.c_str());
    // A sticky folder lets us make files but not replace one that is not ours.
    if (isRefusal(error)) return rewriteInPlace(fd, oldContent, content);
    errno = error;
    return false;
}

}  // namespace

ProfileState ProfileFile::load(ProfileText& text) const
{
    text = ProfileText();
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const Descriptor fd(::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isOpen()) {
        if (errno == ENOENT) return ProfileState::Missing;
        return errno == ENXIO ? ProfileState::NotAFile : ProfileState::Unreadable;  // ENXIO: a socket
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return ProfileState::Unreadable;
    if (!S_ISREG(st.st_mode)) return ProfileState::NotAFile;
    if (tooLarge(st)) return ProfileState::TooLarge;
    std::string content;
    if (!readAll(fd.get(), content)) return errno == EFBIG ? ProfileState::TooLarge : ProfileState::Unreadable;
    text = ProfileText(std::move(content));
    return ProfileState::Read;
}

bool ProfileFile::update(const std::function<void(ProfileText&)>& edit, ProfileText* result, ProfileLockWait wait)
{
    const int lockMode = wait == ProfileLockWait::Try ? LOCK_EX | LOCK_NB : LOCK_EX;
    const std::string target = linkTarget(m_path);
    for (;;) {
        // The lock is taken on the file itself. A save renames a new file into
        // place, so whoever waited for the lock on the old one starts again.
        const Descriptor fd(::open(target.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666));
        if (!fd.isOpen()) return false;
        struct stat opened {};
        if (::fstat(fd.get(), &opened) != 0) return false;
        if (!S_ISREG(opened.st_mode)) {
            errno = EINVAL;
            return false;
        }
        while (::flock(fd.get(), lockMode) != 0) {
            if (errno == EWOULDBLOCK) errno = EAGAIN;
            if (errno != EINTR) return false;
        }
        struct stat current {};
        if (::stat(target.c_str(), &current) != 0 || current.st_ino != opened.st_ino
            || current.st_dev != opened.st_dev) {
            continue;
        }
        // A read-only file stays as it is (also for root, who passes every access check).
        if (!(current.st_mode & 0222)) {
            errno = EACCES;
            return false;
        }
        // A file far beyond any real size is left as it is, unread.
        if (tooLarge(current)) {
            errno = EFBIG;
            return false;
        }
        std::string oldContent;
        if (!readAll(fd.get(), oldContent)) return false;
        ProfileText text(oldContent);
        edit(text);
        if (text.content().size() > kProfileSizeLimit) {
            errno = EFBIG;
            return false;
        }
        if (text.content() != oldContent && !replaceContent(target, fd.get(), current, oldContent, text.content())) {
            return false;
        }
        if (result) *result = std::move(text);
        return true;
    }
}

}  // namespace kelmora::platform
