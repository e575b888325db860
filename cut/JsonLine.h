#pragma once
// One JSON object on one line: what kelmora-cli tells the programs that read
// it, and a line of a destination's manifest.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora {

// text as a JSON string. File names are bytes, not always UTF-8: a byte that
// is no part of a UTF-8 character is written as the escape "\udcXX" (XX the
// byte), which gives the bytes back to a reader that maps such lone
// surrogates back to bytes (Python's "surrogateescape", os.fsencode).
std::string jsonString(std::string_view text);

// Builds {"key":value,...} in the order the fields are added.
class JsonLine {
public:
    JsonLine& addText(std::string_view key, std::string_view text);
    JsonLine& addNumber(std::string_view key, std::int64_t number);
    JsonLine& addBool(std::string_view key, bool value);
    JsonLine& addSeconds(std::string_view key, double seconds);  // with three decimals
    JsonLine& addNull(std::string_view key);
    JsonLine& addTexts(std::string_view key, const std::vector<std::string>& texts);  // a list

    // The object, without a line break.
    std::string text() const { return "{" + m_fields + "}"; }

private:
    JsonLine& field(std::string_view key, const std::string& value);
    std::string m_fields;
};

}  // namespace kelmora
