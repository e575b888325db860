// The path rules on any bytes, in both styles and both code pages.
// Input: one byte choosing the style (bit 0) and the code page (bit 1), the
// path, then after the first NUL a second text (a name to join, a suffix).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/Paths.h"

using namespace kelmora::platform;
using kelmora::fuzz::check;

namespace {

bool isSeparator(char c, PathStyle style) { return style == PathStyle::Windows ? (c == '\\' || c == ':') : c == '/'; }

// Index of the last single-byte character of s that is a separator or (with dot) a ".", or npos.
std::size_t lastMark(std::string_view s, PathStyle style, CodePage cp, bool dot)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t end = charEnd(s, pos, cp);
        if (end == pos + 1 && (isSeparator(s[pos], style) || (dot && s[pos] == '.'))) found = pos;
        pos = end;
    }
    return found;
}

bool lastCharIs(std::string_view s, char c, CodePage cp)
{
    const std::size_t last = lastCharStart(s, cp);
    return last != std::string_view::npos && last + 1 == s.size() && s[last] == c;
}

// A double-byte lead byte with nothing after it: a truncated character, which
// would take the next byte (a separator that is joined on) as its second half.
bool endsInLoneLeadByte(std::string_view s, CodePage cp)
{
    const std::size_t last = lastCharStart(s, cp);
    return cp == CodePage::Cp932 && last != std::string_view::npos && last + 1 == s.size()
           && isLeadByte(static_cast<unsigned char>(s[last]), cp);
}

void checkSplit(std::string_view path, PathStyle style, CodePage cp)
{
    const std::string folder = folderPartWithSeparator(path, style, cp);
    const std::string name = fileNamePart(path, style, cp);
    check(folder + name == path, "folder part with separator + file name part == path");
    const std::size_t sep = lastMark(path, style, cp, false);
    check(folder.size() == (sep == std::string_view::npos ? 0 : sep + 1),
          "the folder part ends at the last whole separator");

    const std::string bare = folderPartWithoutSeparator(path, style, cp);
    check(
        bare == folder
            || (bare.size() + 1 == folder.size() && folder.starts_with(bare) && folder.back() == separatorChar(style)),
        "folder part without separator drops at most the trailing separator");

    const bool ends = endsWithSeparator(path, style, cp);
    check(ends == lastCharIs(path, separatorChar(style), cp), "ends with separator == last whole character is one");
    if (ends) check(name.empty(), "a path ending in a separator has no file name part");

    const std::string trimmed = removeTrailingSeparator(path, style, cp);
    const bool posixRoot = style == PathStyle::Posix && path == "/";
    check(trimmed == (ends && !posixRoot ? path.substr(0, path.size() - 1) : path),
          "removing the trailing separator takes off exactly that one byte");
}

void checkJoin(std::string_view folder, std::string_view name, PathStyle style, CodePage cp)
{
    const std::string joined = joinPath(folder, name, style, cp);
    const bool ends = endsWithSeparator(folder, style, cp);
    check(joined == std::string(folder) + (ends ? "" : std::string(1, separatorChar(style))) + std::string(name),
          "join puts one separator between folder and name unless the folder ends in one");
    if (lastMark(name, style, cp, false) != std::string_view::npos || endsInLoneLeadByte(folder, cp)) return;
    check(fileNamePart(joined, style, cp) == name, "the joined name is the file name part");
    check(folderPartWithSeparator(joined, style, cp) == joined.substr(0, joined.size() - name.size()),
          "the folder of the joined path is what went before the name");
}

void checkExtension(std::string_view path, std::string_view suffix, PathStyle style, CodePage cp)
{
    const std::string replaced = replaceExtension(path, suffix, style, cp);
    const std::size_t mark = lastMark(path, style, cp, true);
    const std::size_t kept = (mark != std::string_view::npos && path[mark] == '.') ? mark : path.size();
    check(replaced == std::string(path.substr(0, kept)) + std::string(suffix),
          "the extension from the name's last dot on is replaced, or the suffix appended");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const PathStyle style = (data[0] & 1) ? PathStyle::Windows : PathStyle::Posix;
    const CodePage cp = (data[0] & 2) ? CodePage::Cp932 : CodePage::Utf8;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t nul = input.find('\0');
    const std::string_view path = input.substr(0, nul);
    const std::string_view other = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);

    checkSplit(path, style, cp);
    checkJoin(path, other, style, cp);
    checkExtension(path, other, style, cp);
    std::size_t last = std::string_view::npos;
    for (std::size_t pos = 0; pos < path.size(); pos = charEnd(path, pos, cp)) {
        check(charEnd(path, pos, cp) > pos && charEnd(path, pos, cp) <= path.size(),
              "a character ends after it begins and inside the text");
        last = pos;
    }
    check(lastCharStart(path, cp) == last, "the last character starts where the walk's last step began");
    if (last != std::string_view::npos) {
        check(isCharStart(path, last, cp), "the last character's first byte is a character start");
        if (last + 1 < path.size()) check(!isCharStart(path, last + 1, cp), "a second byte is no character start");
    }
    return 0;
}
