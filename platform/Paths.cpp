#include "platform/Paths.h"

namespace kelmora::platform {

namespace {

bool isSeparator(char c, PathStyle style) { return style == PathStyle::Windows ? (c == '\\' || c == ':') : c == '/'; }

// Index of the last single-byte character for which accept() holds, or npos.
template <typename Accept>
std::size_t lastSingleByteWhere(std::string_view path, CodePage cp, Accept accept)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t end = charEnd(path, pos, cp);
        if (end == pos + 1 && accept(path[pos])) found = pos;
        pos = end;
    }
    return found;
}

std::size_t lastSeparator(std::string_view path, PathStyle style, CodePage cp)
{
    return lastSingleByteWhere(path, cp, [style](char c) { return isSeparator(c, style); });
}

}  // namespace

bool isFullPath(std::string_view path, PathStyle style)
{
    if (style == PathStyle::Posix) return path.starts_with('/');
    // The first byte starts a character, and ":" is below every trail byte: the
    // byte after it starts one too, so a kanji's trail byte is never taken for "\".
    return path.starts_with('\\') || (path.size() >= 3 && path[1] == ':' && path[2] == '\\');
}

char separatorChar(PathStyle style) { return style == PathStyle::Windows ? '\\' : '/'; }

bool endsWithSeparator(std::string_view path, PathStyle style, CodePage cp)
{
    // "/" is below every trail byte of the code pages we know: its last byte decides alone.
    if (style == PathStyle::Posix) return !path.empty() && path.back() == '/';
    const std::size_t last = lastCharStart(path, cp);
    return last != std::string_view::npos && last + 1 == path.size() && path[last] == separatorChar(style);
}

std::string folderPartWithSeparator(std::string_view path, PathStyle style, CodePage cp)
{
    const std::size_t sep = lastSeparator(path, style, cp);
    return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string folderPartWithoutSeparator(std::string_view path, PathStyle style, CodePage cp)
{
    std::string folder = folderPartWithSeparator(path, style, cp);
    if (folder.empty() || folder.back() != separatorChar(style)) return folder;
    const std::string_view before = std::string_view(folder).substr(0, folder.size() - 1);
    if (style == PathStyle::Windows) {
        // The character before the backslash decides; a trail byte is not a separator.
        const std::size_t prev = lastCharStart(before, cp);
        const bool keep = prev != std::string_view::npos && prev + 1 == before.size()
                          && (before[prev] == '\\' || before[prev] == ':');
        if (!keep) folder.pop_back();
    } else if (!before.empty() && before.back() != '/') {
        folder.pop_back();  // "/" alone, or "//", is the root and stays
    }
    return folder;
}

std::string fileNamePart(std::string_view path, PathStyle style, CodePage cp)
{
    const std::size_t sep = lastSeparator(path, style, cp);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string replaceExtension(std::string_view path, std::string_view suffix, PathStyle style, CodePage cp)
{
    const std::size_t mark =
        lastSingleByteWhere(path, cp, [style](char c) { return c == '.' || isSeparator(c, style); });
    std::string result(path);
    if (mark != std::string_view::npos && path[mark] == '.') result.resize(mark);
    result += suffix;
    return result;
}

std::string removeTrailingSeparator(std::string_view path, PathStyle style, CodePage cp)
{
    std::string result(path);
    if (endsWithSeparator(path, style, cp) && !(style == PathStyle::Posix && path.size() == 1)) {
        result.pop_back();
    }
    return result;
}

std::string joinPath(std::string_view folder, std::string_view name, PathStyle style, CodePage cp)
{
    std::string result(folder);
    if (!endsWithSeparator(folder, style, cp)) result += separatorChar(style);
    result += name;
    return result;
}

}  // namespace kelmora::platform
