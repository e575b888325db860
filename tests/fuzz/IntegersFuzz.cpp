// The two number parsers, the spin edit's and the settings file's, on any bytes,
// each against a plain reference of its rule, and against each other on the
// texts both rules accept in the same form.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "controls/IntegerText.h"
#include "settings/SettingsFile.h"

using kelmora::fuzz::check;

namespace {

bool allDigits(std::string_view s, bool hex)
{
    if (s.empty()) return false;
    for (const char c : s) {
        const bool digit = (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) return false;
    }
    return true;
}

// The magnitude of a digit string, or nullopt when it has more digits than
// any 32-bit number (leading zeros aside).
std::optional<std::uint64_t> magnitude(std::string_view digits, bool hex)
{
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (digits.size() > (hex ? 8u : 10u)) return std::nullopt;
    return std::stoull(std::string(digits), nullptr, hex ? 16 : 10);
}

// A signed decimal, or a hexadecimal 32-bit pattern, made into a 32-bit integer.
std::optional<std::int32_t> fromParts(bool negative, std::string_view digits, bool hex)
{
    if (!allDigits(digits, hex)) return std::nullopt;
    const std::optional<std::uint64_t> m = magnitude(digits, hex);
    if (!m) return std::nullopt;
    if (hex) {
        if (*m > 0xFFFFFFFFull) return std::nullopt;
        const auto pattern = static_cast<std::int64_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*m)));
        const std::int64_t value = negative ? -pattern : pattern;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));  // -(-2^31) is 2^31 again
    }
    const std::int64_t value = negative ? -static_cast<std::int64_t>(*m) : static_cast<std::int64_t>(*m);
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool takePrefix(std::string_view& s, std::string_view prefix)
{
    if (!s.starts_with(prefix)) return false;
    s.remove_prefix(prefix.size());
    return true;
}

// The settings file: "$", "0x" or "0X" and hexadecimal digits, or a decimal with an optional sign.
std::optional<std::int32_t> settingsReference(std::string_view s)
{
    if (takePrefix(s, "$") || takePrefix(s, "0x") || takePrefix(s, "0X")) return fromParts(false, s, true);
    const bool negative = takePrefix(s, "-");
    if (!negative) takePrefix(s, "+");
    return fromParts(negative, s, false);
}

// The spin edit: leading blanks, an optional sign, then decimal digits or
// hexadecimal ones after "$", "x", "X", "0x" or "0X".
std::optional<std::int32_t> spinReference(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    const bool negative = takePrefix(s, "-");
    if (!negative) takePrefix(s, "+");
    const bool hex =
        takePrefix(s, "$") || takePrefix(s, "x") || takePrefix(s, "X") || takePrefix(s, "0x") || takePrefix(s, "0X");
    return fromParts(negative, s, hex);
}

// Texts that both rules read alike: no leading blank, no sign before a
// hexadecimal prefix, and no bare "x" prefix (the settings file has none).
bool sameFormInBoth(std::string_view s)
{
    if (s.empty() || s.front() == ' ' || s.front() == '\t' || s.front() == 'x' || s.front() == 'X') return false;
    if (s.front() == '+' || s.front() == '-') {
        s.remove_prefix(1);
        return !s.empty() && s.front() >= '0' && s.front() <= '9' && !s.starts_with("0x") && !s.starts_with("0X");
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> spin = kelmora::parseInteger(text);
    const std::optional<std::int32_t> settings = kelmora::parseSettingsInteger(text);
    check(spin == spinReference(text), "the spin edit reads a number as its rule says");
    check(settings == settingsReference(text), "the settings file reads a number as its rule says");
    if (sameFormInBoth(text)) check(spin == settings, "both parsers read a text of the common form alike");
    if (settings)
        check(kelmora::parseSettingsInteger(std::to_string(*settings)) == settings,
              "a number written back as decimal reads back the same");
    return 0;
}
