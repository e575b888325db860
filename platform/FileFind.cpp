#include "platform/FileFind.h"

namespace kelmora::platform {

namespace {

bool hasWildcard(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

// "*" and "?" only, "?" being one whole character.
bool globMatch(std::string_view pattern, std::string_view name, CodePage cp)
{
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = charEnd(name, n, cp);
        } else if (p < pattern.size()) {
            const std::size_t pEnd = charEnd(pattern, p, cp);
            const std::size_t nEnd = charEnd(name, n, cp);
            if (pattern.substr(p, pEnd - p) == name.substr(n, nEnd - n)) {
                p = pEnd;
                n = nEnd;
            } else if (starP != std::string_view::npos) {
                p = starP;
                n = starN = charEnd(name, starN, cp);
            } else {
                return false;
            }
        } else if (starP != std::string_view::npos) {
            p = starP;
            n = starN = charEnd(name, starN, cp);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool matchesWildcard(std::string_view pattern, std::string_view name, CodePage cp)
{
    // "x.*" also matches "x" (no extension at all).
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*"
        && matchesWildcard(pattern.substr(0, pattern.size() - 2), name, cp)) {
        return true;
    }
    // "x." matches "x" only when the name has no dot of its own.
    if (!pattern.empty() && pattern.back() == '.' && pattern != "." && pattern != "..") {
        return name.find('.') == std::string_view::npos && globMatch(pattern.substr(0, pattern.size() - 1), name, cp);
    }
    return globMatch(pattern, name, cp);
}

FileFind::FileFind() = default;

FileFind::~FileFind() { close(); }

void FileFind::close() { m_listing.reset(); }

bool FileFind::first(const std::string& pathOrPattern, EntryFacts facts) { return start(pathOrPattern, false, facts); }

bool FileFind::firstFolder(const std::string& pathOrPattern, EntryFacts facts)
{
    return start(pathOrPattern, true, facts);
}

bool FileFind::start(const std::string& pathOrPattern, bool foldersOnly, EntryFacts facts)
{
    close();
    m_data = {};
    m_foldersOnly = foldersOnly;
    m_facts = facts;
    if (pathOrPattern.empty()) return false;
    const std::string name = wildcardStep(pathOrPattern);
    if (name.empty() || !hasWildcard(name)) {
        return lookUpEntry(pathOrPattern, m_data) && (!m_foldersOnly || (m_data.attributes & faDirectory));
    }
    m_listing = openListing(pathOrPattern, name);
    return next();
}

}  // namespace kelmora::platform
