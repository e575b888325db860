#pragma once
// The local file names of a dropped text/uri-list, as the raw bytes the file
// manager sent. Only "file:" addresses that name this machine (no host, or
// "localhost") and an absolute path count; the path is percent-decoded byte
// for byte, so a name that is not UTF-8 keeps its bytes. Comment lines,
// other schemes, other hosts, relative paths and paths with a NUL are skipped.
//   file:///v/a%20b.mp4           -> /v/a b.mp4
//   file://localhost/v/a.mp4      -> /v/a.mp4
//   file:/v/a.mp4                 -> /v/a.mp4
//   file://otherhost/v/a.mp4, file:v/a.mp4, file:///v/a%00.mp4 -> skipped

#include <string>
#include <string_view>
#include <vector>

namespace kelmora {

std::vector<std::string> parseUriList(std::string_view bytes);

}  // namespace kelmora
