#pragma once
// Kelmora.ini: the cut options and the window position. The file is read once,
// when the object is made; a save writes every key as one change of the file.
// Integers are decimal text, booleans "0"/"1", the folder its bytes.

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ProfileFile.h"
#include "settings/CutSettings.h"

namespace kelmora {

// A key could not be written; what() is "<full path> に書き込めません".
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::string& path);
};

class SettingsFile {
public:
    // Reads the file. Anything but a regular file (or a link to one) under the
    // name is left alone: every key then gives its default.
    explicit SettingsFile(std::string path);
    const std::string& path() const { return m_file.path(); }
    platform::ProfileState state() const { return m_state; }

    // "0x"/"0X"/"$" then hexadecimal digits, or decimal with an optional sign;
    // a missing, empty or unreadable value gives def.
    std::int32_t readInteger(const std::string& section, const std::string& key, std::int32_t def) const;
    // Read as an integer with 1 or 0 as default; any non-zero value is true.
    bool readBoolean(const std::string& section, const std::string& key, bool def) const;
    // The whole value; a missing key gives def.
    std::string readText(const std::string& section, const std::string& key, const std::string& def) const;

    // Each write is on disk when it returns. Throws SettingsWriteError.
    void writeInteger(const std::string& section, const std::string& key, std::int32_t value);
    void writeBoolean(const std::string& section, const std::string& key, bool value);
    void writeText(const std::string& section, const std::string& key, const std::string& value);

    // Applies every write of edit to the file as one change: the keys land
    // together or not at all. Throws SettingsWriteError.
    void update(const std::function<void(platform::ProfileText&)>& edit);

private:
    platform::ProfileFile m_file;
    platform::ProfileText m_text;  // the file as last read or written
    platform::ProfileState m_state;
};

// Every key, each with the matching field of defaults as its default.
TCutSettings readCutSettings(const SettingsFile& file, const TCutSettings& defaults);

// Every key in the order of the file (M_LEFT, M_TOP in "SET", then "SET1"), as
// one change of the file.
void writeCutSettings(SettingsFile& file, const TCutSettings& settings);

// Parses an integer value text as the reader does; nullopt when unreadable.
std::optional<std::int32_t> parseSettingsInteger(std::string_view text);

}  // namespace kelmora
