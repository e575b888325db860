#pragma once
// One private-profile (ini) file on disk: "[section]" lines with "key=value"
// lines under them. Section and key names match without regard to ASCII case
// and after trimming blanks; the first matching section and key win; lines
// end in CR, LF or CRLF; lines beginning with ";" are comments.
//
// Every read and write goes to the file itself, so each write is on disk at
// once. A write replaces the file through a temporary file and an atomic
// rename; every line it does not change stays byte for byte.

#include <optional>
#include <string>
#include <string_view>

namespace kelmora::platform {

class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& path() const { return path_; }

    // The value of a key, without the blanks around it and without a matching
    // pair of surrounding quotes; nullopt when the file, section or key is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;

    // Sets a key. An existing key keeps its place; a new key goes after the last
    // key of its section; a new section goes at the end of the file. A value is
    // one line: it is cut at its first line break. Returns false (errno set)
    // when the file cannot be written; the file on disk is then unchanged.
    bool write(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string path_;
};

}  // namespace kelmora::platform
