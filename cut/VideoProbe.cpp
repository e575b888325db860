#include "cut/VideoProbe.h"

#include <charconv>
#include <chrono>
#include <numeric>

#include "cut/CutCommand.h"
#include "platform/Integers.h"
#include "platform/OutputPipe.h"
#include "platform/Process.h"

namespace kelmora {

namespace p = platform;

namespace {

// An answer longer than this is no answer about one stream.
constexpr std::size_t kMaxAnswerBytes = 16 * 1024;
// A prober stuck on a file (a stalled network share) is given up after this
// long: the video is then cut as it always was.
constexpr int kProbeLimitMs = 10000;

std::string_view unquoted(std::string_view value)
{
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.remove_suffix(1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
}

std::optional<std::int32_t> wholeNumber(std::string_view text)
{
    const std::optional<std::int64_t> value = p::parseInteger(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<double> decimal(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "64:45" or "25/1": both parts; nullopt for anything else.
std::optional<std::pair<std::int32_t, std::int32_t>> ratio(std::string_view text, char separator)
{
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    const auto num = wholeNumber(text.substr(0, at));
    const auto den = wholeNumber(text.substr(at + 1));
    if (!num || !den) return std::nullopt;
    return std::pair{*num, *den};
}

void take(VideoFacts& facts, std::string_view key, std::string_view value, std::optional<double>& formatSeconds)
{
    constexpr std::string_view stream = "streams.stream.0.";
    if (key == "format.duration") {
        if (const auto seconds = decimal(value); seconds && *seconds > 0) formatSeconds = seconds;
        return;
    }
    if (key.substr(0, stream.size()) != stream) return;
    key.remove_prefix(stream.size());
    facts.known = true;
    if (key == "width") facts.width = wholeNumber(value).value_or(0);
    else if (key == "height") facts.height = wholeNumber(value).value_or(0);
    else if (key == "sample_aspect_ratio") {
        if (const auto sar = ratio(value, ':'); sar && sar->first > 0 && sar->second > 0) {
            const std::int32_t common = std::gcd(sar->first, sar->second);
            facts.sarNum = sar->first / common;
            facts.sarDen = sar->second / common;
        }
    } else if (key == "field_order") facts.fieldOrder = value;
    else if (key == "color_transfer") facts.transfer = value;
    else if (key == "avg_frame_rate" || (key == "r_frame_rate" && facts.frameRate == 0)) {
        if (const auto rate = ratio(value, '/'); rate && rate->first > 0 && rate->second > 0)
            facts.frameRate = double(rate->first) / rate->second;
    } else if (key == "nb_frames") {
        if (const auto frames = p::parseInteger(value); frames && *frames > 0) facts.frames = frames;
    } else if (key == "duration") {
        if (const auto seconds = decimal(value); seconds && *seconds > 0) facts.seconds = seconds;
    } else if (key.ends_with(".rotation")) facts.rotation = wholeNumber(value).value_or(0);
}

}  // namespace

bool VideoFacts::nonSquarePixels() const { return sarNum > 0 && sarDen > 0 && sarNum != sarDen; }

bool VideoFacts::interlaced() const
{
    return fieldOrder == "tt" || fieldOrder == "bb" || fieldOrder == "tb" || fieldOrder == "bt";
}

bool VideoFacts::highDynamicRange() const { return transfer == "smpte2084" || transfer == "arib-std-b67"; }

std::vector<std::string> probeVideoArguments(const std::string& path)
{
    return {"-v",
            "error",
            "-select_streams",
            "v:0",
            "-show_entries",
            "stream=width,height,sample_aspect_ratio,field_order,color_transfer,avg_frame_rate,r_frame_rate,"
            "nb_frames,duration:stream_side_data=rotation:format=duration",
            "-of",
            "flat",
            extractorPath(path)};
}

VideoFacts parseVideoFacts(std::string_view answer)
{
    VideoFacts facts;
    std::optional<double> formatSeconds;
    while (!answer.empty()) {
        const std::size_t end = answer.find('\n');
        const std::string_view line = answer.substr(0, end);
        answer = end == std::string_view::npos ? std::string_view{} : answer.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            take(facts, line.substr(0, equals), unquoted(line.substr(equals + 1)), formatSeconds);
    }
    // A stream without a length of its own (Matroska) has the file's.
    if (facts.known && !facts.seconds) facts.seconds = formatSeconds;
    return facts;
}

VideoFacts probeVideo(const std::string& prober, const std::string& path)
{
    if (prober.empty()) return {};
    std::optional<p::OutputPipe> pipe = p::OutputPipe::create();
    if (!pipe) return {};
    p::StartOptions options;
    options.standardOutput = pipe->writingEnd();
    std::optional<p::ChildProcess> child = p::ChildProcess::startHidden(prober, probeVideoArguments(path), options);
    pipe->closeWritingEnd();
    if (!child) return {};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kProbeLimitMs);
    std::string answer;
    bool whole = false;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        const p::WaitHandle ready = pipe->readyHandle();
        if (left <= 0) break;
        // A signal may cut the wait short: the time left decides.
        if (p::waitForAny({&ready, 1}, static_cast<int>(left)).empty()) continue;
        if (!pipe->readAvailable(answer)) {
            whole = true;
            break;
        }
        if (answer.size() > kMaxAnswerBytes) break;
    }
    if (!whole) {
        child->terminate(0);
        child->waitFor(-1);
        return {};
    }
    child->waitFor(-1);
    if (child->exitStatus() != 0) return {};
    return parseVideoFacts(answer);
}

}  // namespace kelmora
