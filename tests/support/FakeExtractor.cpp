// A stand-in for the frame extractor in tests. It logs its arguments to
// $KELMORA_FAKE_LOG (see FakeExtractorLog.h), on Windows the command-line text
// it was started with to $KELMORA_FAKE_COMMAND_LOG (one line each, the same
// way), writes its output files and exits with $KELMORA_FAKE_EXIT. It never
// sleeps: a test that needs a run to last holds it (below) and lets it go when
// it is ready.
//   "-update 1": one 80 x 60 24-bit BMP at the last argument (the preview),
//                its red channel the start second ("-ss") modulo 256; with
//                $KELMORA_FAKE_PREVIEW_BYTES set, those bytes instead.
//   otherwise:   $KELMORA_FAKE_FRAMES (default 3) small files named by the last
//                argument as a pattern ("%05d"/"%09d"/"%d" the number, "%%" a
//                "%"); none for a run of key frames only ("-skip_frame")
//                while $KELMORA_FAKE_NO_KEY_FRAMES is set.
// With $KELMORA_FAKE_HOLD set, a run then waits on that FIFO (on Windows a named
// pipe) for a byte or its writer's end before it ends, so a test decides when
// it ends (HeldRun): every run, or with $KELMORA_FAKE_HOLD_NAME set only one
// whose input (the argument after "-i") contains that name.
// Asked for "-progress pipe:1", it writes one progress block to its standard
// output after its files (frame=FRAMES, out_time_us=$KELMORA_FAKE_POSITION_US,
// default 500000) before any hold, and "progress=end" last.
// Started as "ffprobe", it prints $KELMORA_FAKE_DURATION (default "N/A") as the
// duration of any video (asked for "-of flat", in that form, of a plain
// progressive video), and logs nothing.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/FakeExtractorSystem.h"

namespace {

int environmentNumber(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

void appendLog(const char* variable, const std::vector<std::string>& arguments)
{
    const char* path = std::getenv(variable);
    if (!path || !*path) return;
    static const char digits[] = "0123456789abcdef";
    std::string line;
    for (const std::string& argument : arguments) {
        for (const unsigned char c : argument) {
            line += digits[c >> 4];
            line += digits[c & 15];
        }
        line += ';';
    }
    line += '\n';
    kelmora::test::appendInOneWrite(path, line);
}

void put16(std::string& out, std::uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void put32(std::string& out, std::uint32_t v)
{
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

void writeBitmap(const std::string& path, int red)
{
    constexpr int width = 80, height = 60, rowBytes = width * 3;  // 240: already a multiple of 4
    std::string bmp = "BM";
    put32(bmp, 54 + rowBytes * height);
    put32(bmp, 0);
    put32(bmp, 54);
    put32(bmp, 40);
    put32(bmp, width);
    put32(bmp, height);
    put16(bmp, 1);
    put16(bmp, 24);
    put32(bmp, 0);
    put32(bmp, rowBytes * height);
    put32(bmp, 2835);
    put32(bmp, 2835);
    put32(bmp, 0);
    put32(bmp, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bmp += static_cast<char>(x * 3);  // blue
            bmp += static_cast<char>(y * 4);  // green
            bmp += static_cast<char>(red);
        }
    }
    std::ofstream(path, std::ios::binary) << bmp;
}

std::string numberedName(const std::string& pattern, int number)
{
    std::string name;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (i + 3 < pattern.size() && pattern.compare(i, 2, "%0") == 0 && pattern[i + 2] >= '1' && pattern[i + 2] <= '9'
            && pattern[i + 3] == 'd') {
            const std::size_t width = static_cast<std::size_t>(pattern[i + 2] - '0');
            std::string digits = std::to_string(number);
            name += std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
            i += 3;
        } else if (pattern.compare(i, 2, "%d") == 0) {
            name += std::to_string(number);
            i += 1;
        } else if (pattern.compare(i, 2, "%%") == 0) {
            name += '%';
            i += 1;
        } else {
            name += pattern[i];
        }
    }
    return name;
}

void writeOut(const std::string& text) { kelmora::test::writeStandardOutput(text); }

// Started under a name ending in "ffprobe" (on Windows also followed by ".exe").
bool startedAsProber(std::string name)
{
    if (name.ends_with(".exe") || name.ends_with(".EXE")) name.resize(name.size() - 4);
    return name.ends_with("ffprobe");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (startedAsProber(argv[0])) {
        const char* duration = std::getenv("KELMORA_FAKE_DURATION");
        const std::string seconds = duration && *duration ? duration : "N/A";
        // Asked for a video's facts, it answers as for a plain progressive video of that length.
        if (std::find(arguments.begin(), arguments.end(), "flat") != arguments.end())
            writeOut("streams.stream.0.field_order=\"progressive\"\nstreams.stream.0.duration=\"" + seconds + "\"\n");
        else writeOut(seconds + "\n");
        return 0;
    }
    appendLog("KELMORA_FAKE_LOG", arguments);
    appendLog("KELMORA_FAKE_COMMAND_LOG", {kelmora::test::startingCommandLine()});
    bool progress = false;
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == "-progress" && arguments[i + 1] == "pipe:1") progress = true;
    const int frames = environmentNumber("KELMORA_FAKE_FRAMES", 3);

    if (!arguments.empty()) {
        bool preview = false;
        for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
            if (arguments[i] == "-update" && arguments[i + 1] == "1") preview = true;
        }
        if (preview) {
            int second = 0;
            for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
                if (arguments[i] == "-ss") second = std::atoi(arguments[i + 1].c_str());
            if (const char* bytes = std::getenv("KELMORA_FAKE_PREVIEW_BYTES"))
                std::ofstream(arguments.back(), std::ios::binary) << bytes;
            else writeBitmap(arguments.back(), second & 0xFF);
        } else {
            bool keyFramesOnly = false;
            for (const std::string& argument : arguments) keyFramesOnly = keyFramesOnly || argument == "-skip_frame";
            const char* noKeyFrames = std::getenv("KELMORA_FAKE_NO_KEY_FRAMES");
            const bool none = keyFramesOnly && noKeyFrames && *noKeyFrames;
            for (int n = 1; n <= (none ? 0 : frames); ++n) {
                std::ofstream(numberedName(arguments.back(), n), std::ios::binary) << "frame " << n << "\n";
            }
        }
    }

    if (progress) {
        const char* position = std::getenv("KELMORA_FAKE_POSITION_US");
        writeOut("frame=" + std::to_string(frames) + "\nout_time_us=" + (position && *position ? position : "500000")
                 + "\nprogress=continue\n");
    }

    const char* hold = std::getenv("KELMORA_FAKE_HOLD");
    const char* holdName = std::getenv("KELMORA_FAKE_HOLD_NAME");
    bool held = hold && *hold && !holdName;
    for (std::size_t i = 0; hold && *hold && holdName && i + 1 < arguments.size(); ++i)
        if (arguments[i] == "-i" && arguments[i + 1].find(holdName) != std::string::npos) held = true;
    if (held && !kelmora::test::waitOnHold(hold)) return 99;

    if (progress) writeOut("progress=end\n");
    return environmentNumber("KELMORA_FAKE_EXIT", 0);
}
