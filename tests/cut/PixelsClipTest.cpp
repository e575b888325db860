// What the probe changes, run through the session with the real extractor and
// prober on generated clips whose right answer is known: steady JPEG quality,
// square pixels, upright pictures, kept shapes, formats, honest counts, the
// interval against the video's own rate, woven fields, HDR and the preview.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "cut/CutCommand.h"
#include "cut/CutSession.h"
#include "platform/Process.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitingRunner.h"

using namespace kelmora;
using kelmora::test::TempFolder;
namespace fs = std::filesystem;

namespace {

bool run(const std::string& program, const std::vector<std::string>& arguments)
{
    auto child = platform::ChildProcess::startHidden(program, arguments);
    return child && child->waitFor(-1) && child->exitStatus() == 0;
}

bool ffmpeg(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), {"-v", "error", "-y"});
    return run("ffmpeg", arguments);
}

// An image's width and height, as the prober reads them.
std::pair<int, int> sizeOf(const std::string& image)
{
    const VideoFacts facts = probeVideo(platform::findProgram("ffprobe", ""), image);
    return {facts.width, facts.height};
}

// The peak signal-to-noise ratio of image against reference, in dB.
double psnr(const std::string& image, const std::string& reference, const std::string& work)
{
    const std::string stats = work + "/psnr.log";
    EXPECT_TRUE(ffmpeg({"-i", image, "-i", reference, "-lavfi", "[0][1]psnr=stats_file=" + stats, "-f", "null", "-"}));
    const std::string text = TempFolder::read(stats);
    const std::size_t at = text.find("psnr_avg:");
    return at == std::string::npos ? 0 : std::stod(text.substr(at + 9));
}

// Frame n of clip as a lossless picture.
std::string frameOf(const std::string& clip, int n, const std::string& png)
{
    EXPECT_TRUE(ffmpeg({"-i", clip, "-vf", "select=eq(n\\," + std::to_string(n) + ")", "-frames:v", "1", png}));
    return png;
}

// The luma of an image, row by row.
std::string grayPixels(const std::string& image, const std::string& work)
{
    const std::string raw = work + "/gray.raw";
    EXPECT_TRUE(ffmpeg({"-i", image, "-f", "rawvideo", "-pix_fmt", "gray", raw}));
    return TempFolder::read(raw);
}

struct Heard : CutSessionListener {
    CutEntryResult last;
    void entryFinished(const CutEntryResult& result) override { last = result; }
};

class PixelsClip : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (platform::findProgram("ffmpeg", "").empty() || platform::findProgram("ffprobe", "").empty())
            GTEST_SKIP() << "ffmpeg or ffprobe is not installed";
        out = *work / "out";
    }

    std::string clip(const std::string& name, std::vector<std::string> arguments)
    {
        const std::string path = *work / name;
        arguments.push_back(path);
        EXPECT_TRUE(ffmpeg(arguments)) << name;
        return path;
    }

    // Cuts target through the session into its own folder; the job it ran and how it ended.
    std::pair<CutJob, CutEntryResult> cut(const std::string& target, TCutSettings s, const std::string& folder)
    {
        s.DestinationFolder = out + "/" + folder;
        CutSession session("");
        Heard heard;
        session.setListener(&heard);
        session.setOptions(s);
        session.targets().add(target);
        test::WaitingRunner runner;
        session.runBatch(runner);
        return {runner.started.empty() ? CutJob{} : runner.started.front(), heard.last};
    }

    // The same cut without the probe: what the extractor gives untreated.
    std::string untreated(const std::string& target, TCutSettings s, const std::string& folder)
    {
        s.DestinationFolder = out + "/" + folder;
        fs::create_directories(s.DestinationFolder);
        const CutCommand command = BuildCutCommandLine(target, s);
        EXPECT_TRUE(run("ffmpeg", command.command.arguments));
        return s.DestinationFolder;
    }

    std::unique_ptr<TempFolder> work = std::make_unique<TempFolder>();
    std::string out;
};

TCutSettings png()
{
    TCutSettings s;
    turnOn(s, &TCutSettings::FormatPng);
    return s;
}

}  // namespace

TEST_F(PixelsClip, JpegQualityHoldsFromTheFirstImageToTheLast)
{
    const std::string moving = clip("moving.mkv", {"-f", "lavfi", "-i", "testsrc2=s=160x120:r=10:d=2", "-pix_fmt",
                                                   "yuv420p", "-c:v", "libx264", "-qp", "0"});
    const auto first = frameOf(moving, 0, *work / "f1.png"), last = frameOf(moving, 19, *work / "f20.png");
    cut(moving, TCutSettings{}, "high");
    TCutSettings low;
    low.ImageQuality = 30;
    cut(moving, low, "low");
    const double high1 = psnr(out + "/high/moving_00001.jpg", first, work->path());
    const double high20 = psnr(out + "/high/moving_00020.jpg", last, work->path());
    // Without a fixed quality the twentieth fell 6 dB below the first (42 to 36 dB).
    EXPECT_GT(high20, high1 - 1.5);
    EXPECT_GT(high20, 40);
    EXPECT_LT(psnr(out + "/low/moving_00020.jpg", last, work->path()), high20 - 3);
}

TEST_F(PixelsClip, PixelsAreSquareAndPicturesUprightOrdinaryVideosUntouched)
{
    const std::vector<std::string> source = {"-f", "lavfi", "-i", "testsrc=s=160x120:r=25:d=1", "-pix_fmt", "yuv420p"};
    const std::string plain = clip("plain.mp4", source);
    std::vector<std::string> wide = source;
    wide.insert(wide.end(), {"-vf", "setsar=64/45"});
    const std::string pal = clip("pal.mp4", wide);
    const std::string turned = clip("turned.mp4", {"-i", plain, "-c", "copy", "-metadata:s:v:0", "rotate=90"});
    struct Row {
        const char* name;
        std::string target;
        int width, height;
        bool filtered;  // the command line has a filter the plain cut has not
    };
    for (const Row& row : {Row{"plain", plain, 160, 120, false}, Row{"pal", pal, 226, 120, true},
                           Row{"turned", turned, 120, 160, false}}) {
        SCOPED_TRACE(row.name);
        const auto [job, result] = cut(row.target, png(), row.name);
        EXPECT_EQ(result.images, 25u);
        const std::string image = out + "/" + row.name + "/" + row.name + "_00001.png";
        EXPECT_EQ(sizeOf(image), std::pair(row.width, row.height));
        EXPECT_FALSE(probeVideo(platform::findProgram("ffprobe", ""), image).nonSquarePixels());
        EXPECT_EQ(job.command.argumentText.find("-vf") != std::string::npos, row.filtered);
    }
    // Upright: the display matrix (rotation=90, a quarter turn anticlockwise) is applied, in its direction.
    const std::string image = out + "/turned/turned_00001.png";
    const std::string clockwise = *work / "cw.png", anticlockwise = *work / "acw.png";
    ASSERT_TRUE(ffmpeg({"-i", plain, "-vf", "transpose=clock", "-frames:v", "1", clockwise}));
    ASSERT_TRUE(ffmpeg({"-i", plain, "-vf", "transpose=cclock", "-frames:v", "1", anticlockwise}));
    EXPECT_GT(psnr(image, anticlockwise, work->path()), 40);
    EXPECT_LT(psnr(image, clockwise, work->path()), 20);
}

TEST_F(PixelsClip, SizesKeepTheShape)
{
    // 180 x 120 at 64:45 is shown 256 x 120.
    const std::string pal = clip(
        "pal.mp4", {"-f", "lavfi", "-i", "testsrc=s=180x120:r=25:d=0.2", "-vf", "setsar=64/45", "-pix_fmt", "yuv420p"});
    struct Row {
        const char* name;
        std::int32_t mode, width, height;
        std::pair<int, int> expected;
    };
    for (const Row& row : {Row{"exact", smExact, 64, 64, {64, 64}}, Row{"fit", smFit, 100, 100, {100, 46}},
                           Row{"width", smWidth, 128, 999, {128, 60}}, Row{"height", smHeight, 999, 60, {128, 60}}}) {
        SCOPED_TRACE(row.name);
        TCutSettings s = png();
        turnOn(s, &TCutSettings::SizeCustom);
        s.SizeMode = row.mode;
        s.ImageWidth = row.width;
        s.ImageHeight = row.height;
        cut(pal, s, row.name);
        EXPECT_EQ(sizeOf(out + "/" + row.name + "/pal_00001.png"), row.expected);
    }
}

TEST_F(PixelsClip, WebpAndPngLevels)
{
    const std::string plain =
        clip("plain.mp4", {"-f", "lavfi", "-i", "testsrc=s=160x120:r=25:d=0.2", "-pix_fmt", "yuv420p"});
    struct Row {
        const char* name;
        void (*choose)(TCutSettings&);
        const char* ending;
        const char* chunk;  // what the first image holds after its header
    };
    const Row rows[] = {
        {"webp", [](TCutSettings& s) { turnOn(s, &TCutSettings::FormatWebp); }, ".webp", "VP8 "},
        {"lossless",
         [](TCutSettings& s) {
             turnOn(s, &TCutSettings::FormatWebp);
             s.WebpLossless = true;
         },
         ".webp", "VP8L"},
        {"png0",
         [](TCutSettings& s) {
             turnOn(s, &TCutSettings::FormatPng);
             s.PngLevel = 0;
         },
         ".png", "IHDR"},
        {"png9",
         [](TCutSettings& s) {
             turnOn(s, &TCutSettings::FormatPng);
             s.PngLevel = 9;
         },
         ".png", "IHDR"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TCutSettings s;
        row.choose(s);
        const auto [job, result] = cut(plain, s, row.name);
        EXPECT_EQ(result.images, 5u);
        const std::string bytes = TempFolder::read(out + "/" + row.name + "/plain_00001" + row.ending);
        EXPECT_EQ(bytes.substr(12, 4), row.chunk);
    }
    EXPECT_GT(fs::file_size(out + "/png0/plain_00001.png"), 2 * fs::file_size(out + "/png9/plain_00001.png"));
}

TEST_F(PixelsClip, DamagedInputAndAStartPastTheEndAreSaid)
{
    const std::string whole = clip("whole.mp4", {"-f", "lavfi", "-i", "testsrc=s=160x120:r=25:d=3", "-pix_fmt",
                                                 "yuv420p", "-movflags", "+faststart"});
    const std::string half = *work / "half.mp4";
    const std::string bytes = TempFolder::read(whole);
    std::ofstream(half, std::ios::binary) << bytes.substr(0, bytes.size() / 2);

    const auto [job, result] = cut(half, TCutSettings{}, "half");
    EXPECT_EQ(result.status, CutEntryStatus::Cut);
    EXPECT_FALSE(result.warning.inputTrouble.empty());
    EXPECT_EQ(result.warning.declaredFrames, 75);
    EXPECT_GT(result.images, 0u);
    EXPECT_LT(result.images, 75u);

    TCutSettings late;
    turnOn(late, &TCutSettings::RangeFromSecond);
    late.StartSecond = 5;
    const auto [lateJob, lateResult] = cut(whole, late, "late");
    EXPECT_EQ(lateResult.failure.why, CutReason::NoImage);
    ASSERT_TRUE(lateResult.failure.videoSeconds);
    EXPECT_NEAR(*lateResult.failure.videoSeconds, 3, 0.05);
    // A whole clip has nothing to warn of.
    EXPECT_FALSE(cut(whole, TCutSettings{}, "whole").second.warning.any());
}

TEST_F(PixelsClip, RatesAboveTheVideosOwnAndClipsShorterThanOneInterval)
{
    const std::string second =
        clip("second.mp4", {"-f", "lavfi", "-i", "testsrc=s=160x120:r=25:d=1", "-pix_fmt", "yuv420p"});
    const std::string blink =
        clip("blink.mp4", {"-f", "lavfi", "-i", "testsrc=s=160x120:r=25:d=0.2", "-pix_fmt", "yuv420p"});
    struct Row {
        const char* name;
        std::string target;
        std::int32_t perSecond;
        std::size_t images;
        RateChange rate;
    };
    for (const Row& row : {Row{"60 of 25", second, 60, 25, RateChange::EveryFrame},
                           Row{"2 of a 0.2 s clip", blink, 2, 1, RateChange::FirstFrame},
                           Row{"10 of 25", second, 10, 10, RateChange::None}}) {
        SCOPED_TRACE(row.name);
        TCutSettings s;
        turnOn(s, &TCutSettings::RatePerSecond);
        s.FramesPerSecond = row.perSecond;
        const auto [job, result] =
            cut(row.target, s, std::to_string(row.perSecond) + fs::path(row.target).stem().string());
        EXPECT_EQ(result.status, CutEntryStatus::Cut);
        EXPECT_EQ(result.images, row.images);
        EXPECT_EQ(result.warning.rate, row.rate);
    }
}

TEST_F(PixelsClip, InterlacedVideoGivesWovenFramesOncePerFrame)
{
    // A picture moving sideways, woven from two moments per frame: combed where untreated.
    const std::string progressive =
        clip("progressive.mkv", {"-f", "lavfi", "-i", "testsrc2=s=160x120:r=50:d=0.4", "-vf", "scroll=h=0.03",
                                 "-pix_fmt", "yuv420p", "-c:v", "libx264", "-qp", "0"});
    const std::string woven =
        clip("woven.mkv", {"-i", progressive, "-vf", "tinterlace=mode=interleave_top", "-flags", "+ildct+ilme", "-top",
                           "1", "-c:v", "libx264", "-qp", "0", "-pix_fmt", "yuv420p"});
    const auto [job, result] = cut(woven, png(), "treated");
    EXPECT_EQ(result.images, 10u);
    const std::string combed = untreated(woven, png(), "untreated");
    const std::string moment = frameOf(progressive, 6, *work / "moment.png");
    EXPECT_GT(psnr(out + "/treated/woven_00004.png", moment, work->path()),
              psnr(combed + "/woven_00004.png", moment, work->path()) + 5);
}

TEST_F(PixelsClip, HdrIsToneMappedToBt709)
{
    if (!ffmpeg({"-f", "lavfi", "-i", "color=s=16x16:d=0.04", "-c:v", "libx265", "-f", "null", "-"}))
        GTEST_SKIP() << "the extractor has no libx265 to make the clip";
    const std::string sdr = clip("sdr.mkv", {"-f", "lavfi", "-i", "testsrc2=s=160x120:r=25:d=0.2", "-pix_fmt",
                                             "yuv420p", "-c:v", "libx264", "-qp", "0"});
    const std::string hdr = clip(
        "hdr.mp4",
        {"-i", sdr, "-vf",
         "zscale=tin=bt709:min=bt709:pin=bt709:rin=tv:t=smpte2084:m=bt2020nc:p=bt2020:r=tv:npl=100,format=yuv420p10le",
         "-c:v", "libx265", "-x265-params", "log-level=error", "-color_primaries", "bt2020", "-color_trc", "smpte2084",
         "-colorspace", "bt2020nc"});
    cut(hdr, png(), "treated");
    const std::string plain = untreated(hdr, png(), "untreated");
    const std::string original = frameOf(sdr, 0, *work / "original.png");
    const std::string treated = out + "/treated/hdr_00001.png";
    EXPECT_GT(psnr(treated, original, work->path()), psnr(plain + "/hdr_00001.png", original, work->path()) + 3);
    // The PNG's primaries (cHRM: white x, y, then red x, y in 1/100000) are BT.709's red, 0.64 x 0.33.
    const std::string bytes = TempFolder::read(treated);
    const std::size_t chrm = bytes.find("cHRM");
    ASSERT_NE(chrm, std::string::npos);
    auto be32 = [&bytes](std::size_t at) {
        return (std::uint32_t(std::uint8_t(bytes[at])) << 24) | (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16)
               | (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) | std::uint8_t(bytes[at + 3]);
    };
    EXPECT_EQ(be32(chrm + 12), 64000u);
    EXPECT_EQ(be32(chrm + 16), 33000u);
}

TEST_F(PixelsClip, PreviewOfAPortraitClipHasBarsLeftAndRight)
{
    const std::string portrait =
        clip("portrait.mp4", {"-f", "lavfi", "-i", "color=white:s=60x120:r=25:d=1", "-pix_fmt", "yuv420p"});
    fs::create_directories(out);
    ASSERT_TRUE(run("ffmpeg", BuildThumbnailCommandLine(portrait, 0, out).arguments));
    const std::string pixels = grayPixels(out + "/_thumb.bmp", work->path());
    ASSERT_EQ(pixels.size(), 80u * 60u);
    // 60 x 120 fitted into 80 x 60 is 30 x 60 in the middle: 25 columns of bar each side.
    for (const int x : {0, 20, 59, 79}) EXPECT_LT(std::uint8_t(pixels[30 * 80 + x]), 30) << x;
    for (const int x : {28, 40, 51}) EXPECT_GT(std::uint8_t(pixels[30 * 80 + x]), 220) << x;
}
