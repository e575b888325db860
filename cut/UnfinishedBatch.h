#pragma once
// What a batch stopped midway (a stop, a close during the cut) left to do,
// kept in a file beside the settings so the window can offer to go on at its
// next start: the videos still to cut, and the runs stopped midway, whose
// images are removed before their videos are cut again whole.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kelmora {

struct StoppedRun {
    std::string pattern;     // its images as the extractor named them ("/out/a_%05d.jpg")
    std::size_t images = 0;  // the whole images it left
    bool operator==(const StoppedRun&) const = default;
};

struct UnfinishedBatch {
    std::vector<std::string> targets;  // in list order: the stopped runs' videos, then those never taken
    std::vector<StoppedRun> stopped;
    bool operator==(const UnfinishedBatch&) const = default;
};

// The file's name in the settings folder.
inline constexpr char kUnfinishedBatchName[] = "Kelmora-unfinished.lst";

// Writes batch to path, replacing what was there; false when it cannot.
bool saveUnfinishedBatch(const std::string& path, const UnfinishedBatch& batch);
// The batch in path, once: the file is removed as it is read. nullopt when
// there is none or it holds nothing to do.
std::optional<UnfinishedBatch> takeUnfinishedBatch(const std::string& path);
// Removes the images the stopped runs left, so their videos are cut again
// under the same names.
void removeStoppedImages(const UnfinishedBatch& batch);

}  // namespace kelmora
