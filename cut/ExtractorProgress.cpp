#include "cut/ExtractorProgress.h"

#include <charconv>
#include <type_traits>

#include "cut/CutCommand.h"
#include "platform/Integers.h"

namespace kelmora {

namespace {

template <typename Number>
std::optional<Number> parseNumber(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if constexpr (std::is_integral_v<Number>) {
        return platform::parseInteger(text);
    } else {
        Number value{};
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
        return value;
    }
}

}  // namespace

void ExtractorProgress::feed(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (!m_overlong && m_partial.size() + piece.size() > kMaxLineBytes) {
            m_partial.clear();
            m_overlong = true;
        }
        if (!m_overlong) m_partial.append(piece);
        if (end == std::string_view::npos) return;
        if (!m_overlong) takeLine(m_partial);
        m_partial.clear();
        m_overlong = false;
        bytes.remove_prefix(end + 1);
    }
}

void ExtractorProgress::takeLine(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    if (key == "frame") {
        if (const auto frames = parseNumber<std::int64_t>(value)) m_frames = *frames;
    } else if (key == "out_time_us") {
        // "N/A" before the first frame, and negative for a start before zero.
        if (const auto position = parseNumber<std::int64_t>(value); position && *position >= 0) m_positionUs = position;
    } else if (key == "progress") {
        m_ended = value.substr(0, 3) == "end";
    }
}

std::optional<double> ExtractorProgress::fraction(std::optional<double> seconds,
                                                  std::optional<std::int64_t> frameLimit) const
{
    std::optional<double> part;
    if (seconds && *seconds > 0 && m_positionUs) part = static_cast<double>(*m_positionUs) / 1e6 / *seconds;
    if (frameLimit && *frameLimit > 0) {
        const double byFrames = static_cast<double>(m_frames) / static_cast<double>(*frameLimit);
        if (!part || byFrames > *part) part = byFrames;
    }
    if (part && *part > 1) part = 1.0;
    return part;
}

std::vector<std::string> probeDurationArguments(const std::string& path)
{
    return {"-v",
            "error",
            "-show_entries",
            "format=duration",
            "-of",
            "default=noprint_wrappers=1:nokey=1",
            extractorPath(path)};
}

std::optional<double> parseProbedDuration(std::string_view answer)
{
    const std::size_t lineEnd = answer.find('\n');
    const auto seconds = parseNumber<double>(answer.substr(0, lineEnd));
    if (!seconds || !(*seconds > 0)) return std::nullopt;
    return seconds;
}

void ProbeAnswer::feed(std::string_view bytes)
{
    if (m_lineEnded || m_overlong) return;
    const std::string_view piece = bytes.substr(0, bytes.find('\n'));
    m_lineEnded = piece.size() < bytes.size();
    if (m_firstLine.size() + piece.size() > kMaxBytes) {
        m_firstLine.clear();
        m_overlong = true;
        return;
    }
    m_firstLine.append(piece);
}

std::optional<double> ProbeAnswer::duration() const
{
    if (m_overlong) return std::nullopt;
    return parseProbedDuration(m_firstLine);
}

}  // namespace kelmora
