#include "settings/SettingsFile.h"

#include <cerrno>
#include <optional>
#include <string_view>

#include "platform/Integers.h"

namespace kelmora {

namespace {

std::string writeErrorText(const std::string& path, SettingsWriteProblem problem)
{
    switch (problem) {
    case SettingsWriteProblem::TooLarge:
        return path + " に書き込めません（設定ファイルとしては大きすぎます。上限は 1 MiB です）";
    case SettingsWriteProblem::Busy: return path + " に書き込めません（ほかのプログラムが使用中です）";
    case SettingsWriteProblem::Refused: break;
    }
    return path + " に書き込めません";
}

}  // namespace

SettingsWriteError::SettingsWriteError(const std::string& path, SettingsWriteProblem problem)
    : std::runtime_error(writeErrorText(path, problem)), m_problem(problem)
{
}

SettingsFile::SettingsFile(std::string path) : m_file(std::move(path)), m_state(m_file.load(m_text)) {}

// The strict form: no blank (the value is trimmed already), no sign before "$" or "0x".
std::optional<std::int32_t> parseSettingsInteger(std::string_view text) { return platform::parseWordInteger(text); }

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

bool SettingsFile::update(const std::function<void(platform::ProfileText&)>& edit, platform::ProfileLockWait wait)
{
    if (m_file.update(edit, &m_text, wait)) return true;
    if (errno == EAGAIN && wait == platform::ProfileLockWait::Try) return false;
    throw SettingsWriteError(path(), errno == EFBIG ? SettingsWriteProblem::TooLarge : SettingsWriteProblem::Refused);
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

TCutSettings readCutSettings(const SettingsFile& file, const std::vector<std::string>& defaultsFiles,
                             const TCutSettings& defaults)
{
    // The least important first, so each file's keys cover those below it.
    TCutSettings s = defaults;
    for (auto it = defaultsFiles.rbegin(); it != defaultsFiles.rend(); ++it) s = readCutSettings(SettingsFile(*it), s);
    return readCutSettings(file, s);
}

namespace {

bool isDetailKey(const SettingsKey& k) { return std::string_view(k.section) == "DETAIL"; }

bool isAtDefault(const SettingsKey& k, const TCutSettings& s)
{
    if (k.integer) return s.*k.integer == k.defaultValue;
    if (k.choice) return s.*k.choice == (k.defaultValue != 0);
    return (s.*k.text).empty();
}

bool writeEveryKey(SettingsFile& file, const TCutSettings& s, platform::ProfileLockWait wait)
{
    return file.update(
        [&s](platform::ProfileText& text) {
            for (const SettingsKey& k : settingsKeys()) {
                // A choice beyond the window's own is written once it differs from
                // its default: a file of someone who never made one stays as it was.
                if (isDetailKey(k) && isAtDefault(k, s) && !text.read(k.section, k.name)) continue;
                if (k.integer) text.write(k.section, k.name, std::to_string(s.*k.integer));
                if (k.choice) text.write(k.section, k.name, s.*k.choice ? "1" : "0");
                if (k.text) text.write(k.section, k.name, s.*k.text);
            }
        },
        wait);
}

}  // namespace

void writeCutSettings(SettingsFile& file, const TCutSettings& s)
{
    writeEveryKey(file, s, platform::ProfileLockWait::Block);
}

bool tryWriteCutSettings(SettingsFile& file, const TCutSettings& s)
{
    return writeEveryKey(file, s, platform::ProfileLockWait::Try);
}

}  // namespace kelmora
