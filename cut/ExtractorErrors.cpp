#include "cut/ExtractorErrors.h"

#include <array>

namespace kelmora {

namespace {

bool startsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// Lines that carry no reason: the progress and the summary, the closing word.
bool isNoise(std::string_view line)
{
    return line.empty() || line.front() == ' ' || line.front() == '\t' || startsWith(line, "frame=")
           || startsWith(line, "size=") || startsWith(line, "video:") || startsWith(line, "Press [q]")
           || line == "Conversion failed!" || line == "Exiting normally, received signal 15.";
}

// Lines that follow the real reason and only say where it stopped the run.
bool isFollowUp(std::string_view line)
{
    static constexpr std::array<std::string_view, 8> kFollowUps{
        "av_interleaved_write_frame():",
        "Error while processing the decoded data",
        "Failed to inject frame into filter network",
        "Error reinitializing filters!",
        "Error marking filters as finished",
        "Error writing trailer",
        "Error closing file",
        "Error while filtering",
    };
    for (const std::string_view followUp : kFollowUps)
        if (startsWith(line, followUp)) return true;
    return false;
}

// Leaves out the "[image2 @ 0x55d1...] " tags in front of a message.
std::string_view withoutTags(std::string_view line)
{
    while (line.size() > 1 && line.front() == '[') {
        const std::size_t close = line.find("] ");
        if (close == std::string_view::npos || line.substr(0, close).find(" @ ") == std::string_view::npos) break;
        line.remove_prefix(close + 2);
    }
    return line;
}

// Words of the demuxers and decoders for input that ends early or is damaged.
bool tellsOfDamagedInput(std::string_view line)
{
    static constexpr std::array<std::string_view, 6> kTroubles{
        "partial file", "invalid nal", "truncat", "corrupt", "error while decoding", "missing picture",
    };
    std::string lower(line);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const std::string_view trouble : kTroubles)
        if (lower.find(trouble) != std::string::npos) return true;
    return false;
}

}  // namespace

void ExtractorErrors::lookForTrouble(std::string_view bytes)
{
    while (!bytes.empty() && m_trouble.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        const std::string_view piece = bytes.substr(0, end);
        if (m_line.size() + piece.size() <= kKeptBytes) m_line.append(piece);
        if (end == std::string_view::npos) return;
        if (tellsOfDamagedInput(m_line)) m_trouble = std::string(withoutTags(m_line));
        m_line.clear();
        bytes.remove_prefix(end + 1);
    }
}

void ExtractorErrors::feed(std::string_view bytes)
{
    lookForTrouble(bytes);
    if (bytes.size() >= kKeptBytes) {
        m_tail.assign(bytes.substr(bytes.size() - kKeptBytes));
        return;
    }
    m_tail.append(bytes);
    // Trimmed only now and then, so feeding stays cheap.
    if (m_tail.size() > 2 * kKeptBytes) m_tail.erase(0, m_tail.size() - kKeptBytes);
}

void ExtractorErrors::readFrom(std::optional<platform::OutputPipe>& pipe)
{
    if (!pipe) return;
    std::string bytes;
    const bool open = pipe->readAvailable(bytes);
    feed(bytes);
    if (!open) pipe.reset();
}

std::string ExtractorErrors::lastErrorLine(std::string_view input) const
{
    std::string_view fallback;
    std::string_view rest = m_tail;
    while (!rest.empty()) {
        // Progress lines end in "\r": each piece is a line of its own.
        std::size_t start = rest.find_last_of("\r\n", rest.size() - 1);
        std::string_view line = start == std::string_view::npos ? rest : rest.substr(start + 1);
        rest = start == std::string_view::npos ? std::string_view() : rest.substr(0, start);
        line = withoutTags(line);
        if (isNoise(line)) continue;
        if (!input.empty() && startsWith(line, input) && startsWith(line.substr(input.size()), ": "))
            line.remove_prefix(input.size() + 2);
        if (!isFollowUp(line)) return std::string(line);
        if (fallback.empty()) fallback = line;
    }
    return std::string(fallback);
}

std::optional<std::int64_t> ExtractorErrors::lastFrameCount() const
{
    const std::size_t at = m_tail.rfind("frame=");
    if (at == std::string::npos) return std::nullopt;
    std::size_t i = at + 6;
    while (i < m_tail.size() && m_tail[i] == ' ') ++i;
    std::int64_t count = 0;
    const std::size_t digits = i;
    while (i < m_tail.size() && m_tail[i] >= '0' && m_tail[i] <= '9' && i - digits < 18)
        count = count * 10 + (m_tail[i++] - '0');
    if (i == digits) return std::nullopt;
    return count;
}

}  // namespace kelmora
