#include "cut/UnfinishedBatch.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "cut/ImageFiles.h"
#include "platform/Paths.h"
#include "platform/System.h"

namespace kelmora {

namespace p = platform;

// Fields end in NUL, so a name may hold any other byte (line breaks too):
// "v" target, or "r" images pattern.
bool saveUnfinishedBatch(const std::string& path, const UnfinishedBatch& batch)
{
    std::string bytes;
    const auto field = [&bytes](const std::string& text) { bytes += text + '\0'; };
    for (const std::string& target : batch.targets) {
        field("v");
        field(target);
    }
    for (const StoppedRun& run : batch.stopped) {
        field("r");
        field(std::to_string(run.images));
        field(run.pattern);
    }
    // The settings folder of a user who never saved any may not be there yet.
    p::makeFolderWithParents(p::folderPartWithoutSeparator(path));
    const std::string written = path + ".new";
    {
        std::ofstream out(written, std::ios::binary | std::ios::trunc);
        if (!(out << bytes) || !out.flush()) return false;
    }
    return p::renameFile(written, path);
}

std::optional<UnfinishedBatch> takeUnfinishedBatch(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    p::deleteFile(path);
    std::vector<std::string> fields;
    for (std::size_t start = 0, end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
        fields.push_back(bytes.substr(start, end - start));
    UnfinishedBatch batch;
    for (std::size_t i = 0; i < fields.size();) {
        if (fields[i] == "v" && i + 1 < fields.size()) {
            batch.targets.push_back(fields[i + 1]);
            i += 2;
        } else if (fields[i] == "r" && i + 2 < fields.size()) {
            StoppedRun run;
            std::istringstream(fields[i + 1]) >> run.images;
            run.pattern = fields[i + 2];
            batch.stopped.push_back(std::move(run));
            i += 3;
        } else {
            return std::nullopt;  // not a file of ours
        }
    }
    if (batch.targets.empty()) return std::nullopt;
    return batch;
}

void removeStoppedImages(const UnfinishedBatch& batch)
{
    for (const StoppedRun& run : batch.stopped)
        for (std::size_t n = 1; n <= run.images; ++n) p::deleteFile(imageFile(run.pattern, n));
}

}  // namespace kelmora
