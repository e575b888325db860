#include "platform/System.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/SystemSteps.h"

namespace kelmora::platform {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool statIs(const std::string& path, bool wantFolder)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) == wantFolder;
}

std::string xdgConfigHome()
{
    const std::string configured = environment("XDG_CONFIG_HOME");
    if (!configured.empty() && configured.front() == '/') return configured;
    return joinPath(homeFolder(), ".config", PathStyle::Posix);
}

// The value of XDG_PICTURES_DIR in user-dirs.dirs ("$HOME/Pictures" form), or empty.
std::string picturesFolderFromUserDirs()
{
    std::string content;
    const std::string path = joinPath(xdgConfigHome(), "user-dirs.dirs", PathStyle::Posix);
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return {};
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) content.append(buffer, n);
    std::fclose(in);

    const std::string key = "XDG_PICTURES_DIR=";
    for (std::size_t pos = 0; pos < content.size();) {
        std::size_t end = content.find('\n', pos);
        if (end == std::string::npos) end = content.size();
        std::string_view line(content.data() + pos, end - pos);
        pos = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (line.substr(0, key.size()) != key) continue;
        line.remove_prefix(key.size());
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
        std::string value(line);
        if (value.rfind("$HOME", 0) == 0) value = homeFolder() + value.substr(5);
        return value;
    }
    return {};
}

}  // namespace

std::string programPath()
{
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string expandFileName(const std::string& path)
{
    std::string absolute = path;
    if (absolute.empty() || absolute.front() != '/') {
        std::vector<char> cwd(4096);
        while (!::getcwd(cwd.data(), cwd.size())) {
            if (errno != ERANGE) return path;
            cwd.resize(cwd.size() * 2);
        }
        absolute = joinPath(cwd.data(), path, PathStyle::Posix);
    }
    const bool trailing = absolute.size() > 1 && absolute.back() == '/';
    std::vector<std::string_view> steps;
    std::string_view rest(absolute);
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view step = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (step.empty() || step == ".") continue;
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
            continue;
        }
        steps.push_back(step);
    }
    std::string result;
    for (const std::string_view step : steps) {
        result += '/';
        result += step;
    }
    if (result.empty() || trailing) result += '/';
    return result;
}

std::string resolveLinks(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return expandFileName(path);
    std::string result(resolved);
    std::free(resolved);
    return result;
}

bool fileExists(const std::string& path) { return statIs(path, false); }

bool folderExists(const std::string& path) { return statIs(path, true); }

bool entryExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

EntryKind entryKind(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return EntryKind::Missing;
    if (S_ISREG(st.st_mode)) return EntryKind::RegularFile;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    return EntryKind::Other;
}

bool isWritableFolder(const std::string& path)
{
    return folderExists(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool deleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool renameFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

int createNewFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

std::int64_t fileSize(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

int folderState(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    return errno;
}

int makeOneFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno; }

bool openWithDesktop(const std::string& documentOrAddress) { return startDetached("xdg-open", {documentOrAddress}); }

std::int64_t utcOffsetAt(std::int64_t utcSeconds)
{
    // Offsets change only at quarter hours: one look-up per quarter hour is enough,
    // and a folder's files mostly share theirs.
    thread_local std::int64_t cachedQuarter = INT64_MIN;
    thread_local std::int64_t cachedOffset = 0;
    const std::int64_t quarter = utcSeconds >= 0 ? utcSeconds / 900 : (utcSeconds - 899) / 900;
    if (quarter != cachedQuarter) {
        const std::time_t t = static_cast<std::time_t>(utcSeconds);
        std::tm local{};
        cachedOffset = ::localtime_r(&t, &local) ? local.tm_gmtoff : 0;
        cachedQuarter = quarter;
    }
    return cachedOffset;
}

std::string homeFolder()
{
    const std::string home = environment("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

std::string userConfigFolder() { return joinPath(xdgConfigHome(), "kelmora", PathStyle::Posix); }

std::vector<std::string> systemConfigFolders()
{
    std::string list = environment("XDG_CONFIG_DIRS");
    if (list.empty()) list = "/etc/xdg";
    std::vector<std::string> folders;
    for (std::size_t pos = 0; pos <= list.size();) {
        std::size_t end = list.find(':', pos);
        if (end == std::string::npos) end = list.size();
        const std::string folder = list.substr(pos, end - pos);
        pos = end + 1;
        // A relative entry is invalid for XDG and would depend on the current folder.
        if (!folder.empty() && folder.front() == '/') folders.push_back(joinPath(folder, "kelmora", PathStyle::Posix));
    }
    return folders;
}

std::string userPicturesFolder()
{
    std::string pictures = environment("XDG_PICTURES_DIR");
    if (pictures.empty()) pictures = picturesFolderFromUserDirs();
    if (!pictures.empty() && folderExists(pictures)) return removeTrailingSeparator(pictures, PathStyle::Posix);
    return homeFolder();
}

}  // namespace kelmora::platform
