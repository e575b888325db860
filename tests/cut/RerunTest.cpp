// Cutting into a destination again: the manifest's lines, and what the
// session does with images there already (rename, skip, overwrite) and after
// a batch cut short (resume), with the fake extractor.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "cut/Manifest.h"
#include "cut/Shard.h"
#include "cut/TargetSearch.h"
#include "platform/Paths.h"
#include "tests/cut/CutSessionFixture.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;
using test::CutSessionTest;
using test::TempFolder;

TEST(Manifest, LinesReadBackByteForByte)
{
    ManifestRecord r;
    r.video = "/v/\"q\"\\ \xE8\xA1\xA8 \xFF\x80 \t\n.mp4";  // quotes, UTF-8, bytes that are not, control characters
    r.size = 1234567890123;
    r.modifiedNs = -5;
    r.options = {"-i", "{video}", "-f", "image2", "_%05d.jpg"};
    r.name = "a (2)";
    r.pattern = "50%%off_%05d.jpg";
    r.images = 42;
    r.finished = true;
    const std::string line = manifestLine(r);
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);  // one line, whatever the names hold
    EXPECT_EQ(parseManifestLine(line.substr(0, line.size() - 1)), r);

    const std::pair<const char*, std::string> notRecords[] = {
        {"torn", line.substr(0, line.size() / 2)},
        {"a key missing", R"({"video":"/v/a.mp4","size":1})"},
        {"not JSON", "garbage"},
        {"text after the object", line.substr(0, line.size() - 1) + "x"},
        {"a number beyond 64 bits", R"({"video":"v","size":99999999999999999999999,"modified_ns":0,"options":[],)"
                                    R"("name":"a","pattern":"a_%05d.jpg","images":1,"finished":true})"},
    };
    for (const auto& [name, text] : notRecords) EXPECT_FALSE(parseManifestLine(text)) << name;
    // Keys of a later version are passed over.
    std::string later = line.substr(0, line.size() - 2) + R"(,"host":"n1","tries":[],"extra":null})";
    EXPECT_EQ(parseManifestLine(later), r);
}

TEST(Shard, EveryFileFallsInExactlyOneShareWhateverTheOrder)
{
    std::vector<std::string> files;
    for (int i = 0; i < 500; ++i) files.push_back("videos/clip " + std::to_string(i) + ".mp4");
    std::vector<std::string> reversed(files.rbegin(), files.rend());
    for (const std::uint32_t shares : {1u, 2u, 3u, 7u}) {
        SCOPED_TRACE(shares);
        std::map<std::string, int> seen;
        for (std::uint32_t k = 1; k <= shares; ++k) {
            const std::vector<std::string> share = targetsOfShard(files, k, shares);
            std::vector<std::string> other = targetsOfShard(reversed, k, shares);
            std::reverse(other.begin(), other.end());
            EXPECT_EQ(share, other);                             // the order found in does not matter
            EXPECT_GT(share.size(), files.size() / shares / 2);  // no share is starved
            for (const std::string& file : share) ++seen[file];
        }
        EXPECT_EQ(seen.size(), files.size());
        for (const auto& [file, times] : seen) EXPECT_EQ(times, 1) << file;
    }
    // Where a host mounts the videos does not matter: only the file name counts.
    for (const char* folder : {"mnt/a/videos", "data"})
        EXPECT_EQ(targetsOfShard({platform::joinPath(folder, "x.mp4")}, shardOf("x.mp4", 5), 5).size(), 1u) << folder;
    // The same on every host and build: a name's share is fixed.
    EXPECT_EQ(stableHash(""), 14695981039346656037ULL);
    EXPECT_EQ(stableHash("a"), 0xaf63dc4c8601ec8cULL);
}

TEST(Manifest, AFolderWalkPassesOverTheProgramsOwnFiles)
{
    TempFolder dir;
    for (const char* name : {"v/a.avi", "v/.kelmora-manifest.jsonl", "v/.kelmora-lock.a_00001.jpg", "v/.hidden.avi"})
        dir.write(name);
    std::vector<std::string> found;
    for (const std::string& path : findCutTargets(dir / "v")) found.push_back(fs::path(path).filename().string());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{".hidden.avi", "a.avi"}));
}

class RerunTest : public CutSessionTest {
public:
    void setExisting(ExistingImages existing)
    {
        TCutSettings s = session.options();
        s.Existing = static_cast<std::int32_t>(existing);
        session.setOptions(s);
    }
    // The destination's files, sorted, without the manifest.
    std::vector<std::string> images() const
    {
        std::vector<std::string> names;
        if (!fs::exists(dir / "out")) return names;
        for (const auto& entry : fs::directory_iterator(dir / "out"))
            if (entry.path().filename() != kManifestName) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> steps() const
    {
        std::vector<std::string> lines;
        for (const std::string& step : recorder.steps)
            if (step.rfind("end:", 0) != 0 && step.find('/') != std::string::npos
                && step.find(' ', step.find(' ') + 1) != std::string::npos)
                lines.push_back(step);
        return lines;
    }
    // The list without b.avi.
    void onlyA()
    {
        session.targets().clear();
        session.targets().add(dir / "a.avi");
    }
    // A second batch of the same list.
    CutBatchReport again()
    {
        fs::remove(log);
        recorder = test::Recorder();
        return session.runBatch(runner);
    }
};

TEST_F(RerunTest, ASecondRunByTheChoiceForImagesThereAlready)
{
    struct Row {
        const char* name;
        ExistingImages existing;
        std::function<void(RerunTest&)> between;  // what changes between the two runs
        std::vector<std::string> outputs;         // of the second run
        std::vector<std::string> images;          // afterwards
    };
    const std::vector<std::string> once = {"a_00001.jpg", "a_00002.jpg", "a_00003.jpg",
                                           "b_00001.jpg", "b_00002.jpg", "b_00003.jpg"};
    const std::vector<std::string> twice = {"a (2)_00001.jpg", "a (2)_00002.jpg", "a (2)_00003.jpg",
                                            "a_00001.jpg",     "a_00002.jpg",     "a_00003.jpg",
                                            "b_00001.jpg",     "b_00002.jpg",     "b_00003.jpg"};
    const auto nothing = [](RerunTest&) {};
    const Row rows[] = {
        {"skip: nothing to do", ExistingImages::Skip, nothing, {}, once},
        {"skip: an image gone",
         ExistingImages::Skip,
         [](RerunTest& t) { fs::remove(t.dir / "out/a_00002.jpg"); },
         {"out/a (2)_%05d.jpg"},
         {"a (2)_00001.jpg", "a (2)_00002.jpg", "a (2)_00003.jpg", "a_00001.jpg", "a_00003.jpg", "b_00001.jpg",
          "b_00002.jpg", "b_00003.jpg"}},
        {"skip: the video changed",
         ExistingImages::Skip,
         [](RerunTest& t) { t.dir.write("a.avi", "longer video"); },
         {"out/a (2)_%05d.jpg"},
         twice},
        {"skip: other options",
         ExistingImages::Skip,
         [](RerunTest& t) {
             TCutSettings s = t.session.options();
             turnOn(s, &TCutSettings::SizeCustom);
             t.session.setOptions(s);
         },
         {"out/a (2)_%05d.jpg", "out/b (2)_%05d.jpg"},
         {"a (2)_00001.jpg", "a (2)_00002.jpg", "a (2)_00003.jpg", "a_00001.jpg", "a_00002.jpg", "a_00003.jpg",
          "b (2)_00001.jpg", "b (2)_00002.jpg", "b (2)_00003.jpg", "b_00001.jpg", "b_00002.jpg", "b_00003.jpg"}},
        {"skip: the manifest deleted",
         ExistingImages::Skip,
         [](RerunTest& t) {
             fs::remove(t.dir / (std::string("out/") + kManifestName));
             t.onlyA();
         },
         {"out/a (2)_%05d.jpg"},
         twice},
        {"overwrite: fewer images replace more",
         ExistingImages::Overwrite,
         [](RerunTest& t) {
             test::setEnvironment("KELMORA_FAKE_FRAMES", "2");
             t.dir.write("out/a_00001.jpg", "old");
             t.onlyA();
         },
         {"out/a_%05d.jpg"},
         {"a_00001.jpg", "a_00002.jpg", "b_00001.jpg", "b_00002.jpg", "b_00003.jpg"}},
        {"overwrite: a name held by a replacing run elsewhere",
         ExistingImages::Overwrite,
         [](RerunTest& t) {
             t.dir.write("out/.kelmora-lock.a_00001.jpg");
             t.onlyA();
         },
         {"out/a (2)_%05d.jpg"},
         {".kelmora-lock.a_00001.jpg", "a (2)_00001.jpg", "a (2)_00002.jpg", "a (2)_00003.jpg", "a_00001.jpg",
          "a_00002.jpg", "a_00003.jpg", "b_00001.jpg", "b_00002.jpg", "b_00003.jpg"}},
        {"overwrite: a name another run may be writing",
         ExistingImages::Overwrite,
         [](RerunTest& t) {
             const Manifest written = Manifest::read(t.dir / "out");
             ManifestRecord writing = written.records().front();
             writing.finished = false;
             Manifest(t.dir / "out").append(writing);
             t.onlyA();
         },
         {"out/a (2)_%05d.jpg"},
         twice},
        {"rename: a new name beside",
         ExistingImages::Rename,
         [](RerunTest& t) { t.onlyA(); },
         {"out/a (2)_%05d.jpg"},
         twice},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        test::setEnvironment("KELMORA_FAKE_FRAMES", "");
        setExisting(row.existing);
        add("a.avi");
        add("b.avi");
        ASSERT_EQ(run(), CutBatchOutcome::Completed);
        ASSERT_EQ(images(), once);
        // A manifest only for a choice that reads it.
        EXPECT_EQ(fs::exists(dir / (std::string("out/") + kManifestName)), row.existing != ExistingImages::Rename);
        row.between(*this);
        const CutBatchReport report = again();
        EXPECT_EQ(report.outcome, CutBatchOutcome::Completed);
        EXPECT_EQ(outputs(), row.outputs);
        EXPECT_EQ(images(), row.images);
        EXPECT_EQ(report.cut + report.done, report.entries);
        if (row.existing == ExistingImages::Overwrite) {
            EXPECT_NE(TempFolder::read(dir / "out/a_00001.jpg"), "old");
        }
    }
    test::setEnvironment("KELMORA_FAKE_FRAMES", "");
}

TEST_F(RerunTest, ASkippedEntryIsReportedAsDone)
{
    setExisting(ExistingImages::Skip);
    add("a.avi");
    run();
    again();
    EXPECT_EQ(steps(), std::vector<std::string>{"1/1 a.avi done"});
    // The manifest says each run's start and end: nothing more for the skip.
    const Manifest manifest = Manifest::read(dir / "out");
    ASSERT_EQ(manifest.records().size(), 2u);
    EXPECT_FALSE(manifest.records()[0].finished);
    EXPECT_TRUE(manifest.records()[1].finished);
    EXPECT_EQ(manifest.records()[1].images, 3u);
    EXPECT_EQ(manifest.records()[1].video, dir / "a.avi");
}

TEST_F(RerunTest, ResumeRemovesARunCutShortAndCutsItAgainWhole)
{
    setExisting(ExistingImages::Skip);
    add("a.avi");
    add("b.avi");
    add("c.avi");
    run();
    const std::vector<std::string> whole = images();
    // As a kill during b's run leaves it: b's last record unfinished, two of
    // its images there, c never started.
    Manifest manifest = Manifest::read(dir / "out");
    ManifestRecord bStarted = manifest.records()[2];
    ASSERT_EQ(bStarted.name, "b");
    ASSERT_FALSE(bStarted.finished);
    manifest.append(bStarted);
    fs::remove(dir / "out/b_00003.jpg");
    for (const char* c : {"c_00001.jpg", "c_00002.jpg", "c_00003.jpg"}) fs::remove(dir / (std::string("out/") + c));
    // The whole manifest without c's lines.
    std::string lines;
    const Manifest cutShort = Manifest::read(dir / "out");
    for (const ManifestRecord& r : cutShort.records())
        if (r.name != "c") lines += manifestLine(r);
    fs::remove(dir / (std::string("out/") + kManifestName));
    dir.write(std::string("out/") + kManifestName, lines);

    session.setResume(true);
    again();
    EXPECT_EQ(outputs(), (std::vector<std::string>{"out/b_%05d.jpg", "out/c_%05d.jpg"}));
    EXPECT_EQ(images(), whole);
    EXPECT_EQ(steps(), (std::vector<std::string>{"1/3 a.avi done", "2/3 b.avi cut", "3/3 c.avi cut"}));
}

}  // namespace
}  // namespace kelmora
