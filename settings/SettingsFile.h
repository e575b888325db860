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
#include <vector>

#include "platform/ProfileFile.h"
#include "settings/CutSettings.h"

namespace kelmora {

// Why a save did not happen.
enum class SettingsWriteProblem {
    Refused,   // the file or its folder refuses the write
    TooLarge,  // the file, or the new text, is beyond platform::kProfileSizeLimit
    Busy,      // another program held the file for longer than the caller waits
};

// A key could not be written; what() is "<full path> に書き込めません", with the
// reason when it is not a plain refusal.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::string& path, SettingsWriteProblem problem = SettingsWriteProblem::Refused);
    SettingsWriteProblem problem() const { return m_problem; }

private:
    SettingsWriteProblem m_problem;
};

class SettingsFile {
public:
    // Reads the file. Anything but a regular file (or a link to one) under the
    // name, or a file beyond platform::kProfileSizeLimit, is left alone: every
    // key then gives its default.
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
    // together or not at all. Throws SettingsWriteError. With
    // platform::ProfileLockWait::Try, false (and nothing written) when another
    // program holds the file; else true.
    bool update(const std::function<void(platform::ProfileText&)>& edit,
                platform::ProfileLockWait wait = platform::ProfileLockWait::Block);

private:
    platform::ProfileFile m_file;
    platform::ProfileText m_text;  // the file as last read or written
    platform::ProfileState m_state;
};

// Every key, each with the matching field of defaults as its default.
TCutSettings readCutSettings(const SettingsFile& file, const TCutSettings& defaults);

// Every key from file; a key it lacks from the first of defaultsFiles that has
// it (settingsDefaultsFiles), else the field of defaults.
TCutSettings readCutSettings(const SettingsFile& file, const std::vector<std::string>& defaultsFiles,
                             const TCutSettings& defaults);

// Every key in the order of the file (M_LEFT, M_TOP in "SET", then "SET1"), as
// one change of the file.
void writeCutSettings(SettingsFile& file, const TCutSettings& settings);

// The same, giving up at once when another program holds the file: false then,
// and the file is untouched. Throws SettingsWriteError as writeCutSettings does.
bool tryWriteCutSettings(SettingsFile& file, const TCutSettings& settings);

// Parses an integer value text as the reader does; nullopt when unreadable.
std::optional<std::int32_t> parseSettingsInteger(std::string_view text);

}  // namespace kelmora
