// The built command lines run with the real extractor on tiny generated clips;
// the images it writes are checked by count, name, real type and size.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "cut/CutCommand.h"
#include "cut/CutSession.h"
#include "cut/TargetList.h"
#include "platform/Process.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitingRunner.h"

using namespace kelmora;
using kelmora::test::TempFolder;
namespace fs = std::filesystem;

namespace {

struct ImageInfo {
    std::string type;  // "jpeg", "gif", "png", "bmp" or "?"
    int width = 0;
    int height = 0;
};

int be16(const std::string& s, std::size_t at) { return (std::uint8_t(s[at]) << 8) | std::uint8_t(s[at + 1]); }
int le16(const std::string& s, std::size_t at) { return std::uint8_t(s[at]) | (std::uint8_t(s[at + 1]) << 8); }
int be32(const std::string& s, std::size_t at) { return (be16(s, at) << 16) | be16(s, at + 2); }
int le32(const std::string& s, std::size_t at) { return le16(s, at) | (le16(s, at + 2) << 16); }

// The image type from its magic bytes and the size from its header.
ImageInfo inspect(const std::string& path)
{
    const std::string s = TempFolder::read(path);
    if (s.size() >= 24 && s.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0) return {"png", be32(s, 16), be32(s, 20)};
    if (s.size() >= 10 && s.compare(0, 4, "GIF8") == 0) return {"gif", le16(s, 6), le16(s, 8)};
    if (s.size() >= 26 && s.compare(0, 2, "BM") == 0) return {"bmp", le32(s, 18), std::abs(le32(s, 22))};
    if (s.size() >= 4 && s.compare(0, 2, "\xFF\xD8") == 0) {
        for (std::size_t at = 2; at + 9 < s.size();) {
            if (std::uint8_t(s[at]) != 0xFF) break;
            const int marker = std::uint8_t(s[at + 1]);
            if (marker >= 0xC0 && marker <= 0xC2) return {"jpeg", be16(s, at + 7), be16(s, at + 5)};
            at += 2 + be16(s, at + 2);
        }
        return {"jpeg"};
    }
    return {"?"};
}

std::set<std::string> filesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

std::set<std::string> numbered(const std::string& stem, const std::string& ext, int count, bool fiveDigits = true)
{
    std::set<std::string> names;
    for (int n = 1; n <= count; ++n) {
        std::string number = std::to_string(n);
        if (fiveDigits) number = std::string(5 - number.size(), '0') + number;
        names.insert(stem + number + ext);
    }
    return names;
}

bool runExtractor(const std::vector<std::string>& arguments)
{
    std::string error;
    auto child = platform::ChildProcess::startHidden(platform::extractorProgramName(), arguments, &error);
    if (!child) {
        ADD_FAILURE() << error;
        return false;
    }
    return child->waitFor(60000) && child->exitStatus() == 0;
}

class CutExtractor : public ::testing::Test {
protected:
    // Two clips of 64 x 48: 2 s at 10 frames per second, and one of 14 frames at
    // a variable rate (10 in the first second, then one every 0.3 s).
    static void SetUpTestSuite()
    {
        if (platform::findProgram(platform::extractorProgramName(), "").empty()) return;
        clips = new TempFolder;
        constantClip = *clips / "constant.mp4";
        variableClip = *clips / "variable.mp4";
        const std::vector<std::string> source = {
            "-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-t", "2", "-pix_fmt", "yuv420p"};
        auto constant = source;
        constant.push_back(constantClip);
        auto variable = source;
        variable.insert(variable.end(),
                        {"-vf", "setpts='if(lt(N,10),N*0.1,1+(N-10)*0.3)/TB'", "-fps_mode", "vfr", variableClip});
        ready = runExtractor(constant) && runExtractor(variable);
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }
    void SetUp() override
    {
        if (!ready) GTEST_SKIP() << "ffmpeg is not available";
        out = *work / "out";
        fs::create_directory(out);
    }

    // Cuts target into the test's own output folder and returns what was written.
    std::set<std::string> cut(const std::string& target, TCutSettings settings)
    {
        if (settings.DestinationFolder.empty()) settings.DestinationFolder = out;
        const CutCommand command = BuildCutCommandLine(target, settings);
        EXPECT_TRUE(runExtractor(command.command.arguments)) << command.command.commandLine;
        return filesIn(settings.DestinationFolder);
    }

    static inline TempFolder* clips = nullptr;
    static inline std::string constantClip;
    static inline std::string variableClip;
    static inline bool ready = false;
    std::unique_ptr<TempFolder> work = std::make_unique<TempFolder>();
    std::string out;
};

}  // namespace

TEST_F(CutExtractor, EveryFrameAsJpeg)
{
    const auto files = cut(constantClip, TCutSettings{});
    EXPECT_EQ(files, numbered("constant_", ".jpg", 20));
    const ImageInfo info = inspect(out + "/constant_00020.jpg");
    EXPECT_EQ(info.type, "jpeg");
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 48);
}

TEST_F(CutExtractor, VariableRateGivesEachFrameOnce)
{
    EXPECT_EQ(cut(variableClip, TCutSettings{}), numbered("variable_", ".jpg", 14));
}

TEST_F(CutExtractor, RangeFromASecond)
{
    TCutSettings s;
    s.RangeAll = false;
    s.RangeFromSecond = true;
    s.StartSecond = 1;
    s.FrameCount = 3;
    EXPECT_EQ(cut(constantClip, s), numbered("constant_", ".jpg", 3));
}

TEST_F(CutExtractor, FramesPerSecondGiveExactlyThatManyImages)
{
    // The output rate option gave 8 and 12 here: it repeats early frames.
    for (const auto& [seconds, images] : {std::pair{3, 6}, std::pair{5, 10}}) {
        SCOPED_TRACE(seconds);
        const std::string clip = *work / ("c" + std::to_string(seconds) + ".mp4");
        ASSERT_TRUE(runExtractor({"-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-t",
                                  std::to_string(seconds), "-pix_fmt", "yuv420p", clip}));
        TCutSettings s;
        s.RateAll = false;
        s.RatePerSecond = true;
        s.FramesPerSecond = 2;
        s.DestinationFolder = *work / ("out" + std::to_string(seconds));
        fs::create_directory(s.DestinationFolder);
        const std::string stem = "c" + std::to_string(seconds) + "_";
        EXPECT_EQ(cut(clip, s), numbered(stem, ".jpg", images));
    }
}

TEST_F(CutExtractor, RelativeNamesAreReadAsFiles)
{
    // Without "./" the first is a protocol to the extractor and the second an option.
    const fs::path before = fs::current_path();
    fs::current_path(work->path());
    for (const std::string name : {"ep1:pilot.mp4", "-x.mp4"}) {
        SCOPED_TRACE(name);
        fs::copy_file(constantClip, name);
        TCutSettings s;
        s.RangeFromSecond = true;
        s.FrameCount = 2;
        EXPECT_EQ(cut(name, s).count(name.substr(0, name.size() - 4) + "_00002.jpg"), 1u);
    }
    fs::current_path(before);
}

TEST_F(CutExtractor, EveryFailureSaysWhyAndLeavesNoFile)
{
    const std::string text = work->write("text.mp4", "these bytes are no video");
    struct Row {
        const char* name;
        std::string target;
        void (*choose)(TCutSettings&);
        CutReason why;
        std::string detail;  // the extractor's words
    };
    const Row rows[] = {
        {"a start past the end: status 0 and no image", constantClip,
         [](TCutSettings& s) {
             s.RangeAll = false;
             s.RangeFromSecond = true;
             s.StartSecond = 99;
             s.FrameCount = 3;
         },
         CutReason::NoImage, ""},
        {"no video", text, [](TCutSettings&) {}, CutReason::ExitStatus, "Invalid data found when processing input"},
        {"a size the extractor refuses", constantClip,
         [](TCutSettings& s) {
             s.SizeSource = false;
             s.SizeCustom = true;
             s.ImageWidth = 0;
             s.ImageHeight = 100;
         },
         CutReason::ExitStatus, "Invalid frame size: 0x100."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CutSession session("");
        session.targets().add(row.target);
        TCutSettings s;
        row.choose(s);
        s.DestinationFolder = out;
        session.setOptions(s);
        test::WaitingRunner runner;
        const CutBatchReport report = session.runBatch(runner);
        EXPECT_EQ(report.outcome, CutBatchOutcome::CompletedWithFailures);
        ASSERT_EQ(report.failed.size(), 1u);
        EXPECT_EQ(report.failed[0].failure.why, row.why);
        EXPECT_EQ(report.failed[0].failure.detail, row.detail);
        EXPECT_TRUE(filesIn(out).empty()) << "the claim of the name is taken back";
    }
}

TEST_F(CutExtractor, UnnumberedImagesOfOverlappingNamesNeverMeet)
{
    // "a" writes a1.jpg ... a20.jpg, and "a1" would write a11.jpg ... a120.jpg.
    CutSession session("");
    for (const char* name : {"a1.mp4", "a.mp4"}) {
        fs::copy_file(constantClip, *work / name);
        session.targets().add(*work / name);
    }
    TCutSettings s;
    s.FormatJpeg = false;
    s.DestinationFolder = out;
    session.setOptions(s);
    test::WaitingRunner runner;
    EXPECT_EQ(session.runBatch(runner).outcome, CutBatchOutcome::Completed);
    EXPECT_EQ(filesIn(out).size(), 40u);
    EXPECT_EQ(filesIn(out).count("a20.jpg"), 1u);
    EXPECT_EQ(filesIn(out).count("a1 (2)20.jpg"), 1u);
}

TEST_F(CutExtractor, EachFormatAndSize)
{
    struct Case {
        bool TCutSettings::*format;
        const char* ext;
        const char* type;
    };
    for (const Case& c : {Case{&TCutSettings::FormatGif, ".gif", "gif"}, Case{&TCutSettings::FormatPng, ".png", "png"},
                          Case{&TCutSettings::FormatBmp, ".bmp", "bmp"}}) {
        TCutSettings s;
        s.FormatJpeg = false;
        s.*c.format = true;
        s.SizeSource = false;
        s.SizeCustom = true;
        s.ImageWidth = 32;
        s.ImageHeight = 24;
        s.RangeFromSecond = true;
        s.StartSecond = 0;
        s.DestinationFolder = out + "/" + c.type;
        fs::create_directory(s.DestinationFolder);
        s.FrameCount = 3;
        EXPECT_EQ(cut(constantClip, s), numbered("constant_", c.ext, 3));
        for (int n = 1; n <= 3; ++n) {  // every image is a whole file of its type, not only the first
            const ImageInfo info = inspect(s.DestinationFolder + "/constant_0000" + std::to_string(n) + c.ext);
            EXPECT_EQ(info.type, c.type) << n;
            EXPECT_EQ(info.width, 32) << c.type;
            EXPECT_EQ(info.height, 24) << c.type;
        }
    }
}

TEST_F(CutExtractor, NoFormatChosen)
{
    TCutSettings s;
    s.FormatJpeg = false;
    s.RangeFromSecond = true;
    s.FrameCount = 3;
    EXPECT_EQ(cut(constantClip, s), numbered("constant", ".jpg", 3, false));
    EXPECT_EQ(inspect(out + "/constant3.jpg").type, "jpeg");
}

TEST_F(CutExtractor, HostileNamesArriveIntact)
{
    const std::string folder = out + "/100% $(touch pwned) 'q' \"d\"";
    fs::create_directory(folder);
    TCutSettings s;
    s.RangeFromSecond = true;
    s.FrameCount = 2;
    s.DestinationFolder = folder;
    for (const std::string name : {"a b \"c\" 'd'.mp4", "50%off.mp4", "$(touch pwned).mp4", "-leading.mp4",
                                   "\xFF\xFE latin1 \xE9.mp4", "%05d.mp4"}) {
        const std::string target = work->path() + "/" + name;
        fs::copy_file(constantClip, target);
        const std::string stem = name.substr(0, name.size() - 4) + "_";
        const auto files = cut(target, s);
        for (const std::string& expected : numbered(stem, ".jpg", 2)) {
            EXPECT_TRUE(files.count(expected)) << name;
            EXPECT_EQ(inspect(folder + "/" + expected).type, "jpeg") << name;
        }
    }
    EXPECT_EQ(filesIn(folder).size(), 12u);
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists(work->path() + "/pwned"));
}

TEST_F(CutExtractor, PreviewWritesOneBitmap)
{
    const ExtractorCommand preview = BuildThumbnailCommandLine(constantClip, 1, out);
    ASSERT_TRUE(runExtractor(preview.arguments)) << preview.commandLine;
    const ImageInfo info = inspect(out + "/_thumb.bmp");
    EXPECT_EQ(info.type, "bmp");
    EXPECT_EQ(info.width, 80);
    EXPECT_EQ(info.height, 60);
    EXPECT_EQ(filesIn(out).size(), 1u);
    // With stdin on /dev/null the extractor does not overwrite an existing single file: it fails.
    EXPECT_FALSE(runExtractor(preview.arguments));
}

TEST_F(CutExtractor, ExistingImagesAreReplaced)
{
    TCutSettings s;
    s.RangeFromSecond = true;
    s.FrameCount = 2;
    std::ofstream(out + "/constant_00001.jpg") << "old";
    EXPECT_EQ(cut(constantClip, s), numbered("constant_", ".jpg", 2));
    EXPECT_EQ(inspect(out + "/constant_00001.jpg").type, "jpeg");
}
