#pragma once
// What a destination knows of the cuts made into it: one line of JSON a run,
// added at its start and at its end to a hidden file of the folder
// (kManifestName), each line in one write, so runs of several processes and
// hosts sharing the folder never tear each other's lines.
//
// The manifest is never a second truth about the images: a video is done
// only when its last run with the same options finished and every image it
// left is still there, and no later run took its name. Removing the file
// loses nothing but the skipping.
//
// A line: {"video":"/v/a.mp4","size":1234,"modified_ns":1700000000000000000,
// "options":["-i","{video}","-f","image2",...,"_%05d.jpg"],"name":"a",
// "pattern":"a_%05d.jpg","images":10,"finished":true}. "options" is the
// extractor's argument list with the video as "{video}" and the images'
// path as its name's ending alone: the arguments that shape the images.
// "pattern" is the images' file name as the extractor reads it ("%%" a "%").
// Text is UTF-8; a byte that is not part of UTF-8 is written "\udcXX".

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cut/CutCommand.h"

namespace kelmora {

// Hidden, so folder walks and the images' name claims pass it over.
inline constexpr char kManifestName[] = ".kelmora-manifest.jsonl";

// True for a file the program keeps in a destination for itself (the
// manifest, a replacing run's hold on a name): never a video to cut.
bool isBookkeepingFile(std::string_view fileName);

struct ManifestRecord {
    std::string video;                 // the video's full path
    std::int64_t size = 0;             // the video's size and last change when it was cut
    std::int64_t modifiedNs = 0;       // nanoseconds since 1970
    std::vector<std::string> options;  // the arguments that shape the images
    std::string name;                  // the images' name ("a", "a (2)")
    std::string pattern;               // their file name as the extractor reads it ("a_%05d.jpg")
    std::size_t images = 0;            // whole images the run left (0 at its start)
    bool finished = false;             // the run wrote every image it was to write
    bool operator==(const ManifestRecord&) const = default;
};

// The record's line, "\n" included.
std::string manifestLine(const ManifestRecord& record);
// The record of a line; nullopt for a line that is not one (torn, or from elsewhere).
std::optional<ManifestRecord> parseManifestLine(std::string_view line);

// What identifies a run of target with the command cut: the video's full path
// and stamp and the arguments that shape its images; name, pattern, images and
// finished are left for the caller. nullopt when the video cannot be looked at.
std::optional<ManifestRecord> describeRun(const std::string& target, const CutCommand& cut, TOutputFormat format);

// Every record of a destination's manifest, read once.
class Manifest {
public:
    // Reads folder's manifest; none there is an empty one.
    static Manifest read(const std::string& folder);
    explicit Manifest(std::string folder = {}) : m_folder(std::move(folder)) {}

    // Adds record to the file (in one write) and to what this object knows.
    // 0, or the system's error number.
    int append(const ManifestRecord& record);
    // Adds a record to what this object knows, as if read.
    void add(ManifestRecord record);

    // True when the run described by run (video, stamp, options) was cut
    // whole: its last record finished, no later record took its image names,
    // and every image it left is there.
    bool isDone(const ManifestRecord& run) const;
    // The runs of video that were cut short (their last record did not
    // finish, no later run took their names), for the images to be removed.
    std::vector<ManifestRecord> cutShort(const std::string& video) const;
    // True when the newest record of the images named pattern is a run that
    // has not finished: it may be writing them now.
    bool mayBeWriting(const std::string& pattern) const;

    const std::vector<ManifestRecord>& records() const { return m_records; }
    std::string path() const;

private:
    // The newest record of each pattern.
    const ManifestRecord* newestOf(const std::string& pattern) const;

    std::string m_folder;
    std::vector<ManifestRecord> m_records;
    std::unordered_map<std::string, std::size_t> m_newestByPattern;  // pattern -> index in m_records
};

// The files of a run's images in folder: numbered from 1 while they are there.
std::vector<std::string> imagesOfPattern(const std::string& folder, const std::string& pattern);

}  // namespace kelmora
