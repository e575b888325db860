#include <gtest/gtest.h>

#include <algorithm>

#include "cut/CutCommand.h"

using namespace kelmora;
using kelmora::platform::PathStyle;

namespace {

TCutSettings at(const std::string& destination)
{
    TCutSettings s;
    s.DestinationFolder = destination;
    return s;
}

}  // namespace

TEST(CutCommand, FormatChoiceAndSuffix)
{
    using T = TCutSettings;
    // The first format that is on wins, in the order JPEG, GIF, PNG, BMP.
    const std::pair<std::vector<ChoiceField>, TOutputFormat> rows[] = {
        {{&T::FormatJpeg, &T::FormatGif, &T::FormatPng, &T::FormatBmp}, ofJpeg},
        {{&T::FormatGif, &T::FormatPng, &T::FormatBmp}, ofGif},
        {{&T::FormatPng, &T::FormatBmp}, ofPng},
        {{&T::FormatBmp}, ofBmp},
        {{}, ofNone},
    };
    for (const auto& [on, chosen] : rows) {
        T s;
        s.FormatJpeg = false;
        for (const ChoiceField format : on) s.*format = true;
        EXPECT_EQ(chooseOutputFormat(s), chosen) << on.size();
    }
    EXPECT_EQ(outputSuffix(ofGif), "_%05d.gif");
    EXPECT_EQ(outputSuffix(ofNone), "%d.jpg");
}

TEST(CutCommand, WorkedExamplesBothStyles)
{
    using T = TCutSettings;
    struct Row {
        const char* name;
        void (*choose)(T&);
        std::string windowsFolder, windowsTarget, windows;  // the argument text on each system
        std::string posixFolder, posixTarget, posix;
    };
    const Row rows[] = {
        {"the defaults: every frame, own size, JPEG", [](T&) {}, "D:\\out", "C:\\v\\a.avi",
         R"(-i "C:\v\a.avi" -f image2 -fps_mode passthrough -q:v 2  "D:\out\a_%05d.jpg")", "/out", "/v/a.avi",
         R"(-i "/v/a.avi" -f image2 -fps_mode passthrough -q:v 2  "/out/a_%05d.jpg")"},
        {"from second 10 for 30 frames at 320 x 240 as PNG: -vframes follows the input",
         [](T& s) {
             turnOn(s, &T::RangeFromSecond);
             s.StartSecond = 10;
             s.FrameCount = 30;
             turnOn(s, &T::SizeCustom);
             turnOn(s, &T::FormatPng);
         },
         "D:\\out", "C:\\v\\a.avi",
         R"(-ss 10 -i "C:\v\a.avi" -vframes 30 -f image2 -fps_mode passthrough -s 320x240  "D:\out\a_%05d.png")",
         "/out", "/v/a.avi",
         R"(-ss 10 -i "/v/a.avi" -vframes 30 -f image2 -fps_mode passthrough -s 320x240  "/out/a_%05d.png")"},
        {"5 a second as BMP into a root",
         [](T& s) {
             turnOn(s, &T::RatePerSecond);
             s.FramesPerSecond = 5;
             turnOn(s, &T::FormatBmp);
         },
         "C:", "C:\\v\\clip.mp4", R"(-i "C:\v\clip.mp4" -f image2 -vf fps=5  "C:\clip_%05d.bmp")", "/", "/v/clip.mp4",
         R"(-i "/v/clip.mp4" -f image2 -vf fps=5  "/clip_%05d.bmp")"},
        {"no format on", [](T& s) { s.FormatJpeg = false; }, "D:\\out", "C:\\v\\a.avi",
         R"(-i "C:\v\a.avi" -f image2 -fps_mode passthrough -q:v 2  "D:\out\a%d.jpg")", "/out", "/v/a.avi",
         R"(-i "/v/a.avi" -f image2 -fps_mode passthrough -q:v 2  "/out/a%d.jpg")"},
        {"640 x 480, 2 a second, GIF: the GIF encoder is named",
         [](T& s) {
             turnOn(s, &T::SizeCustom);
             s.ImageWidth = 640;
             s.ImageHeight = 480;
             turnOn(s, &T::RatePerSecond);
             s.FramesPerSecond = 2;
             turnOn(s, &T::FormatGif);
         },
         "D:\\out", "C:\\v\\a.avi",
         R"(-i "C:\v\a.avi" -f image2 -vcodec gif -gifimage 1 -s 640x480 -vf fps=2  "D:\out\a_%05d.gif")", "/out",
         "/v/a.avi", R"(-i "/v/a.avi" -f image2 -vcodec gif -gifimage 1 -s 640x480 -vf fps=2  "/out/a_%05d.gif")"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        T s = at(row.windowsFolder);
        row.choose(s);
        const ExtractorCommand windows = BuildCutCommandLine(row.windowsTarget, s, PathStyle::Windows).command;
        EXPECT_EQ(windows.argumentText, row.windows);
        EXPECT_EQ(windows.commandLine, windows.program + " " + row.windows);
        s.DestinationFolder = row.posixFolder;
        EXPECT_EQ(BuildCutCommandLine(row.posixTarget, s, PathStyle::Posix).command.argumentText, row.posix);
    }
}

TEST(CutCommand, OutputPatterns)
{
    const TCutSettings win = at("D:\\out");
    EXPECT_EQ(BuildCutCommandLine("C:\\v\\movie", win, PathStyle::Windows).OutputPattern, "D:\\out\\movie_%05d.jpg");
    EXPECT_EQ(BuildCutCommandLine("C:\\v.d\\x.y.avi", win, PathStyle::Windows).OutputPattern, "D:\\out\\x.y_%05d.jpg");
    EXPECT_EQ(BuildCutCommandLine("C:\\clip", win, PathStyle::Windows).OutputPattern, "D:\\out\\clip_%05d.jpg");
    EXPECT_EQ(BuildCutCommandLine("C:\\a\\x.avi", win, PathStyle::Windows).OutputPattern,
              BuildCutCommandLine("C:\\b\\x.avi", win, PathStyle::Windows).OutputPattern);
    // A "%" of the folder or the name is literal; the suffix's stays a number.
    const CutCommand percent = BuildCutCommandLine("C:\\v\\50%off.avi", at("D:\\100%"), PathStyle::Windows);
    EXPECT_EQ(percent.OutputPattern, "D:\\100%%\\50%%off_%05d.jpg");
    EXPECT_EQ(percent.QuotedOutputPattern, "\"D:\\100%%\\50%%off_%05d.jpg\"");
    EXPECT_EQ(percent.command.arguments[1], "C:\\v\\50%off.avi");  // the input is a plain file name

    const TCutSettings posix = at("/out");
    EXPECT_EQ(BuildCutCommandLine("/v.d/x.y.avi", posix, PathStyle::Posix).OutputPattern, "/out/x.y_%05d.jpg");
    EXPECT_EQ(BuildCutCommandLine("clip.avi", posix, PathStyle::Posix).OutputPattern, "/out/clip_%05d.jpg");
    // A chosen name is escaped as the rest.
    EXPECT_EQ(BuildCutCommandLine("/v/50%off.avi", posix, "50%off (2)", PathStyle::Posix).OutputPattern,
              "/out/50%%off (2)_%05d.jpg");
    // The empty folder is written as it is (the batch refuses it before building).
    EXPECT_EQ(BuildCutCommandLine("C:\\v\\a.avi", at(""), PathStyle::Windows).OutputPattern, "\\a_%05d.jpg");
}

TEST(CutCommand, OddValuesAreWrittenAsTheyAre)
{
    TCutSettings s = at("/out");
    s.SizeCustom = true;
    s.ImageWidth = 0;
    s.ImageHeight = 0;
    s.RangeAll = false;  // neither range choice on: every frame
    EXPECT_EQ(BuildCutCommandLine("/v/a.avi", s, PathStyle::Posix).command.argumentText,
              "-i \"/v/a.avi\" -f image2 -fps_mode passthrough -q:v 2 -s 0x0  \"/out/a_%05d.jpg\"");
    s.RangeFromSecond = true;
    s.StartSecond = -5;  // a value still being typed is not clamped
    s.FrameCount = 0;
    EXPECT_EQ(BuildCutCommandLine("/v/a.avi", s, PathStyle::Posix).command.argumentText,
              "-ss -5 -i \"/v/a.avi\" -vframes 0 -f image2 -fps_mode passthrough -q:v 2 -s 0x0  \"/out/a_%05d.jpg\"");
}

TEST(CutCommand, ArgumentListMatchesTheText)
{
    TCutSettings s = at("/o u\"t");
    s.RangeFromSecond = true;
    s.StartSecond = 3;
    s.FrameCount = 4;
    const std::string target = "/v/a \"b\" $(x).avi";
    const CutCommand cut = BuildCutCommandLine(target, s, PathStyle::Posix);
    EXPECT_EQ(cut.command.arguments,
              (std::vector<std::string>{"-ss", "3", "-i", target, "-vframes", "4", "-f", "image2", "-fps_mode",
                                        "passthrough", "-q:v", "2", "/o u\"t/a \"b\" $(x)_%05d.jpg"}));
    EXPECT_EQ(cut.command.commandLine, cut.command.program + " " + cut.command.argumentText);
}

TEST(CutCommand, Thumbnail)
{
    // Square pixels, fitted into the 80 x 60 box and centred (PreviewClipTest checks the pixels).
    const std::string kFittedThumbnail =
        "scale=trunc(iw*sar/2)*2:ih,scale=80:60:force_original_aspect_ratio=decrease,pad=80:60:-1:-1,setsar=1";
    const ExtractorCommand win = BuildThumbnailCommandLine("C:\\v\\a.avi", 12, "C:\\Tools", PathStyle::Windows);
    EXPECT_EQ(
        win.argumentText,
        "-ss 12 -i \"C:\\v\\a.avi\" -vframes 1 -f image2 -update 1 -vf "
        "scale=trunc(iw*sar/2)*2:ih,scale=80:60:force_original_aspect_ratio=decrease,pad=80:60:-1:-1,setsar=1 -an "
        "\"C:\\Tools\\_thumb.bmp\"");
    EXPECT_EQ(BuildThumbnailCommandLine("C:\\v\\a.avi", 0, "C:\\", PathStyle::Windows).argumentText,
              "-ss 0 -i \"C:\\v\\a.avi\" -vframes 1 -f image2 -update 1 -vf " + kFittedThumbnail
                  + " -an \"C:\\\\_thumb.bmp\"");
    const ExtractorCommand posix = BuildThumbnailCommandLine("/v/a%.avi", 7, "/opt/k", PathStyle::Posix);
    EXPECT_EQ(posix.arguments,
              (std::vector<std::string>{"-ss", "7", "-i", "/v/a%.avi", "-vframes", "1", "-f", "image2", "-update", "1",
                                        "-vf", kFittedThumbnail, "-an", "/opt/k/_thumb.bmp"}));
    EXPECT_EQ(posix.commandLine, posix.program + " " + posix.argumentText);
}

TEST(CutCommand, NamesAndFirstImages)
{
    EXPECT_EQ(outputName("/v.d/x.y.avi", PathStyle::Posix), "x.y");
    EXPECT_EQ(outputName("C:\\v\\movie", PathStyle::Windows), "movie");
    EXPECT_EQ(firstImagePath("/out", "a (2)", ofJpeg, PathStyle::Posix), "/out/a (2)_00001.jpg");
    EXPECT_EQ(firstImagePath("/out", "50%off", ofBmp, PathStyle::Posix), "/out/50%off_00001.bmp");
    EXPECT_EQ(firstImagePath("/out", "a", ofNone, PathStyle::Posix), "/out/a1.jpg");
    EXPECT_EQ(firstImagePath("D:\\out", "a", ofGif, PathStyle::Windows), "D:\\out\\a_00001.gif");
}

TEST(CutCommand, EveryPathReadsAsAFile)
{
    struct Row {
        PathStyle style;
        const char* path;
        const char* handed;  // what the extractor gets
    };
    for (const Row& row :
         {Row{PathStyle::Posix, "ep1:pilot.mp4", "./ep1:pilot.mp4"}, Row{PathStyle::Posix, "-x.mp4", "./-x.mp4"},
          Row{PathStyle::Posix, "/v/-x.mp4", "/v/-x.mp4"}, Row{PathStyle::Windows, "-x.mp4", ".\\-x.mp4"},
          Row{PathStyle::Windows, "C:\\v\\a.avi", "C:\\v\\a.avi"},
          Row{PathStyle::Windows, "\\\\server\\a.avi", "\\\\server\\a.avi"}}) {
        SCOPED_TRACE(row.path);
        const CutCommand cut = BuildCutCommandLine(row.path, at("out"), row.style);
        EXPECT_EQ(cut.command.arguments[1], row.handed);
        const ExtractorCommand preview = BuildThumbnailCommandLine(row.path, 0, "tmp", row.style);
        EXPECT_EQ(preview.arguments[3], row.handed);
    }
    // A relative destination (refused by the batch) is no option either.
    EXPECT_EQ(BuildCutCommandLine("/v/a.avi", at("-out"), PathStyle::Posix).OutputPattern, "./-out/a_%05d.jpg");
    EXPECT_EQ(BuildThumbnailCommandLine("/v/a.avi", 0, "-k", PathStyle::Posix).arguments.back(), "./-k/_thumb.bmp");
}

TEST(CutCommand, PixelChoicesAndProbedFacts)
{
    using T = TCutSettings;
    VideoFacts plain;
    plain.known = true;
    plain.sarNum = plain.sarDen = 1;
    plain.fieldOrder = "progressive";
    plain.frameRate = 25;
    plain.seconds = 2;
    struct Row {
        const char* name;
        void (*choose)(T&, VideoFacts&);
        std::string posix;  // the argument text between the input and the output
    };
    const Row rows[] = {
        {"an ordinary video is cut as always", [](T&, VideoFacts&) {}, "-f image2 -fps_mode passthrough -q:v 2"},
        {"quality 1 is the extractor's worst", [](T& s, VideoFacts&) { s.ImageQuality = 1; },
         "-f image2 -fps_mode passthrough -q:v 31"},
        {"non-square pixels", [](T&, VideoFacts& v) { v.sarNum = 64, v.sarDen = 45; },
         "-f image2 -fps_mode passthrough -q:v 2 -vf scale=trunc(iw*sar/2)*2:ih,setsar=1"},
        {"fit within",
         [](T& s, VideoFacts&) {
             turnOn(s, &T::SizeCustom);
             s.SizeMode = smFit;
         },
         "-f image2 -fps_mode passthrough -q:v 2 -vf "
         "scale=320:240:force_original_aspect_ratio=decrease:force_divisible_by=2,setsar=1"},
        {"width only",
         [](T& s, VideoFacts&) {
             turnOn(s, &T::SizeCustom);
             s.SizeMode = smWidth;
         },
         "-f image2 -fps_mode passthrough -q:v 2 -vf scale=320:-2,setsar=1"},
        {"interlaced, 2 a second: fields first, then the rate",
         [](T& s, VideoFacts& v) {
             v.fieldOrder = "tt";
             turnOn(s, &T::RatePerSecond);
             s.FramesPerSecond = 2;
         },
         "-f image2 -q:v 2 -vf bwdif=mode=send_frame,fps=2"},
        {"more a second than the video has: each frame once",
         [](T& s, VideoFacts&) {
             turnOn(s, &T::RatePerSecond);
             s.FramesPerSecond = 60;
         },
         "-f image2 -fps_mode passthrough -q:v 2"},
        {"shorter than one interval: the first frame",
         [](T& s, VideoFacts& v) {
             v.seconds = 0.2;
             turnOn(s, &T::RatePerSecond);
             s.FramesPerSecond = 2;
         },
         "-frames:v 1 -f image2 -fps_mode passthrough -q:v 2"},
        {"HDR as lossless WebP",
         [](T& s, VideoFacts& v) {
             v.transfer = "arib-std-b67";
             turnOn(s, &T::FormatWebp);
             s.WebpLossless = true;
         },
         "-f image2 -fps_mode passthrough -c:v libwebp -lossless 1 -vf "
         "zscale=t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,tonemap=mobius:desat=0,zscale=t=bt709:m=bt709:r=tv,"
         "format=yuv420p"},
        {"PNG at level 9", [](T& s, VideoFacts&) { turnOn(s, &T::FormatPng), s.PngLevel = 9; },
         "-f image2 -fps_mode passthrough -compression_level 9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        T s = at("/out");
        VideoFacts video = plain;
        row.choose(s, video);
        const std::string text = BuildCutCommandLine("/v/a.avi", s, "a", video, PathStyle::Posix).command.argumentText;
        const std::string ending = chooseOutputFormat(s) == ofPng ? ".png" : s.FormatWebp ? ".webp" : ".jpg";
        EXPECT_EQ(text, "-i \"/v/a.avi\" " + row.posix + "  \"/out/a_%05d" + ending + "\"");
    }
}
