#include "cut/JsonLine.h"

#include <cmath>
#include <cstdio>

namespace kelmora {

namespace {

// The length of the well-formed UTF-8 character at text[pos], or 0 when there is none.
std::size_t utf8Length(std::string_view text, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    if (byte(pos + 1) < low || byte(pos + 1) > high) return 0;
    for (std::size_t i = pos + 2; i < pos + length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    char escape[8];
    for (std::size_t pos = 0; pos < text.size();) {
        const auto c = static_cast<unsigned char>(text[pos]);
        const std::size_t length = utf8Length(text, pos);
        if (length == 0) {
            std::snprintf(escape, sizeof escape, "\\udc%02x", c);
            out += escape;
            ++pos;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out.append(text.substr(pos, length));
        }
        pos += length;
    }
    return out + "\"";
}

JsonLine& JsonLine::field(std::string_view key, const std::string& value)
{
    if (!m_fields.empty()) m_fields += ",";
    m_fields += jsonString(key) + ":" + value;
    return *this;
}

JsonLine& JsonLine::addText(std::string_view key, std::string_view text) { return field(key, jsonString(text)); }
JsonLine& JsonLine::addNumber(std::string_view key, std::int64_t number) { return field(key, std::to_string(number)); }
JsonLine& JsonLine::addBool(std::string_view key, bool value) { return field(key, value ? "true" : "false"); }
JsonLine& JsonLine::addNull(std::string_view key) { return field(key, "null"); }

JsonLine& JsonLine::addTexts(std::string_view key, const std::vector<std::string>& texts)
{
    std::string list;
    for (const std::string& text : texts) list += (list.empty() ? "" : ",") + jsonString(text);
    return field(key, "[" + list + "]");
}

JsonLine& JsonLine::addSeconds(std::string_view key, double seconds)
{
    // Three decimals, whatever the locale says about the decimal mark.
    const auto millis = static_cast<long long>(std::llround(seconds * 1000));
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", millis / 1000, millis % 1000);
    return field(key, text);
}

}  // namespace kelmora
