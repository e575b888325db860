#pragma once
// Private-profile (ini) files: "[section]" lines with "key=value" lines under
// them. Section and key names match without regard to ASCII case and after
// trimming blanks; the first matching section and key win; lines end in CR,
// LF or CRLF; lines beginning with ";" are comments. A change keeps every line
// it does not touch byte for byte.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelmora::platform {

// The text of a profile file held in memory.
class ProfileText {
public:
    ProfileText() = default;
    // newLine ends the lines a write adds to a text that has no line ending yet
    // (a text that has one keeps using its first).
    explicit ProfileText(std::string content, std::string newLine = "\n")
        : m_content(std::move(content)), m_newLine(std::move(newLine))
    {
    }

    const std::string& content() const { return m_content; }

    // The value of a key, without the blanks around it and without a matching
    // pair of surrounding quotes; nullopt when the section or key is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;

    // Sets a key. An existing key keeps its place; a new key goes after the last
    // key of its section; a new section goes at the end. A value is one line: it
    // is cut at its first line break.
    void write(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string m_content;
    std::string m_newLine = "\n";
};

// No real profile file comes near this size: a larger one is neither read nor
// rewritten, so a stray huge file costs neither the memory nor the time.
constexpr std::size_t kProfileSizeLimit = std::size_t{1} << 20;  // 1 MiB

enum class ProfileState {
    Missing,     // no entry by that name
    Read,        // a regular file (or a link to one), read whole
    NotAFile,    // a FIFO, a device, a folder...: never read, never written
    Unreadable,  // a regular file that could not be read
    TooLarge,    // a regular file larger than kProfileSizeLimit: never read, never written
};

// What an update does when another update (in this process or another) holds the file.
enum class ProfileLockWait {
    Block,  // waits until it is let go
    Try,    // gives up at once: false with errno EAGAIN
};

// One profile file on disk. Only a regular file (or a link to one) is used:
// anything else under the name is neither read nor replaced, and looking at it
// never blocks.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& path() const { return m_path; }

    // Reads the whole file at once into text (empty unless the state is Read).
    ProfileState load(ProfileText& text) const;

    // One key, read from the file itself; nullopt when the file, section or key is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;

    // One key written as an update() of its own.
    bool write(std::string_view section, std::string_view key, std::string_view value);

    // Reads the file, lets edit change the text and writes the result back, as one
    // step under an exclusive lock on the file: a second update, in this process or
    // another, waits for the first and then sees its result. The new text replaces
    // the file through a temporary file and a rename, so a reader sees the old or
    // the new file whole; a folder that refuses the temporary file gets the file
    // rewritten in place instead. A link is written through, in its target's folder.
    // On success result (when given) holds the text now on disk. Returns false
    // (errno set) when the file cannot be written; the file is then unchanged.
    // A file larger than kProfileSizeLimit, or an edit that would make it so,
    // fails with EFBIG.
    bool update(const std::function<void(ProfileText&)>& edit, ProfileText* result = nullptr,
                ProfileLockWait wait = ProfileLockWait::Block);

private:
    std::string m_path;
};

}  // namespace kelmora::platform
