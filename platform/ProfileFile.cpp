#include "platform/ProfileFile.h"

#include <vector>

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
            (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') ? end + 2 : end + 1;
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
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
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

}  // namespace

std::optional<std::string> ProfileText::read(std::string_view section, std::string_view key) const
{
    // Lines before the first section belong to the section with the empty name.
    bool inSection = trim(section).empty();
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
        !lines.empty() && !lines.front().ending.empty() ? lines.front().ending : std::string_view(m_newLine);
    const std::string keyText = std::string(key) + "=" + storedValue(value);

    // The section with the empty name is the lines before the first section, as on reading.
    bool sectionFound = section.empty();
    bool keyFirst = section.empty();         // a new key goes before every line (a nameless section without keys)
    std::size_t lastKeyLine = lines.size();  // else after this line: the section's last key line
    std::size_t matchLine = lines.size();    // its first line with the key
    std::string_view storedKey;              // the key as that line spells it
    bool inSection = section.empty();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (inSection) break;
            inSection = sameName(*name, section);
            if (inSection) {
                sectionFound = true;
                lastKeyLine = i;
            }
            continue;
        }
        if (!inSection) continue;
        if (const auto entry = keyLine(lines[i].text)) {
            lastKeyLine = i;
            keyFirst = false;
            if (sameName(entry->key, key)) {
                matchLine = i;
                storedKey = entry->key;
                break;
            }
        }
    }

    // A key set anew keeps the spelling the file gives it.
    const std::string replacedText = std::string(storedKey) + "=" + storedValue(value);
    const bool addKey = matchLine == lines.size();
    std::vector<Line> out;
    out.reserve(lines.size() + 2);
    if (addKey && keyFirst) out.push_back({keyText, newline});
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out.push_back(i == matchLine ? Line{replacedText, lines[i].ending} : lines[i]);
        // A new key line ends as the line before it: a lone CR before an empty
        // line that ends in LF would otherwise join it into one CRLF.
        if (addKey && !keyFirst && i == lastKeyLine)
            out.push_back({keyText, lines[i].ending.empty() ? newline : lines[i].ending});
    }
    std::string sectionText = "[";
    sectionText.append(section).append("]");
    if (!sectionFound) {
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

}  // namespace kelmora::platform
