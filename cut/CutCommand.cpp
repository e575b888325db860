#include "cut/CutCommand.h"

#include <algorithm>
#include <initializer_list>

#include "cut/FramePicking.h"
#include "platform/Process.h"

namespace kelmora {

namespace p = platform;

namespace {

// Builds the argument list and its text side by side, so the two never differ.
class ArgumentBuilder {
public:
    // Plain arguments: each followed by one space in the text.
    void add(std::initializer_list<std::string> arguments)
    {
        for (const std::string& argument : arguments) {
            m_list.push_back(argument);
            m_text += argument + " ";
        }
    }
    // A file name: in double quotes in the text, as it is in the list.
    void addQuoted(const std::string& name, const char* after)
    {
        m_list.push_back(name);
        m_text += "\"" + name + "\"" + after;
    }
    // The text's own space (two spaces before the batch's output name).
    void addSpace() { m_text += " "; }

    ExtractorCommand finish() &&
    {
        ExtractorCommand command;
        command.program = p::extractorProgramName();
        command.arguments = std::move(m_list);
        command.argumentText = std::move(m_text);
        command.commandLine = command.program + " " + command.argumentText;
        return command;
    }

private:
    std::vector<std::string> m_list;
    std::string m_text;
};

// A "%" is a pattern character for the extractor: a literal one is written "%%".
std::string escapePercent(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        result += c;
        if (c == '%') result += '%';
    }
    return result;
}

// Windows paths always get the "\" (C: + \ + name); on POSIX the root "/"
// already ends in the separator and gets no second one.
std::string inFolder(const std::string& folder, const std::string& name, p::PathStyle style)
{
    if (style == p::PathStyle::Windows) return folder + "\\" + name;
    return p::joinPath(folder, name, style);
}

// The ending of the images' names: the format's numbered one, or for names by
// time the milliseconds of each frame, renamed after the run (FramePicking.h).
std::string imageSuffix(const TCutSettings& settings, TOutputFormat format)
{
    if (namesByTime(settings)) return "_%09d" + imageExtension(format);
    return outputSuffix(format);
}

// "N a second" as the run takes it: not while frames are picked otherwise, nor
// when the video's own rate or length changes it (rateChange).
bool perSecondInUse(const TCutSettings& settings, const VideoFacts& video)
{
    return perSecondApplies(settings) && rateChange(settings, video) == RateChange::None;
}

// Frames keep their own timestamps: without this, every image but those of
// a per-second interval would be duplicated for variable-rate video, and the
// frames a picking filter leaves out would be filled in again.
bool needsPassthrough(const TCutSettings& settings, const VideoFacts& video)
{
    return !perSecondInUse(settings, video) || leavesOutRepeats(settings) || namesByTime(settings);
}

// The input's own options: key frames only are all the decoder looks at, and
// names by time take the video's timestamps as they are (also after a seek).
void addPickInputOptions(ArgumentBuilder& args, const TCutSettings& settings)
{
    if (pickModeOf(settings) == kPickKeyFrames) args.add({"-skip_frame", "nokey"});
    if (namesByTime(settings)) args.add({"-copyts"});
}

// Adds filter to the end of a filter chain.
void joinFilter(std::string& chain, const std::string& filter)
{
    if (!filter.empty()) chain += (chain.empty() ? "" : ",") + filter;
}

// Weaves the two fields of each frame into one (one image a frame).
std::string deinterlaceFilter(const VideoFacts& video) { return video.interlaced() ? "bwdif=mode=send_frame" : ""; }

// PQ or HLG brought down to BT.709: linear light, BT.709 primaries, tones above
// the white of SDR rolled off (mobius keeps the tones below its knee as they
// are), then the BT.709 transfer.
std::string toneMapFilter(const VideoFacts& video)
{
    if (!video.highDynamicRange()) return "";
    return "zscale=t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,tonemap=mobius:desat=0,"
           "zscale=t=bt709:m=bt709:r=tv,format=yuv420p";
}

// Square pixels: the picture as wide as a player shows it (after the turn the
// extractor makes itself).
std::string squarePixelsFilter(const VideoFacts& video)
{
    return video.nonSquarePixels() ? "scale=trunc(iw*sar/2)*2:ih,setsar=1" : "";
}

// The size is width x height whatever the shape: any mode but the three that keep it.
bool exactSize(const TCutSettings& settings)
{
    return settings.SizeMode != smFit && settings.SizeMode != smWidth && settings.SizeMode != smHeight;
}

// A size that keeps the picture's shape (the exact size is "-s", as it always was).
std::string keptShapeFilter(const TCutSettings& settings)
{
    if (!settings.SizeCustom) return "";
    const std::string w = std::to_string(settings.ImageWidth), h = std::to_string(settings.ImageHeight);
    switch (settings.SizeMode) {
    case smFit: return "scale=" + w + ":" + h + ":force_original_aspect_ratio=decrease:force_divisible_by=2,setsar=1";
    case smWidth: return "scale=" + w + ":-2,setsar=1";
    case smHeight: return "scale=-2:" + h + ",setsar=1";
    default: return "";
    }
}

// The picture of each image kept: HDR brought to SDR, square pixels, the size kept in shape.
void joinPictureFilters(std::string& chain, const TCutSettings& settings, const VideoFacts& video)
{
    joinFilter(chain, toneMapFilter(video));
    joinFilter(chain, squarePixelsFilter(video));
    joinFilter(chain, keptShapeFilter(settings));
}

// The encoder's choices of the format (the GIF writer's, JPEG's steady
// quality, WebP's encoder and quality, PNG's compression) and the exact size.
void addFormatAndSize(ArgumentBuilder& args, const TCutSettings& settings, TOutputFormat format)
{
    // The image2 writer picks JPEG data for ".gif" names unless told otherwise, and
    // the GIF encoder writes whole pictures with their header only when asked to
    // (by default every image after the first is a headerless difference).
    if (format == ofGif) args.add({"-vcodec", "gif", "-gifimage", "1"});
    // Without a quality the encoder's rate control lets later images grow worse.
    if (format == ofJpeg || format == ofNone)
        args.add({"-q:v", std::to_string(jpegQualityScale(settings.ImageQuality))});
    if (format == ofWebp) {
        args.add({"-c:v", "libwebp"});
        if (settings.WebpLossless) args.add({"-lossless", "1"});
        else args.add({"-quality", std::to_string(settings.ImageQuality == 0 ? 90 : settings.ImageQuality)});
    }
    if (format == ofPng && settings.PngLevel >= 0) args.add({"-compression_level", std::to_string(settings.PngLevel)});
    if (settings.SizeCustom && exactSize(settings)) {
        args.add({"-s", std::to_string(settings.ImageWidth) + "x" + std::to_string(settings.ImageHeight)});
    }
}

// Frames in milliseconds, for names by time.
constexpr const char* kMillisecondFilters = "settb=1/1000,setpts=PTS";

// The frames' filters, in the order they act: fields woven first (they need
// the frames around them), then the picking and the dropping of repeats, so
// the costlier steps after them see only the frames kept, then the picture,
// then the timestamps.
void addFilters(ArgumentBuilder& args, const TCutSettings& settings, const VideoFacts& video)
{
    std::string chain;
    joinFilter(chain, deinterlaceFilter(video));
    switch (pickModeOf(settings)) {
    case kPickScenes: {
        // The first frame too: a video without a cut gives its opening picture.
        const std::int32_t percent = settings.SceneThreshold;
        joinFilter(chain, "select='eq(n,0)+gt(scene," + std::to_string(percent / 100) + "."
                              + (percent % 100 < 10 ? "0" : "") + std::to_string(percent % 100) + ")'");
        break;
    }
    // Rounded up, each image is the frame at or just before its time (0, D,
    // 2D, ...), the one a seek finds; by default the filter would take the
    // frame before the middle of each interval.
    case kPickEvery: joinFilter(chain, "fps=1/" + std::to_string(settings.EverySeconds) + ":round=up"); break;
    case kPickKeyFrames: break;
    default:
        // The fps filter takes one frame per interval; the output rate option (-r)
        // would repeat early frames to fill its constant rate.
        if (perSecondInUse(settings, video)) joinFilter(chain, "fps=" + std::to_string(settings.FramesPerSecond));
        if (leavesOutRepeats(settings)) joinFilter(chain, "mpdecimate");
        break;
    }
    joinPictureFilters(chain, settings, video);
    if (namesByTime(settings)) joinFilter(chain, kMillisecondFilters);
    if (!chain.empty()) args.add({"-vf", chain});
}

// Without repeats, a first output that writes nothing takes the same frames
// but keeps the repeats: its frame count, on the extractor's last progress
// line, tells how many were left out.
void addCountingOutput(ArgumentBuilder& args, const TCutSettings& settings, const VideoFacts& video)
{
    if (!leavesOutRepeats(settings)) return;
    if (settings.RangeFromSecond) args.add({"-vframes", std::to_string(settings.FrameCount)});
    args.add({"-f", "null", "-fps_mode", "passthrough"});
    if (perSecondInUse(settings, video)) args.add({"-vf", "fps=" + std::to_string(settings.FramesPerSecond)});
    args.add({"-"});
}

// Each image's number is its frame's time in milliseconds.
void addTimeNameOptions(ArgumentBuilder& args, const TCutSettings& settings)
{
    if (namesByTime(settings)) args.add({"-enc_time_base", "1/1000", "-frame_pts", "1"});
}

// One image every D seconds by seeking: one input a time, each read from the
// key frame before it only, and one output of one image for each, in one run.
// Numbered images keep their numbers through each output's start number.
ExtractorCommand seekingCommand(const std::string& target, const TCutSettings& settings, const VideoFacts& video,
                                TOutputFormat format, const std::vector<std::int64_t>& seconds,
                                const std::string& pattern, p::PathStyle style)
{
    ArgumentBuilder args;
    if (namesByTime(settings)) args.add({"-copyts"});
    for (const std::int64_t at : seconds) {
        args.add({"-ss", std::to_string(at), "-i"});
        args.addQuoted(extractorPath(target, style), " ");
    }
    std::string filters;
    joinFilter(filters, deinterlaceFilter(video));
    joinPictureFilters(filters, settings, video);
    if (namesByTime(settings)) joinFilter(filters, kMillisecondFilters);
    for (std::size_t i = 0; i < seconds.size(); ++i) {
        args.add({"-map", std::to_string(i) + ":v:0", "-frames:v", "1", "-f", "image2"});
        if (namesByTime(settings)) args.add({"-fps_mode", "passthrough"});
        else args.add({"-start_number", std::to_string(i + 1)});
        addFormatAndSize(args, settings, format);
        if (!filters.empty()) args.add({"-vf", filters});
        addTimeNameOptions(args, settings);
        args.addQuoted(pattern, i + 1 < seconds.size() ? " " : "");
    }
    return std::move(args).finish();
}

}  // namespace

int jpegQualityScale(std::int32_t quality)
{
    if (quality <= 0) return 2;
    quality = std::min(quality, 100);
    return 31 - ((quality - 1) * 29 + 49) / 99;
}

RateChange rateChange(const TCutSettings& settings, const VideoFacts& video)
{
    if (!perSecondApplies(settings) || !video.known || settings.FramesPerSecond <= 0) return RateChange::None;
    if (video.seconds && *video.seconds * settings.FramesPerSecond < 1) return RateChange::FirstFrame;
    // A rate a hair above the video's own (29.97 for 30) is still the same frames.
    if (video.frameRate > 0 && settings.FramesPerSecond > video.frameRate + 0.01) return RateChange::EveryFrame;
    return RateChange::None;
}

TOutputFormat chooseOutputFormat(const TCutSettings& settings)
{
    for (const ImageFormat& format : imageFormats())
        if (settings.*format.choice) return format.format;
    return ofNone;
}

std::string outputSuffix(TOutputFormat format)
{
    for (const ImageFormat& known : imageFormats())
        if (known.format == format) return std::string("_%05d") + known.extension;
    // No format chosen: numbered without padding, as JPEG.
    return "%d.jpg";
}

std::string outputName(const std::string& target, p::PathStyle style)
{
    return p::replaceExtension(p::fileNamePart(target, style), "", style);
}

std::string firstImagePath(const std::string& folder, const std::string& name, TOutputFormat format, p::PathStyle style)
{
    std::string suffix = outputSuffix(format);
    const std::size_t number = suffix.find('%');
    suffix.replace(number, suffix.find('d', number) + 1 - number, format == ofNone ? "1" : "00001");
    return inFolder(folder, name + suffix, style);
}

std::string extractorPath(const std::string& path, p::PathStyle style)
{
    if (path.empty() || p::isFullPath(path, style)) return path;
    if (style == p::PathStyle::Posix) return "./" + path;
    // Windows: "C:name" is no full path, yet it names no option and no protocol either.
    return path.size() >= 2 && path[1] == ':' ? path : ".\\" + path;
}

CutCommand BuildCutCommandLine(const std::string& target, const TCutSettings& settings, p::PathStyle style)
{
    return BuildCutCommandLine(target, settings, outputName(target, style), style);
}

CutCommand BuildCutCommandLine(const std::string& target, const TCutSettings& settings, const std::string& name,
                               p::PathStyle style)
{
    return BuildCutCommandLine(target, settings, name, VideoFacts{}, style);
}

CutCommand BuildCutCommandLine(const std::string& target, const TCutSettings& settings, const std::string& name,
                               const VideoFacts& video, p::PathStyle style)
{
    const TOutputFormat format = chooseOutputFormat(settings);
    // The folder and the name are escaped; the suffix's own "%05d" is the number.
    CutCommand cut;
    cut.OutputPattern = extractorPath(
        inFolder(escapePercent(settings.DestinationFolder), escapePercent(name) + imageSuffix(settings, format), style),
        style);
    cut.QuotedOutputPattern = "\"" + cut.OutputPattern + "\"";

    if (const std::vector<std::int64_t> seconds = pickModeOf(settings) == kPickEvery
                                                      ? everySeekSeconds(settings, video.seconds)
                                                      : std::vector<std::int64_t>();
        !seconds.empty()) {
        cut.command = seekingCommand(target, settings, video, format, seconds, cut.OutputPattern, style);
        return cut;
    }

    ArgumentBuilder args;
    addPickInputOptions(args, settings);
    if (settings.RangeFromSecond) args.add({"-ss", std::to_string(settings.StartSecond)});
    args.add({"-i"});
    args.addQuoted(extractorPath(target, style), " ");
    addCountingOutput(args, settings, video);
    if (settings.RangeFromSecond) args.add({"-vframes", std::to_string(settings.FrameCount)});
    if (rateChange(settings, video) == RateChange::FirstFrame) args.add({"-frames:v", "1"});
    args.add({"-f", "image2"});
    // Every frame as it is: without this, variable-rate videos get duplicated frames.
    if (needsPassthrough(settings, video)) args.add({"-fps_mode", "passthrough"});
    addFormatAndSize(args, settings, format);
    addFilters(args, settings, video);
    addTimeNameOptions(args, settings);
    args.addSpace();
    args.addQuoted(cut.OutputPattern, "");
    cut.command = std::move(args).finish();
    return cut;
}

ExtractorCommand BuildThumbnailCommandLine(const std::string& target, std::int32_t startSecond,
                                           const std::string& previewFolder, p::PathStyle style)
{
    ArgumentBuilder args;
    args.add({"-ss", std::to_string(startSecond), "-i"});
    args.addQuoted(extractorPath(target, style), " ");
    // One picture, not a numbered sequence.
    // Square pixels, fitted into 80 x 60 and centred on black.
    args.add({"-vframes", "1", "-f", "image2", "-update", "1", "-vf",
              "scale=trunc(iw*sar/2)*2:ih,scale=80:60:force_original_aspect_ratio=decrease,pad=80:60:-1:-1,setsar=1",
              "-an"});
    args.addQuoted(extractorPath(inFolder(previewFolder, "_thumb.bmp", style), style), "");
    return std::move(args).finish();
}

}  // namespace kelmora
