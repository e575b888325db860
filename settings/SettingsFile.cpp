#include "settings/SettingsFile.h"

#include <charconv>
#include <optional>

namespace kelmora {

SettingsWriteError::SettingsWriteError(const std::string& path) : std::runtime_error(path + " に書き込めません") {}

SettingsFile::SettingsFile(std::string path) : m_file(std::move(path)), m_state(m_file.load(m_text)) {}

std::optional<std::int32_t> parseSettingsInteger(std::string_view text)
{
    if (text.empty()) return std::nullopt;
    const bool hex = text.front() == '$' || text.starts_with("0x") || text.starts_with("0X");
    if (hex) {
        text.remove_prefix(text.front() == '$' ? 1 : 2);
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
        if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
        return static_cast<std::int32_t>(value);  // $FFFFFFFF is -1, as a 32-bit word
    }
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t SettingsFile::readInteger(const std::string& section, const std::string& key, std::int32_t def) const
{
    const std::optional<std::string> text = m_text.read(section, key);
    if (!text) return def;
    return parseSettingsInteger(*text).value_or(def);
}

bool SettingsFile::readBoolean(const std::string& section, const std::string& key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

std::string SettingsFile::readText(const std::string& section, const std::string& key, const std::string& def) const
{
    return m_text.read(section, key).value_or(def);
}

void SettingsFile::writeInteger(const std::string& section, const std::string& key, std::int32_t value)
{
    writeText(section, key, std::to_string(value));
}

void SettingsFile::writeBoolean(const std::string& section, const std::string& key, bool value)
{
    writeText(section, key, value ? "1" : "0");
}

void SettingsFile::writeText(const std::string& section, const std::string& key, const std::string& value)
{
    update([&](platform::ProfileText& text) { text.write(section, key, value); });
}

void SettingsFile::update(const std::function<void(platform::ProfileText&)>& edit)
{
    if (!m_file.update(edit, &m_text)) throw SettingsWriteError(path());
}

TCutSettings readCutSettings(const SettingsFile& file, const TCutSettings& defaults)
{
    TCutSettings s = defaults;
    for (const SettingsKey& k : settingsKeys()) {
        if (k.integer) s.*k.integer = file.readInteger(k.section, k.name, defaults.*k.integer);
        if (k.choice) s.*k.choice = file.readBoolean(k.section, k.name, defaults.*k.choice);
        if (k.text) s.*k.text = file.readText(k.section, k.name, defaults.*k.text);
    }
    return s;
}

void writeCutSettings(SettingsFile& file, const TCutSettings& s)
{
    file.update([&s](platform::ProfileText& text) {
        for (const SettingsKey& k : settingsKeys()) {
            if (k.integer) text.write(k.section, k.name, std::to_string(s.*k.integer));
            if (k.choice) text.write(k.section, k.name, s.*k.choice ? "1" : "0");
            if (k.text) text.write(k.section, k.name, s.*k.text);
        }
    });
}

}  // namespace kelmora
