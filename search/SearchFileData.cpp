#include "search/SearchFileData.h"

#include <ctime>

namespace kelmora {

bool toLocalDateTime(std::int64_t utcSeconds, TDateTime& result)
{
    const std::time_t t = static_cast<std::time_t>(utcSeconds);
    std::tm local {};
    if (!::localtime_r(&t, &local)) return false;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return false;

    // Days from 1899-12-30 to the date (proleptic Gregorian, civil-from-days inverse).
    const int y = local.tm_mon + 1 <= 2 ? year - 1 : year;
    const int m = local.tm_mon + 1;
    const int era = y / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + local.tm_mday - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long daysSince1970 = static_cast<long>(era) * 146097 + dayOfEra - 719468;
    constexpr long daysFrom1899To1970 = 25569;

    const int seconds = local.tm_hour * 3600 + local.tm_min * 60 + (local.tm_sec / 2) * 2;
    result = static_cast<double>(daysSince1970 + daysFrom1899To1970) + seconds / 86400.0;
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
