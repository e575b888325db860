#pragma once
// What the folder walk tells about one entry.

#include <cstdint>
#include <string>

#include "platform/FileFind.h"

namespace kelmora {

// Days since 1899-12-30, the time of day as the fraction; local time.
using TDateTime = double;

struct TSearchFileData {
    std::string FileName;   // the entry's name without its folder
    std::string ShortName;  // no short alternate names here: the same as FileName
    std::int64_t Size = 0;  // bytes
    bool HasCreationTime = false;
    TDateTime CreationTime = 0;
    bool HasWriteTime = false;
    TDateTime WriteTime = 0;
    bool HasAccessTime = false;
    TDateTime AccessTime = 0;
    bool IsDirectory = false;
    bool IsReadOnly = false;  // no write permission
    bool IsHidden = false;    // the name begins with "."
    bool IsSystem = false;
    bool IsVolume = false;  // always false
    bool IsArchive = false;
};

// The entry's data as the walk reports it. Times go to local time at the
// 2-second resolution of packed date-times; a time outside the years 1980 to
// 2107 has its flag off.
TSearchFileData toSearchFileData(const platform::FileFindData& found);

// A UTC time as a local TDateTime at 2-second resolution; false outside 1980-2107.
bool toLocalDateTime(std::int64_t utcSeconds, TDateTime& result);

}  // namespace kelmora
