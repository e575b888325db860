#pragma once
// How the POSIX look-up describes one entry of a folder listing. Declared here
// so its tests can hand it every type a listing may report, DT_UNKNOWN (file
// systems that do not keep types in their folders) included.

#include "platform/FileFind.h"

namespace kelmora::platform {

// Fills data for the entry name of the open folder folderFd, which the
// listing reported with type listedType (a d_type value). The entry is
// examined only when facts asks for the full record, when the listing does
// not know the type, or when it is a link (to learn whether it points to a
// folder). False when an examination is needed and fails.
bool describeListedEntry(int folderFd, const char* name, unsigned char listedType, EntryFacts facts,
                         FileFindData& data);

}  // namespace kelmora::platform
