// Where the program imitates a Windows rule, the same inputs go to the real
// Win32 call and the answers are compared. Wine stands in for Windows here.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include <windows.h>
#include <shlwapi.h>

#include "platform/CodePage.h"
#include "platform/FileFind.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "tests/support/TempFolder.h"

using namespace kelmora::platform;
using kelmora::test::TempFolder;

namespace {

constexpr auto W = PathStyle::Windows;
constexpr auto Sjis = CodePage::Cp932;
const char* const kMissing = "\x01missing";

std::optional<std::string> windowsRead(const std::string& file, const char* section, const char* key)
{
    char value[4096];
    const DWORD n = ::GetPrivateProfileStringA(section, key, kMissing, value, sizeof value, file.c_str());
    const std::string text(value, n);
    if (text == kMissing) return std::nullopt;
    return text;
}

std::string show(const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : "(missing)"; }

}  // namespace

TEST(Oracle, ProfileReader)
{
    const std::string content =
        "top=outside\r\n"
        "; comment=not a key\r\n"
        "[Set1]\r\n"
        "  S1 = 0x10  \r\n"
        "s1=second\r\n"
        "Q=\"  quoted  \"\r\n"
        "SQ='single'\r\n"
        "H='half\r\n"
        "E=\r\n"
        "NoEquals\r\n"
        "K=a=b\r\n"
        " [ Spaced ] \r\n"
        "x=1\r\n"
        "[SET1]\r\n"
        "S2=later section\r\n"
        "[lf]\n"
        "a=lf\n"
        "[last]\r\n"
        "z=no final break";
    TempFolder dir;
    const std::string file = dir.write("r.ini", content);
    const ProfileText ours(content);
    const char* queries[][2] = {
        {"SET1", "S1"},        {"set1", "s1"},       {"SET1", "Q"}, {"SET1", "SQ"},   {"SET1", "H"},   {"SET1", "E"},
        {"SET1", "S2"},        {"SET1", "NoEquals"}, {"SET1", "K"}, {"Spaced", "x"},  {"SET1", "top"}, {"", "top"},
        {"SET1", "; comment"}, {"lf", "a"},          {"last", "z"}, {"SET1", " S1 "}, {" set1 ", "S1"}};
    for (const auto& query : queries) {
        SCOPED_TRACE(std::string(query[0]) + "/" + query[1]);
        EXPECT_EQ(show(ours.read(query[0], query[1])), show(windowsRead(file, query[0], query[1])));
    }
}

// Rows with a decision are where we differ on purpose; the others must agree byte for byte.
TEST(Oracle, ProfileWriter)
{
    struct Row {
        const char* why;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        const char* decided;  // our file where it differs from Windows, and why; nullptr: Windows's file
    };
    const Row rows[] = {
        {"a new file", "", "SET", "M_LEFT", "20", nullptr},
        {"a key in place, in the file's spelling", "[SET]\r\nM_LEFT=1\r\nM_TOP=2\r\n", "set", "m_left", "300", nullptr},
        {"a new section at the end", "[SET]\r\nM_LEFT=1\r\n", "SET1", "R1", "1", nullptr},
        {"blanks around the old line", "[SET]\r\n  M_LEFT = 1  \r\n", "SET", "M_LEFT", "2", nullptr},
        {"comments stay", "; mine\r\n[SET]\r\n; about it\r\nM_LEFT=1\r\n", "SET", "M_LEFT", "2", nullptr},
        {"a missing final line break", "[SET]\r\nM_LEFT=1", "SET", "M_TOP", "2", nullptr},
        {"a duplicate key: the first is set", "[SET]\r\nK=1\r\nK=2\r\n", "SET", "K", "3", nullptr},
        // Every line we do not set stays as it was (Wine rewrites the whole file;
        // Windows itself keeps blank lines).
        {"a blank line between sections stays", "[SET]\r\nM_LEFT=1\r\n\r\n[SET1]\r\nR1=1\r\n", "SET", "M_TOP", "40",
         "[SET]\r\nM_LEFT=1\r\nM_TOP=40\r\n\r\n[SET1]\r\nR1=1\r\n"},
        {"LF lines stay LF lines", "[SET]\nM_LEFT=1\n", "SET", "M_TOP", "2", "[SET]\nM_LEFT=1\nM_TOP=2\n"},
        // A value reads back whole: Windows writes these bare and reads back "a b" and x.
        {"a value with blanks around it", "", "S", "B", " a b ", "[S]\r\nB=\" a b \"\r\n"},
        {"a quoted value", "", "S", "Q", "\"x\"", "[S]\r\nQ=\"\"x\"\"\r\n"},
    };
    TempFolder dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const std::string file = dir.write("w.ini", row.before);
        ASSERT_TRUE(::WritePrivateProfileStringA(row.section, row.key, row.value, file.c_str()));
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // flush the cache
        const std::string windows = TempFolder::read(file);
        ProfileText ours(row.before, "\r\n");
        ours.write(row.section, row.key, row.value);
        EXPECT_EQ(ours.content(), row.decided ? std::string(row.decided) : windows);
        EXPECT_EQ(ours.read(row.section, row.key), row.value);
        if (!row.decided) {
            EXPECT_EQ(show(ours.read(row.section, row.key)), show(windowsRead(file, row.section, row.key)));
        }
    }
}

TEST(Oracle, Wildcards)
{
    const char* names[] = {"noext", "a.avi",    "a.AVI",     "A.avi",     "b.mp4",      "a.b.c",
                           "clip",  "clip.avi", "page.html", "abc",       "ac",         "a1c",
                           "x.",    "y..",      "z.tar.gz",  ".dotfirst", "with space", "trail "};
    const char* patterns[] = {"*.*", "*",    "*.avi", "a?c", "?", "??", "clip.*", "*.a*",
                              "a*",  "*.gz", "*.tar", "x.",  "x", "y",  "*space"};
    // Where we differ on purpose: ours matches names on POSIX file systems.
    const std::map<std::string, std::set<std::string>> decided = {
        // A name without an extension, as Windows's own rule has it (Wine lists every name).
        {"*.", {"a1c", "abc", "ac", "clip", "noext", "trail ", "with space"}},
        // Windows also matches the 8.3 short names (PAGE~1.HTM); POSIX names have none.
        {"*.htm", {}},
        {"*c", {"a.b.c", "a1c", "abc", "ac"}},
        // Windows drops a pattern's trailing blanks; a POSIX name may end in one.
        {"trail ", {"trail "}},
    };
    TempFolder dir;
    for (const char* name : names) {
        // The \\?\ form keeps a trailing dot or blank, which other paths drop.
        const std::string path = "\\\\?\\" + (dir / name);
        const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
    std::set<std::string> onDisk;
    {
        WIN32_FIND_DATAA found;
        const HANDLE find = ::FindFirstFileA((dir / "*").c_str(), &found);
        ASSERT_NE(find, INVALID_HANDLE_VALUE);
        do {
            onDisk.insert(found.cFileName);
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    const auto ourMatches = [&onDisk](const std::string& pattern) {
        std::set<std::string> ours;
        for (const std::string& name : onDisk) {
            if (matchesWildcard(pattern, name, Sjis)) ours.insert(name);
        }
        return ours;
    };
    for (const auto& [pattern, expected] : decided) {
        SCOPED_TRACE(pattern);
        EXPECT_EQ(ourMatches(pattern), expected);
    }
    for (const char* pattern : patterns) {
        SCOPED_TRACE(pattern);
        std::set<std::string> windows;
        WIN32_FIND_DATAA found;
        const HANDLE find = ::FindFirstFileA((dir / pattern).c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                windows.insert(found.cFileName);
            } while (::FindNextFileA(find, &found));
            ::FindClose(find);
        }
        EXPECT_EQ(testing::PrintToString(ourMatches(pattern)), testing::PrintToString(windows));
    }
    // Names with a trailing dot or blank go the way they came; the folder's removal cannot reach them.
    for (const char* name : names) ::DeleteFileA(("\\\\?\\" + (dir / name)).c_str());
}

// These path rules are the program's own; where shlwapi answers otherwise, ours hold.
TEST(Oracle, PathRules)
{
    const std::string hyo = "\x95\x5C";
    const std::string paths[] = {"C:\\Tools\\cut.exe",
                                 "C:\\cut.exe",
                                 "cut.exe",
                                 "C:cut.exe",
                                 "C:\\",
                                 "C:",
                                 "C:\\Tools\\",
                                 "\\\\srv\\share\\a.avi",
                                 "C:\\a\\\\cut.exe",
                                 "C:\\v.d\\clip",
                                 "a.tar.gz",
                                 "C:\\a b.c d",
                                 "C:/v/a.avi",
                                 "C:\\" + hyo + "\\x.avi",
                                 "C:\\v\\" + hyo + ".avi",
                                 "C:\\" + hyo};
    // rule and path -> our answer, where shlwapi's differs
    const std::map<std::pair<std::string, std::string>, std::string> decided = {
        {{"file name", "C:\\"}, ""},                    // everything after the last separator
        {{"file name", "C:"}, ""},                      // ":" is a separator
        {{"file name", "C:\\Tools\\"}, ""},             // shlwapi skips a trailing separator
        {{"file name", "C:/v/a.avi"}, "/v/a.avi"},      // "/" is no separator
        {{"folder", "C:\\a\\\\cut.exe"}, "C:\\a\\\\"},  // a backslash after a backslash stays
        {{"trailing backslash", "C:\\"}, "C:"},         // C:\ gives C:
        {{"extension", "C:\\a b.c d"}, "C:\\a b.x"},    // the last dot counts, blanks after it or not
    };
    ASSERT_EQ(::GetACP(), 932u) << "the path oracle needs the Japanese code page";
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        char buffer[MAX_PATH];
        const auto windows = [&buffer, &path](auto call) {
            lstrcpynA(buffer, path.c_str(), MAX_PATH);
            call(buffer);
            return std::string(buffer);
        };
        const std::pair<const char*, std::pair<std::string, std::string>> answers[] = {
            {"file name", {fileNamePart(path, W, Sjis), ::PathFindFileNameA(path.c_str())}},
            {"folder", {folderPartWithoutSeparator(path, W, Sjis), windows([](char* p) { ::PathRemoveFileSpecA(p); })}},
            {"trailing backslash",
             {removeTrailingSeparator(path, W, Sjis), windows([](char* p) { ::PathRemoveBackslashA(p); })}},
            {"extension",
             {replaceExtension(path, ".x", W, Sjis), windows([](char* p) { ::PathRenameExtensionA(p, ".x"); })}},
            {"join",
             {joinPath(path, "n", W, Sjis), windows([&path](char* p) { ::PathCombineA(p, path.c_str(), "n"); })}},
        };
        for (const auto& [rule, ourAndWindows] : answers) {
            const auto ours = decided.find({rule, path});
            EXPECT_EQ(ourAndWindows.first, ours != decided.end() ? ours->second : ourAndWindows.second) << rule;
        }
    }
}

TEST(Oracle, DoubleByteCodePages)
{
    struct Row {
        UINT windows;
        CodePage ours;
    };
    for (const Row& row : {Row{932, CodePage::Cp932}, Row{936, CodePage::DoubleByte}, Row{949, CodePage::DoubleByte},
                           Row{950, CodePage::DoubleByte}, Row{1252, CodePage::SingleByte}}) {
        SCOPED_TRACE(row.windows);
        std::string differ;
        for (int c = 0; c < 256; ++c) {
            if (isLeadByte(static_cast<unsigned char>(c), row.ours)
                != bool(::IsDBCSLeadByteEx(row.windows, static_cast<BYTE>(c))))
                differ += " " + std::to_string(c);
        }
        EXPECT_EQ(differ, "") << "lead bytes";
        differ.clear();
        for (int lead = 0x81; lead < 256; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead), row.ours)) continue;
            for (int trail = 1; trail < 256; ++trail) {
                const char pair[3] = {static_cast<char>(lead), static_cast<char>(trail), 0};
                // Windows pairs a lead byte with whatever follows; a byte that cannot be
                // a second half (below 0x40, 0x7F, 0xFF; for 932 also 0xFD, 0xFE) stands alone
                // with us, so a "/" or ":" after a stray lead byte still separates.
                const bool validTrail =
                    trail >= 0x40 && trail != 0x7F && trail != 0xFF && !(row.windows == 932 && trail > 0xFC);
                const std::size_t windows =
                    validTrail ? ::CharNextExA(static_cast<WORD>(row.windows), pair, 0) - pair : 1;
                if (charEnd(std::string_view(pair, 2), 0, row.ours) != windows) {
                    differ += " " + std::to_string(lead) + "/" + std::to_string(trail);
                    if (differ.size() > 200) break;
                }
            }
            if (differ.size() > 200) break;
        }
        EXPECT_EQ(differ, "") << "character ends";
    }
}
