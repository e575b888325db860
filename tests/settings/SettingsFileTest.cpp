#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ProfileFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "tests/support/TempFolder.h"

using namespace kelmora;
using kelmora::test::TempFolder;

namespace {

// A new settings file's lines end as the system's text files do.
#ifdef _WIN32
constexpr const char* kNewLine = "\r\n";
#else
constexpr const char* kNewLine = "\n";
#endif

std::string withSystemLineBreaks(std::string text)
{
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.replace(at, 1, kNewLine);
    return text;
}

// The file's text as another run of the program reads it.
std::string readAsTheProgram(const std::string& path)
{
    platform::ProfileText text;
    platform::ProfileFile(path).load(text);
    return text.content();
}

}  // namespace

TEST(SettingsFile, IntegerTexts)
{
    EXPECT_EQ(parseSettingsInteger("500"), 500);
    EXPECT_EQ(parseSettingsInteger("-20"), -20);
    EXPECT_EQ(parseSettingsInteger("+7"), 7);
    EXPECT_EQ(parseSettingsInteger("0x10"), 16);
    EXPECT_EQ(parseSettingsInteger("0XfF"), 255);
    EXPECT_EQ(parseSettingsInteger("$1A"), 26);
    EXPECT_EQ(parseSettingsInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(parseSettingsInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseSettingsInteger("-2147483648"), INT32_MIN);
    for (const char* bad :
         {"", "abc", "12abc", "0x", "$", "-", "2147483648", "0x100000000", "-0x10", "1 2", "1.5", "--1"}) {
        EXPECT_EQ(parseSettingsInteger(bad), std::nullopt) << bad;
    }
}

TEST(SettingsFile, NoFileGivesEveryDefault)
{
    TempFolder dir;
    const SettingsFile file(dir / "Kelmora.ini");
    TCutSettings defaults;
    defaults.DestinationFolder = "/keep";
    const TCutSettings read = readCutSettings(file, defaults);
    EXPECT_EQ(read.WindowLeft, 20);
    EXPECT_TRUE(read.RangeAll);
    EXPECT_EQ(read.ImageWidth, 320);
    EXPECT_EQ(read.DestinationFolder, "/keep");
    EXPECT_TRUE(read.FormatJpeg);
    EXPECT_FALSE(std::filesystem::exists(dir / "Kelmora.ini"));  // reading creates nothing
}

TEST(SettingsFile, FirstSaveIsByteExactAndReadsBack)
{
    TempFolder dir;
    SettingsFile file(dir / "Kelmora.ini");
    TCutSettings s;
    s.DestinationFolder = "/home/u/out";
    writeCutSettings(file, s);
    EXPECT_EQ(TempFolder::read(file.path()),
              withSystemLineBreaks("[SET]\nM_LEFT=20\nM_TOP=20\n"
                                   "[SET1]\nR1=1\nR2=0\nS1=0\nS2=1\nR9=1\nR10=0\nS5=1\nR3=1\nR4=0\nS3=320\nS4=240\n"
                                   "B1=/home/u/out\nR5=1\nR6=0\nR7=0\nR8=0\n"));

    TCutSettings changed;
    changed.WindowLeft = -1200;
    changed.RangeAll = false;
    changed.RangeFromSecond = true;
    changed.StartSecond = 99999;
    changed.DestinationFolder = "/v/\xE8\xA1\xA8 \xFF";  // bytes that are not UTF-8 survive
    changed.FormatJpeg = false;
    changed.FormatBmp = true;
    writeCutSettings(file, changed);
    const TCutSettings read = readCutSettings(file, TCutSettings{});
    EXPECT_EQ(read.WindowLeft, -1200);
    EXPECT_FALSE(read.RangeAll);
    EXPECT_TRUE(read.RangeFromSecond);
    EXPECT_EQ(read.StartSecond, 99999);
    EXPECT_EQ(read.DestinationFolder, changed.DestinationFolder);
    EXPECT_FALSE(read.FormatJpeg);
    EXPECT_TRUE(read.FormatBmp);
}

// The choices beyond the window's own: in a section of their own, written
// only once one differs from its default, and kept once written.
TEST(SettingsFile, DetailSectionIsWrittenOnceAChoiceIsMade)
{
    const std::string base =
        "[SET]\nM_LEFT=20\nM_TOP=20\n"
        "[SET1]\nR1=1\nR2=0\nS1=0\nS2=1\nR9=1\nR10=0\nS5=1\nR3=1\nR4=0\nS3=320\nS4=240\n"
        "B1=\nR5=1\nR6=0\nR7=0\nR8=0\n";
    TempFolder dir;
    SettingsFile file(dir / "Kelmora.ini");
    TCutSettings s;
    EXPECT_EQ(s.Existing, static_cast<std::int32_t>(ExistingImages::Rename));
    s.Existing = static_cast<std::int32_t>(ExistingImages::Overwrite);
    writeCutSettings(file, s);
    EXPECT_EQ(TempFolder::read(file.path()), withSystemLineBreaks(base + "[DETAIL]\nEXISTING=2\n"));
    EXPECT_EQ(readCutSettings(SettingsFile(file.path()), TCutSettings{}).Existing, 2);
    // Back to the default: the key stays, with its value.
    writeCutSettings(file, TCutSettings{});
    EXPECT_EQ(TempFolder::read(file.path()), withSystemLineBreaks(base + "[DETAIL]\nEXISTING=0\n"));
}

TEST(SettingsFile, HandEditedFile)
{
    TempFolder dir;
    const std::string path = dir.write("Kelmora.ini",
                                       "; edited by hand\r\n"
                                       "[set1]\r\n"
                                       "S1=0x10\r\n"
                                       "S5=500\r\n"
                                       "S3=garbage\r\n"
                                       "S4=\r\n"
                                       "R1=0\r\n"
                                       "R2=7\r\n"
                                       "R5=yes\r\n"
                                       "S1=99\r\n"
                                       "B1=" + std::string(3000, 'x') + "\r\n"
                                       "[SET]\r\n"
                                       "M_LEFT=$20\r\n");
    const SettingsFile file(path);
    const TCutSettings read = readCutSettings(file, TCutSettings{});
    EXPECT_EQ(read.StartSecond, 16);       // hexadecimal; the duplicate below is not read
    EXPECT_EQ(read.FramesPerSecond, 500);  // limits are the spin edit's business
    EXPECT_EQ(read.ImageWidth, 320);       // unreadable: default
    EXPECT_EQ(read.ImageHeight, 240);      // empty: default
    EXPECT_FALSE(read.RangeAll);
    EXPECT_TRUE(read.RangeFromSecond);                // any non-zero value is true
    EXPECT_TRUE(read.FormatJpeg);                     // unreadable: the default
    EXPECT_EQ(read.DestinationFolder.size(), 3000u);  // read whole
    EXPECT_EQ(read.WindowLeft, 32);
    EXPECT_EQ(read.WindowTop, 20);

    // Saving keeps the comment and the hand-written duplicate, and updates the first S1.
    SettingsFile writable(path);
    writable.writeInteger("SET1", "S1", 5);
    const std::string after = TempFolder::read(path);
    EXPECT_EQ(after.substr(0, 36), "; edited by hand\r\n[set1]\r\nS1=5\r\nS5=5");
    EXPECT_NE(after.find("S1=99\r\n"), std::string::npos);
}

TEST(SettingsFile, LongValuesAreReadWhole)
{
    // A destination may be as long as the system lets a path be (4095 bytes).
    const std::string kanji = "\xE8\xA1\xA8";
    struct Row {
        const char* name;
        std::string value;
    };
    const Row rows[] = {
        {"2047 bytes", "/" + std::string(2046, 'a')},
        {"2048 bytes", "/" + std::string(2047, 'b')},
        {"a full path", "/" + std::string(4094, 'c')},
        {"characters crossing byte 2047",
         [&] {
             std::string s = "/xy";
             for (int i = 0; i < 700; ++i) s += kanji;
             return s;
         }()},
    };
    TempFolder dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsFile writer(dir / "Kelmora.ini");
        TCutSettings s;
        s.DestinationFolder = row.value;
        writeCutSettings(writer, s);
        const std::string read = readCutSettings(SettingsFile(dir / "Kelmora.ini"), TCutSettings{}).DestinationFolder;
        EXPECT_EQ(read.size(), row.value.size());
        EXPECT_TRUE(read == row.value);
    }
}

TEST(SettingsFile, TwoSaversAtOnceLeaveOneSaveWhole)
{
    // Two windows closing at the same moment: a reader must never find a mix of
    // their keys, and the file ends as exactly one of the two saves.
    TempFolder dir;
    const std::string start = "; mine\n[SET]\nM_LEFT=1\nextra=keep\n[Other]\nx=y\n";
    TCutSettings a;
    a.WindowLeft = 100;
    a.DestinationFolder = "/a";
    a.FormatJpeg = false;
    a.FormatPng = true;
    TCutSettings b;
    b.WindowTop = -7;
    b.StartSecond = 42;
    b.DestinationFolder = "/" + std::string(300, 'b');
    const auto savedAlone = [&](const TCutSettings& s) {
        SettingsFile alone(dir.write("alone.ini", start));
        writeCutSettings(alone, s);
        return TempFolder::read(alone.path());
    };
    const std::string wholeA = savedAlone(a);
    const std::string wholeB = savedAlone(b);
    const std::string path = dir.write("Kelmora.ini", start);

    std::atomic<bool> saving{true};
    std::atomic<int> mixed{0};
    std::string firstMix;
    std::thread reader([&] {
        while (saving) {
            const std::string now = readAsTheProgram(path);
            if (now != start && now != wholeA && now != wholeB && mixed++ == 0) firstMix = now;
        }
    });
    const auto saveRepeatedly = [&path](const TCutSettings& s) {
        for (int i = 0; i < 40; ++i) {
            SettingsFile window(path);
            writeCutSettings(window, s);
        }
    };
    std::thread first(saveRepeatedly, a);
    std::thread second(saveRepeatedly, b);
    first.join();
    second.join();
    saving = false;
    reader.join();

    EXPECT_EQ(mixed, 0) << firstMix;
    const std::string end = TempFolder::read(path);
    EXPECT_TRUE(end == wholeA || end == wholeB) << end;
}

TEST(SettingsFile, AFileOrValueFarBeyondAnyRealSizeIsNeitherReadNorWritten)
{
    // A stray huge file once cost half a minute and half a gigabyte at every close.
    const std::size_t limit = platform::kProfileSizeLimit;
    const std::string keys = "[SET1]\nS2=5\n;";
    struct Row {
        const char* name;
        std::string content;
        std::string destination;  // saved as B1: the rewrite with every key is beyond the limit
        bool read;
    };
    const Row rows[] = {
        {"a file at the limit", keys + std::string(limit - keys.size(), 'x'), "/out", true},
        {"a file one byte beyond", keys + std::string(limit + 1 - keys.size(), 'x'), "/out", false},
        {"a value that would take the file beyond", keys, "/" + std::string(limit, 'v'), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder dir;
        SettingsFile file(dir.write("Kelmora.ini", row.content));
        EXPECT_EQ(file.state(), row.read ? platform::ProfileState::Read : platform::ProfileState::TooLarge);
        EXPECT_EQ(readCutSettings(file, TCutSettings{}).FrameCount, row.read ? 5 : 1);
        TCutSettings s;
        s.DestinationFolder = row.destination;
        try {
            writeCutSettings(file, s);
            ADD_FAILURE() << "saved";
        } catch (const SettingsWriteError& error) {
            EXPECT_EQ(error.problem(), SettingsWriteProblem::TooLarge);
        }
        EXPECT_TRUE(TempFolder::read(file.path()) == row.content);
    }
}

TEST(SettingsFile, DetailKeysAreWrittenOnceChosenAndKeptAfterwards)
{
    TempFolder dir;
    SettingsFile file(dir / "Kelmora.ini");
    TCutSettings s;
    s.PickMode = kPickEvery;
    s.EverySeconds = 300;
    writeCutSettings(file, s);
    EXPECT_TRUE(TempFolder::read(file.path()).find(withSystemLineBreaks("R8=0\n[DETAIL]\nPICK=3\nEVERY=300\n"))
                != std::string::npos);
    EXPECT_EQ(readCutSettings(SettingsFile(file.path()), TCutSettings()), s);
    // Back to the defaults: the keys the file has stay, with the default values.
    writeCutSettings(file, TCutSettings());
    EXPECT_TRUE(TempFolder::read(file.path()).find(withSystemLineBreaks("[DETAIL]\nPICK=0\nEVERY=60\n"))
                != std::string::npos);
}
