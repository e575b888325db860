#include "platform/Integers.h"

#include <charconv>

namespace kelmora::platform {

namespace {

int digitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (!hex) return -1;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int64_t> parseInteger(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> parseWordInteger(std::string_view text, WordIntegerForms forms)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (forms.leadingBlanks)
        while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    const bool hasSign = i < n && (text[i] == '+' || text[i] == '-');
    const bool negative = hasSign && text[i] == '-';
    if (hasSign) ++i;
    bool hex = false;
    if (i < n && (text[i] == '$' || (forms.bareX && (text[i] == 'x' || text[i] == 'X')))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == n || (hex && hasSign && !forms.signedHex)) return std::nullopt;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t value = 0;
    for (; i < n; ++i) {
        const int digit = digitValue(text[i], hex);
        if (digit < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    // Unsigned arithmetic wraps, so "-2147483648" and hexadecimal bit patterns come out right.
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

}  // namespace kelmora::platform
