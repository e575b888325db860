#include "cut/UriList.h"

#include <optional>

namespace kelmora {

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%XX" becomes its byte; a "%" not followed by two hex digits stays as it is.
std::string percentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string_view trimmed(std::string_view line)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!line.empty() && blank(line.front())) line.remove_prefix(1);
    while (!line.empty() && blank(line.back())) line.remove_suffix(1);
    return line;
}

std::optional<std::string> localPath(std::string_view uri)
{
    if (!startsWithIgnoringCase(uri, "file:")) return std::nullopt;
    std::string_view rest = uri.substr(5);
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        const std::string_view host = rest.substr(0, slash);
        const bool thisMachine = host.empty() || (host.size() == 9 && startsWithIgnoringCase(host, "localhost"));
        if (!thisMachine) return std::nullopt;
        rest.remove_prefix(slash);
    }
    // A query or fragment is not part of a file's name.
    rest = rest.substr(0, rest.find_first_of("?#"));
    if (!rest.starts_with('/')) return std::nullopt;
    std::string path = percentDecoded(rest);
    if (path.find('\0') != std::string::npos) return std::nullopt;
    return path;
}

}  // namespace

std::vector<std::string> parseUriList(std::string_view bytes)
{
    std::vector<std::string> paths;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = trimmed(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (std::optional<std::string> path = localPath(line)) paths.push_back(std::move(*path));
    }
    return paths;
}

}  // namespace kelmora
