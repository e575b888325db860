#include "cut/Manifest.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "cut/ImageFiles.h"
#include "cut/JsonLine.h"
#include "platform/Paths.h"
#include "platform/RecordFile.h"
#include "platform/System.h"

namespace kelmora {

namespace p = platform;

namespace {

// ---- Reading: the flat objects the writer makes (texts, whole numbers, booleans, lists of texts).

class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    bool atEnd()
    {
        skipSpace();
        return m_pos == m_text.size();
    }
    bool take(char c)
    {
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool peek(char c)
    {
        skipSpace();
        return m_pos < m_text.size() && m_text[m_pos] == c;
    }
    std::optional<std::string> text()
    {
        if (!take('"')) return std::nullopt;
        std::string out;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size()) return std::nullopt;
            const char e = m_text[m_pos++];
            switch (e) {
            case '"':
            case '\\':
            case '/': out += e; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                const std::optional<unsigned> code = hex4();
                if (!code) return std::nullopt;
                // A lone low surrogate \udcXX is the byte XX of a name that is not UTF-8.
                if (*code >= 0xDC80 && *code <= 0xDCFF) out += static_cast<char>(*code & 0xFF);
                else if (!appendUtf8(out, *code)) return std::nullopt;
                break;
            }
            default: return std::nullopt;
            }
        }
        return std::nullopt;
    }
    std::optional<std::int64_t> number()
    {
        skipSpace();
        const std::size_t start = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '-') ++m_pos;
        std::int64_t value = 0;
        bool digits = false;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') {
            if (value > (INT64_MAX - 9) / 10) return std::nullopt;  // beyond any size or time
            value = value * 10 + (m_text[m_pos++] - '0');
            digits = true;
        }
        if (!digits) return std::nullopt;
        return m_text[start] == '-' ? -value : value;
    }
    std::optional<bool> boolean()
    {
        skipSpace();
        for (const auto& [word, value] : {std::pair{std::string_view("true"), true}, {"false", false}}) {
            if (m_text.substr(m_pos, word.size()) == word) {
                m_pos += word.size();
                return value;
            }
        }
        return std::nullopt;
    }
    std::optional<std::vector<std::string>> texts()
    {
        if (!take('[')) return std::nullopt;
        std::vector<std::string> list;
        if (take(']')) return list;
        do {
            std::optional<std::string> item = text();
            if (!item) return std::nullopt;
            list.push_back(std::move(*item));
        } while (take(','));
        if (!take(']')) return std::nullopt;
        return list;
    }
    // Passes over a value of a key this program does not know.
    bool skipValue()
    {
        if (peek('"')) return text().has_value();
        if (peek('[')) return texts().has_value();
        if (boolean()) return true;
        if (m_text.substr(m_pos, 4) == "null") {
            m_pos += 4;
            return true;
        }
        return number().has_value();
    }

private:
    void skipSpace()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    std::optional<unsigned> hex4()
    {
        if (m_pos + 4 > m_text.size()) return std::nullopt;
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            code <<= 4;
            if (c >= '0' && c <= '9') code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') code |= static_cast<unsigned>(c - 'A' + 10);
            else return std::nullopt;
        }
        return code;
    }
    // Characters of the basic plane only: the writer escapes nothing else.
    static bool appendUtf8(std::string& out, unsigned code)
    {
        if (code >= 0xD800 && code <= 0xDFFF) return false;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The pattern of the images named pattern in folder: the folder's own "%" doubled.
std::string patternIn(const std::string& folder, const std::string& pattern)
{
    std::string escaped;
    for (const char c : folder) escaped += c == '%' ? std::string("%%") : std::string(1, c);
    return p::joinPath(escaped, pattern);
}

bool sameRun(const ManifestRecord& a, const ManifestRecord& b)
{
    return a.video == b.video && a.size == b.size && a.modifiedNs == b.modifiedNs && a.options == b.options;
}

}  // namespace

bool isBookkeepingFile(std::string_view fileName)
{
    return fileName == kManifestName || fileName.substr(0, 14) == ".kelmora-lock.";
}

std::string manifestLine(const ManifestRecord& r)
{
    return JsonLine()
               .addText("video", r.video)
               .addNumber("size", r.size)
               .addNumber("modified_ns", r.modifiedNs)
               .addTexts("options", r.options)
               .addText("name", r.name)
               .addText("pattern", r.pattern)
               .addNumber("images", static_cast<std::int64_t>(r.images))
               .addBool("finished", r.finished)
               .text()
           + "\n";
}

std::optional<ManifestRecord> parseManifestLine(std::string_view line)
{
    LineReader in(line);
    ManifestRecord r;
    if (!in.take('{')) return std::nullopt;
    unsigned seen = 0;
    do {
        const std::optional<std::string> key = in.text();
        if (!key || !in.take(':')) return std::nullopt;
        bool ok = true;
        const auto set = [&](auto value, auto& field, unsigned bit) {
            ok = value.has_value();
            if (ok) field = std::move(*value);
            seen |= bit;
        };
        if (*key == "video") set(in.text(), r.video, 1);
        else if (*key == "size") set(in.number(), r.size, 2);
        else if (*key == "modified_ns") set(in.number(), r.modifiedNs, 4);
        else if (*key == "options") set(in.texts(), r.options, 8);
        else if (*key == "name") set(in.text(), r.name, 16);
        else if (*key == "pattern") set(in.text(), r.pattern, 32);
        else if (*key == "images") {
            const std::optional<std::int64_t> images = in.number();
            ok = images && *images >= 0;
            if (ok) r.images = static_cast<std::size_t>(*images);
            seen |= 64;
        } else if (*key == "finished") set(in.boolean(), r.finished, 128);
        else ok = in.skipValue();
        if (!ok) return std::nullopt;
    } while (in.take(','));
    if (!in.take('}') || !in.atEnd() || seen != 255) return std::nullopt;
    return r;
}

std::optional<ManifestRecord> describeRun(const std::string& target, const CutCommand& cut, TOutputFormat format)
{
    const std::optional<p::FileStamp> stamp = p::fileStamp(target);
    if (!stamp) return std::nullopt;
    ManifestRecord r;
    r.video = p::expandFileName(target);
    r.size = stamp->size;
    r.modifiedNs = stamp->modifiedNs;
    const std::string input = extractorPath(target);
    for (const std::string& argument : cut.command.arguments) {
        if (argument == input) r.options.push_back("{video}");
        else if (argument == cut.OutputPattern) r.options.push_back(outputSuffix(format));
        else r.options.push_back(argument);
    }
    r.pattern = p::fileNamePart(cut.OutputPattern);
    return r;
}

Manifest Manifest::read(const std::string& folder)
{
    Manifest manifest(folder);
    const std::optional<std::string> text = p::readWholeFile(manifest.path());
    if (!text) return manifest;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        // A last line without its end is one being written, or torn: not read.
        if (end == std::string::npos) break;
        if (std::optional<ManifestRecord> record =
                parseManifestLine(std::string_view(*text).substr(start, end - start)))
            manifest.add(std::move(*record));
        start = end + 1;
    }
    return manifest;
}

std::string Manifest::path() const { return p::joinPath(m_folder, kManifestName); }

int Manifest::append(const ManifestRecord& record)
{
    add(record);
    return p::appendInOneWrite(path(), manifestLine(record));
}

void Manifest::add(ManifestRecord record)
{
    m_newestByPattern[record.pattern] = m_records.size();
    m_records.push_back(std::move(record));
}

const ManifestRecord* Manifest::newestOf(const std::string& pattern) const
{
    const auto newest = m_newestByPattern.find(pattern);
    return newest == m_newestByPattern.end() ? nullptr : &m_records[newest->second];
}

bool Manifest::isDone(const ManifestRecord& run) const
{
    for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
        if (!sameRun(*it, run)) continue;
        if (!it->finished || it->images == 0 || newestOf(it->pattern) != &*it) return false;
        const std::string pattern = patternIn(m_folder, it->pattern);
        for (std::size_t n = 1; n <= it->images; ++n)
            if (p::fileSize(imageFile(pattern, n)) <= 0) return false;
        return true;
    }
    return false;
}

std::vector<ManifestRecord> Manifest::cutShort(const std::string& video) const
{
    std::vector<ManifestRecord> runs;
    for (const auto& [pattern, index] : m_newestByPattern) {
        const ManifestRecord& newest = m_records[index];
        if (newest.video == video && !newest.finished) runs.push_back(newest);
    }
    return runs;
}

bool Manifest::mayBeWriting(const std::string& pattern) const
{
    const ManifestRecord* newest = newestOf(pattern);
    return newest && !newest->finished;
}

std::vector<std::string> imagesOfPattern(const std::string& folder, const std::string& pattern)
{
    std::vector<std::string> files;
    const std::string full = patternIn(folder, pattern);
    for (std::size_t n = 1;; ++n) {
        std::string file = imageFile(full, n);
        if (!p::entryExists(file)) break;
        files.push_back(std::move(file));
    }
    return files;
}

}  // namespace kelmora
