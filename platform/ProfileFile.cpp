#include "platform/ProfileFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

#include "platform/Paths.h"

namespace kelmora::platform {

namespace {

struct Line {
    std::string_view text;    // without its line ending
    std::string_view ending;  // "\r\n", "\n", "\r" or empty at the end of the file
};

std::vector<Line> splitLines(std::string_view content)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({content.substr(pos), {}});
            break;
        }
        const std::size_t next =
            (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') ? end + 2
                                                                                           : end + 1;
        lines.push_back({content.substr(pos, end - pos), content.substr(end, next - end)});
        pos = next;
    }
    return lines;
}

std::string_view trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    return trim(close == std::string_view::npos ? line : line.substr(0, close));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// The key and raw value of a "key=value" line; nullopt for comments and other lines.
std::optional<KeyLine> keyLine(std::string_view line)
{
    const std::string_view trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{trim(trimmed.substr(0, eq)), trim(trimmed.substr(eq + 1))};
}

std::string_view unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Quotes a value that would not read back as itself (blanks around it, or a
// matching pair of quotes around it); every ordinary value is written bare.
std::string storedValue(std::string_view value)
{
    const bool needsQuotes = trim(value).size() != value.size() || unquote(value).size() != value.size();
    std::string stored;
    if (needsQuotes) stored += '"';
    stored += value;
    if (needsQuotes) stored += '"';
    return stored;
}

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
    }
}

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
    if (writeAll(fd, oldContent, 0)) (void)::ftruncate(fd, static_cast<off_t>(oldContent.size()));
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


std::optional<std::string> ProfileText::read(std::string_view section, std::string_view key) const
{
    bool inSection = false;
    for (const Line& line : splitLines(m_content)) {
        if (const auto name = sectionName(line.text)) {
            if (inSection) return std::nullopt;  // the first matching section wins
            inSection = sameName(*name, trim(section));
            continue;
        }
        if (!inSection) continue;
        if (const auto entry = keyLine(line.text); entry && sameName(entry->key, trim(key))) {
            return std::string(unquote(entry->value));
        }
    }
    return std::nullopt;
}

void ProfileText::write(std::string_view section, std::string_view key, std::string_view value)
{
    value = value.substr(0, value.find_first_of("\r\n"));
    section = trim(section);
    key = trim(key);

    const std::vector<Line> lines = splitLines(m_content);
    const std::string_view newline =
        !lines.empty() && !lines.front().ending.empty() ? lines.front().ending : std::string_view("\n");
    const std::string keyText = std::string(key) + "=" + storedValue(value);

    std::size_t sectionLine = lines.size();  // the first matching section
    std::size_t lastKeyLine = lines.size();  // its last key line
    std::size_t matchLine = lines.size();    // its first line with the key
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (inSection) break;
            inSection = sameName(*name, section);
            if (inSection) sectionLine = lastKeyLine = i;
            continue;
        }
        if (!inSection) continue;
        if (const auto entry = keyLine(lines[i].text)) {
            lastKeyLine = i;
            if (sameName(entry->key, key)) {
                matchLine = i;
                break;
            }
        }
    }

    std::vector<Line> out;
    out.reserve(lines.size() + 2);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out.push_back(i == matchLine ? Line{keyText, lines[i].ending} : lines[i]);
        // A new key line ends as the line before it: a lone CR before an empty
        // line that ends in LF would otherwise join it into one CRLF.
        if (i == lastKeyLine && matchLine == lines.size())
            out.push_back({keyText, lines[i].ending.empty() ? newline : lines[i].ending});
    }
    std::string sectionText = "[";
    sectionText.append(section).append("]");
    if (sectionLine == lines.size()) {
        out.push_back({sectionText, newline});
        out.push_back({keyText, newline});
    }

    std::string text;
    text.reserve(m_content.size() + keyText.size() + sectionText.size() + 8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        text += out[i].text;
        // A last line without an ending gets one when something now follows it.
        text += (out[i].ending.empty() && i + 1 < out.size()) ? newline : out[i].ending;
    }
    m_content = std::move(text);
}

ProfileFile::ProfileFile(std::string path) : m_path(std::move(path)) {}

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
    std::string content;
    if (!readAll(fd.get(), content)) return ProfileState::Unreadable;
    text = ProfileText(std::move(content));
    return ProfileState::Read;
}

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const
{
    ProfileText text;
    if (load(text) != ProfileState::Read) return std::nullopt;
    return text.read(section, key);
}

bool ProfileFile::write(std::string_view section, std::string_view key, std::string_view value)
{
    return update([&](ProfileText& text) { text.write(section, key, value); });
}

bool ProfileFile::update(const std::function<void(ProfileText&)>& edit, ProfileText* result)
{
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
        while (::flock(fd.get(), LOCK_EX) != 0) {
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
        std::string oldContent;
        if (!readAll(fd.get(), oldContent)) return false;
        ProfileText text(oldContent);
        edit(text);
        if (text.content() != oldContent
            && !replaceContent(target, fd.get(), current, oldContent, text.content())) {
            return false;
        }
        if (result) *result = std::move(text);
        return true;
    }
}

}  // namespace kelmora::platform
