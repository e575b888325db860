#pragma once
// A file of records that several processes, also on several hosts sharing the
// folder, add to at once: each record lands whole, in one write at the end of
// the file, and is never split by another's.

#include <cstdint>
#include <optional>
#include <string>

namespace kelmora::platform {

// Adds bytes at the end of the file at path (made when missing) in one write.
// 0, or the system's error number.
int appendInOneWrite(const std::string& path, const std::string& bytes);

// The whole file; nullopt (with errno) when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// What tells one version of a file from another without reading it.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;  // the last change, in nanoseconds since 1970 (UTC)
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path (a link is followed); nullopt when there is none.
std::optional<FileStamp> fileStamp(const std::string& path);

}  // namespace kelmora::platform
