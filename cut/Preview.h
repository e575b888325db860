#pragma once
// The start-second preview: one extractor run that writes a small bitmap.

#include <cstdint>
#include <string>

namespace kelmora {

// Starts the extractor (not waited for) to write an 80 x 60 bitmap of target at
// startSecond into previewFile, then waits the fixed half second the extractor
// is given. True when previewFile exists then.
bool makeThumbnail(const std::string& target, std::int32_t startSecond, const std::string& programFolder,
                   const std::string& previewFile);

}  // namespace kelmora
