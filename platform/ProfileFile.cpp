#include "platform/ProfileFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
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

bool readWholeFile(const std::string& path, std::string& content)
{
    content.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes content to path through a temporary file in the same folder and a rename,
// so the file is either the old one or the new one, never half of each.
bool replaceFile(const std::string& path, std::string_view content)
{
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    // A read-only file stays as it is (also for root, who passes every access check).
    if (exists && (::access(path.c_str(), W_OK) != 0 || !(existing.st_mode & 0222))) {
        errno = EACCES;
        return false;
    }

    std::string pattern = folderPartWithSeparator(path, PathStyle::Posix) + ".Kelmora-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return false;
    const mode_t mode = exists ? (existing.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(pattern.c_str(), path.c_str()) == 0) return true;
    const int savedErrno = ok ? errno : writeErrno;
    ::unlink(pattern.c_str());
    errno = savedErrno;
    return false;
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const
{
    std::string content;
    if (!readWholeFile(path_, content)) return std::nullopt;
    bool inSection = false;
    for (const Line& line : splitLines(content)) {
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

bool ProfileFile::write(std::string_view section, std::string_view key, std::string_view value)
{
    value = value.substr(0, value.find_first_of("\r\n"));
    section = trim(section);
    key = trim(key);

    // A file that exists must be read, or its other lines would be lost.
    std::string content;
    if (!readWholeFile(path_, content) && errno != ENOENT) return false;
    const std::vector<Line> lines = splitLines(content);

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
    text.reserve(content.size() + keyText.size() + sectionText.size() + 8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        text += out[i].text;
        // A last line without an ending gets one when something now follows it.
        text += (out[i].ending.empty() && i + 1 < out.size()) ? newline : out[i].ending;
    }
    return replaceFile(path_, text);
}

}  // namespace kelmora::platform
