// The dropped text/uri-list parser on any bytes. The bytes are read twice: as a
// whole list, whose every result must be an absolute path without a NUL, and as
// one file name, which must come back byte for byte from its percent-encoded
// "file:" addresses.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "cut/UriList.h"

using kelmora::parseUriList;
using kelmora::fuzz::check;

namespace {

std::string percentEncoded(std::string_view path)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
                           || c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 15];
        }
    }
    return out;
}

void checkList(std::string_view bytes)
{
    const std::vector<std::string> paths = parseUriList(bytes);
    check(paths.size() <= static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1,
          "at most one path per line");
    for (const std::string& path : paths) {
        check(!path.empty() && path.front() == '/', "every path is absolute");
        check(path.find('\0') == std::string::npos, "no path holds a NUL");
    }
}

void checkRoundTrip(std::string_view name)
{
    const std::string path = "/" + std::string(name);
    const std::string encoded = percentEncoded(path);
    std::string list = "# a comment\r\nfile://" + encoded + "\r\nFILE://localhost" + encoded + "\n";
    std::size_t copies = 2;
    if (!path.starts_with("//")) {  // "file:" and "//" would read the first part as a host
        list += "file:" + encoded;
        ++copies;
    }
    const std::vector<std::string> expected(path.find('\0') == std::string::npos ? copies : 0, path);
    check(parseUriList(list) == expected, "an encoded local file name comes back byte for byte");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkList(bytes);
    checkRoundTrip(bytes);
    return 0;
}
