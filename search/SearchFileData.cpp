#include "search/SearchFileData.h"

#include "platform/System.h"

namespace kelmora {

bool toLocalDateTime(std::int64_t utcSeconds, TDateTime& result)
{
    // Packed date-times hold the local years 1980 to 2107.
    constexpr std::int64_t first = 315532800;  // 1980-01-01 00:00, seconds since 1970
    constexpr std::int64_t end = 4354819200;   // 2108-01-01 00:00
    constexpr std::int64_t daysFrom1899To1970 = 25569;
    const std::int64_t local = utcSeconds + platform::utcOffsetAt(utcSeconds);
    if (local < first || local >= end) return false;
    const std::int64_t days = local / 86400;
    const std::int64_t seconds = (local % 86400) / 2 * 2;  // 2-second steps
    result = static_cast<double>(days + daysFrom1899To1970) + static_cast<double>(seconds) / 86400.0;
    return true;
}

TSearchFileData toSearchFileData(const platform::FileFindData& found)
{
    TSearchFileData data;
    data.FileName = found.name;
    data.ShortName = found.name;
    data.Size = static_cast<std::int64_t>(found.size);
    const auto convert = [](const platform::FileTime& time, bool& has, TDateTime& value) {
        has = time.valid && toLocalDateTime(time.seconds, value);
        if (!has) value = 0;
    };
    convert(found.creationTime, data.HasCreationTime, data.CreationTime);
    convert(found.writeTime, data.HasWriteTime, data.WriteTime);
    convert(found.accessTime, data.HasAccessTime, data.AccessTime);
    data.IsDirectory = found.attributes & platform::faDirectory;
    data.IsReadOnly = found.attributes & platform::faReadOnly;
    data.IsHidden = found.attributes & platform::faHidden;
    data.IsSystem = found.attributes & platform::faSystem;
    data.IsArchive = found.attributes & platform::faArchive;
    return data;
}

}  // namespace kelmora
