// The settings file reader and writer on any file content. Input (read with
// FuzzedDataProvider): a section name, a key name and a value, each ended by
// "\" and one more character, then the file's bytes. The bytes go to a real
// file; the key is read through both layers, then written, and the file must
// read back the new value while every other line stays as it was.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "FuzzCheck.h"
#include "platform/ProfileFile.h"
#include "settings/SettingsFile.h"

using kelmora::fuzz::check;
using kelmora::platform::ProfileFile;

namespace {

// One folder for the whole run, in memory where the system has /dev/shm.
class WorkFolder {
public:
    WorkFolder()
    {
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "kelmora-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        m_path = pattern;
    }
    ~WorkFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string file(const char* name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void writeFile(const std::string& path, std::string_view content)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    check(fd >= 0 && ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size()),
          "the fuzz input is on disk");
    ::close(fd);
}

std::string readFile(const std::string& path)
{
    std::string content;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    check(fd >= 0, "the written file is there");
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) content.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return content;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
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

// The lines of a file, each with its ending ("\r\n", "\n", "\r", or none at the end).
std::vector<std::string_view> linesOf(std::string_view content)
{
    std::vector<std::string_view> lines;
    while (!content.empty()) {
        std::size_t end = content.find_first_of("\r\n");
        end = end == std::string_view::npos             ? content.size()
              : content.substr(end).starts_with("\r\n") ? end + 2
                                                        : end + 1;
        lines.push_back(content.substr(0, end));
        content.remove_prefix(end);
    }
    return lines;
}

std::string_view withoutEnding(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

// Every section name and key name the file mentions, a few of each.
struct Names {
    std::vector<std::string> sections;
    std::vector<std::string> keys;
};

Names namesIn(std::string_view content)
{
    Names names;
    for (const std::string_view line : linesOf(content)) {
        const std::string_view text = trim(withoutEnding(line));
        if (text.starts_with('[') && names.sections.size() < 6) {
            names.sections.emplace_back(trim(text.substr(1, text.find(']') - 1)));
        } else if (text.find('=') != std::string_view::npos && names.keys.size() < 6) {
            names.keys.emplace_back(trim(text.substr(0, text.find('='))));
        }
    }
    return names;
}

// Names the program could write: one line, no "]" in a section name, no "="
// in a key, and no key that would read as a comment or a section.
bool writable(std::string_view section, std::string_view key)
{
    const std::string_view k = trim(key);
    return section.find_first_of("\r\n]") == std::string_view::npos
           && key.find_first_of("\r\n=") == std::string_view::npos && !k.starts_with(';') && !k.starts_with('[');
}

// The file after the write holds the lines from before in order, each byte for
// byte (a last line may gain an ending), with one key line changed or added, or
// the section and the key appended.
void checkOtherLinesKept(std::string_view before, std::string_view after, std::string_view section,
                         std::string_view key)
{
    const std::vector<std::string_view> old = linesOf(before);
    const std::vector<std::string_view> now = linesOf(after);
    const auto same = [&](std::size_t o, std::size_t n) {
        if (old[o] == now[n]) return true;
        return o + 1 == old.size() && withoutEnding(old[o]) == old[o] && withoutEnding(now[n]) == old[o];
    };
    const auto isKeyLine = [&](std::string_view line) {
        const std::string_view text = trim(withoutEnding(line));
        const std::size_t eq = text.find('=');
        return eq != std::string_view::npos && sameName(trim(text.substr(0, eq)), trim(key));
    };
    std::size_t i = 0;
    while (i < old.size() && i < now.size() && same(i, i)) ++i;
    if (now.size() == old.size()) {
        if (i == old.size()) return;
        check(isKeyLine(old[i]) && isKeyLine(now[i]), "only the key's own line changes");
        for (std::size_t j = i + 1; j < old.size(); ++j) check(same(j, j), "lines after the key are kept");
    } else if (now.size() == old.size() + 1) {
        check(i < now.size() && isKeyLine(now[i]), "the added line is the key");
        for (std::size_t j = i; j < old.size(); ++j) check(same(j, j + 1), "lines after the added key are kept");
    } else {
        check(now.size() == old.size() + 2 && i == old.size(), "a new section goes at the end");
        const std::string_view header = trim(withoutEnding(now[i]));
        check(header.starts_with('[') && sameName(trim(header.substr(1, header.size() - 2)), trim(section))
                  && isKeyLine(now[i + 1]),
              "the new section holds the key");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const WorkFolder folder;
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(24);
    const std::string key = input.ConsumeRandomLengthString(24);
    const std::string value = input.ConsumeRandomLengthString(80);
    const std::string content = input.ConsumeRemainingBytesAsString();

    const std::string path = folder.file("Kelmora.ini");
    writeFile(path, content);
    ProfileFile profile(path);
    kelmora::SettingsFile settings(path);

    // Reading: every key of the program, and the fuzzed one through both layers.
    const kelmora::TCutSettings read = kelmora::readCutSettings(settings, kelmora::TCutSettings{});
    const std::optional<std::string> raw = profile.read(section, key);
    const std::string text = settings.readText(section, key, "default");
    check(text == raw.value_or("default"), "a text value reads whole, a missing one as the default");
    const std::optional<std::int32_t> number = raw ? kelmora::parseSettingsInteger(*raw) : std::nullopt;
    check(settings.readInteger(section, key, -7) == number.value_or(-7), "an integer key reads as its text parses");

    // Writing: the key reads back as written, every other line stays.
    if (!writable(section, key)) return 0;
    const Names names = namesIn(content);
    std::vector<std::optional<std::string>> others;
    for (const std::string& s : names.sections)
        for (const std::string& k : names.keys) others.push_back(profile.read(s, k));

    check(profile.write(section, key, value), "a writable file takes the key");
    const std::string after = readFile(path);
    const std::string stored = value.substr(0, value.find_first_of("\r\n"));
    check(profile.read(section, key) == stored, "the key reads back as written, up to a line break");
    std::size_t n = 0;
    for (const std::string& s : names.sections) {
        for (const std::string& k : names.keys) {
            const bool written = sameName(trim(s), trim(section)) && sameName(trim(k), trim(key));
            if (!written) check(profile.read(s, k) == others[n], "every other key reads as before");
            ++n;
        }
    }
    checkOtherLinesKept(content, after, section, key);

    // The program's own keys, saved as read and read again, come back the same.
    kelmora::SettingsFile saved(path);
    kelmora::writeCutSettings(saved, read);
    const kelmora::TCutSettings again = kelmora::readCutSettings(kelmora::SettingsFile(path), kelmora::TCutSettings{});
    check(again == read, "settings saved as read read back the same");
    return 0;
}
