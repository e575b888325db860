// kelmora-cli end to end with the stand-in extractor, whose runs the test
// decides: what each option and the settings file hand the extractor, the
// exit statuses with their reasons, the JSON lines, target lists, hostile
// names and the user's language.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cut/CutSession.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempFolder.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

class CliRun : public ::testing::Test {
protected:
    TempFolder dir;
    const std::string log = dir / "runs.log";
    const std::string clip = dir.write("videos/clip.mp4", "x");
    const std::string out = dir / "out";

    // The stand-in extractor, one run at a time (the log in list order), unless the arguments say otherwise.
    ProgramResult cli(std::vector<std::string> arguments, Environment extra = {}, const std::string& input = {},
                      const std::string& folder = {})
    {
        for (const auto& [flag, value] : {std::pair{"-j", "1"}, {"--ffmpeg", kFakeExtractor.c_str()}})
            if (std::find(arguments.begin(), arguments.end(), flag) == arguments.end())
                arguments.insert(arguments.begin(), {flag, value});
        fs::remove(log);
        extra.emplace_back("KELMORA_FAKE_LOG", log);
        return runProgram(kCli, arguments, cliEnvironment(extra), folder.empty() ? dir.path() : folder, input);
    }
    std::vector<FakeExtractorRun> runs() const { return readFakeExtractorLog(log); }
};

TEST_F(CliRun, OptionsAndTheSettingsFileReachTheExtractorInTheWindowsOrder)
{
    const std::string ini = dir.write("Kelmora.ini",
                                      "[SET]\nM_LEFT=300\n[SET1]\nR1=0\nR2=1\nS1=5\nS2=7\nR3=0\nR4=1\n"
                                      "S3=100\nS4=50\nB1="
                                          + dir / "from-ini" + "\nR5=0\nR7=1\n");
    const std::string both = dir.write("both.ini", "[SET1]\nR1=0\nR2=1\nR9=0\nR10=1\nS5=4\n");
    const std::string ff = "-fps_mode", pt = "passthrough", I = "-i", F = "-f", img = "image2", q = "-q:v";
    // clang-format off
    const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>> rows[] = {
        {"defaults, the destination made", {"--no-settings", "-o", "out/a/"}, {I, clip, F, img, ff, pt, q, "2", out + "/a/clip_%05d.jpg"}},
        {"a range", {"--no-settings", "-o", out, "--from", "10", "--frames", "30"},
         {"-ss", "10", I, clip, "-vframes", "30", F, img, ff, pt, q, "2", out + "/clip_%05d.jpg"}},
        {"images a second", {"--no-settings", "-o", out, "--fps", "2"}, {I, clip, F, img, q, "2", "-vf", "fps=2", out + "/clip_%05d.jpg"}},
        {"size and GIF", {"--no-settings", "-o", out, "--size", "32x24", "--format", "gif"},
         {I, clip, F, img, ff, pt, "-vcodec", "gif", "-gifimage", "1", "-s", "32x24", out + "/clip_%05d.gif"}},
        {"the window's settings file", {"--settings", ini},
         {"-ss", "5", I, clip, "-vframes", "7", F, img, ff, pt, "-s", "100x50", dir / "from-ini/clip_%05d.png"}},
        {"each flag over its key", {"--settings", ini, "--from", "2", "--size", "source", "--format", "bmp", "-o", "out"},
         {"-ss", "2", I, clip, "-vframes", "7", F, img, ff, pt, out + "/clip_%05d.bmp"}},
        {"the whole video after all", {"--settings", ini, "--whole-video", "-o", out},
         {I, clip, F, img, ff, pt, "-s", "100x50", out + "/clip_%05d.png"}},
        {"an interval flag wins over the file's range", {"--settings", ini, "--fps", "3", "-o", out},
         {I, clip, F, img, "-s", "100x50", "-vf", "fps=3", out + "/clip_%05d.png"}},
        {"a file with both keeps the interval, as the window", {"--settings", both, "-o", out},
         {I, clip, F, img, q, "2", "-vf", "fps=4", out + "/clip_%05d.jpg"}},
        {"width only, quality, from the flags", {"--no-settings", "-o", out, "--size", "64x", "--quality", "100"},
         {I, clip, F, img, ff, pt, q, "2", "-vf", "scale=64:-2,setsar=1", out + "/clip_%05d.jpg"}},
        {"height only", {"--no-settings", "-o", out, "--size", "x48", "--format", "png", "--png-level", "9"},
         {I, clip, F, img, ff, pt, "-compression_level", "9", "-vf", "scale=-2:48,setsar=1", out + "/clip_%05d.png"}},
        {"fit, WebP", {"--no-settings", "-o", out, "--fit", "64x48", "--format", "WEBP", "--quality", "50"},
         {I, clip, F, img, ff, pt, "-c:v", "libwebp", "-quality", "50", "-vf",
          "scale=64:48:force_original_aspect_ratio=decrease:force_divisible_by=2,setsar=1", out + "/clip_%05d.webp"}},
        {"lossless WebP", {"--no-settings", "-o", out, "--format", "webp", "--lossless"},
         {I, clip, F, img, ff, pt, "-c:v", "libwebp", "-lossless", "1", out + "/clip_%05d.webp"}},
    };
    // clang-format on
    for (const auto& [name, options, arguments] : rows) {
        SCOPED_TRACE(name);
        fs::remove_all(out);
        fs::remove_all(dir / "from-ini");
        std::vector<std::string> withClip = options;
        withClip.push_back(clip);
        const ProgramResult result = cli(withClip);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(runs(), std::vector<FakeExtractorRun>{arguments}) << "no reporting options without a display";
        std::string firstImage = arguments.back();
        EXPECT_TRUE(fs::exists(firstImage.replace(firstImage.find("%05d"), 4, "00001")));
    }
    EXPECT_EQ(TempFolder::read(ini).substr(0, 17), "[SET]\nM_LEFT=300\n") << "the settings file is only read";
}

TEST_F(CliRun, TheExitStatusSaysWhetherEveryVideoGaveImages)
{
    const std::string other = dir.write("videos/other.mp4", "x");
    const std::string gone = dir / "videos/gone.mp4";
    const std::string notAProgram = dir.write("not-a-program", "plain text");
    fs::permissions(notAProgram, fs::perms::owner_all);
    const std::tuple<const char*, std::vector<std::string>, Environment, int, std::string> rows[] = {
        {"all cut", {clip, other}, {}, 0, "[1/2] " + clip + ": done\n[2/2] " + other + ": done\n"},
        {"the extractor fails",
         {other, clip},
         {{"KELMORA_FAKE_EXIT", "1"}},
         1,
         "These files could not be cut:\n  " + clip + ": exit status 1\n  " + other + ": exit status 1\n"},
        {"no image written", {clip}, {{"KELMORA_FAKE_FRAMES", "0"}}, 1, "  " + clip + ": no image written\n"},
        {"a target that names nothing", {clip, gone}, {}, 1, "cut:\n  " + gone + ": not found\n"},
        {"no extractor", {"--ffmpeg", dir / "no-ffmpeg", clip}, {}, 3, "no-ffmpeg not found"},
        {"an extractor that cannot be started",
         {"--ffmpeg", notAProgram, clip},
         {},
         3,
         "  " + clip + ": could not be started: " + notAProgram + ": Exec format error\n"},
        {"a range with images a second",
         {"--from", "1", "--fps", "2", clip},
         {},
         2,
         "kelmora-cli: With a number of images a second, the whole video is cut: the range does not apply.\n"},
        {"a value past its limit", {"--fps", "0", clip}, {}, 2, "--fps: 0 is not a whole number from 1 to 60"},
        {"no such list", {"--files-from", dir / "none"}, {}, 2, "none: cannot read the list of targets"},
        {"no target", {}, {}, 2, "no TARGET given"},
    };
    for (const auto& [name, arguments, environment, status, said] : rows) {
        SCOPED_TRACE(name);
        fs::remove_all(out);
        std::vector<std::string> all = {"--no-settings", "-o", out};
        all.insert(all.end(), arguments.begin(), arguments.end());
        const ProgramResult result = cli(all, environment);
        EXPECT_EQ(result.status, status);
        EXPECT_NE(result.err.find(said), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << "standard output is for --dry-run and --json alone";
        if (status >= 2) {
            EXPECT_TRUE(runs().empty()) << "nothing runs after a mistake";
        }
    }
    EXPECT_EQ(cli({"--no-settings", "-q", "-o", out, clip}).err, "") << "-q: no line per run";
}

TEST_F(CliRun, ASettingsFileThatIsNoRegularFileIsRefusedForWhatItIs)
{
    const std::string fifo = dir / "fifo.ini";
    ASSERT_TRUE(makeFakeExtractorHold(fifo));
    const std::pair<std::string, std::string> rows[] = {
        {dir / "videos", dir / "videos: is a folder, not a settings file"},
        {fifo, fifo + ": is not a regular file"},
    };
    for (const auto& [settings, said] : rows) {
        SCOPED_TRACE(settings);
        const ProgramResult result = cli({"--settings", settings, "-o", out, clip});
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(said), std::string::npos) << result.err;
        EXPECT_TRUE(runs().empty());
    }
    // One far beyond any real size is not read: the defaults cut, and the user is told.
    const std::string huge = dir.write("huge.ini", "[SET1]\nR5=0\n" + std::string(std::size_t{2} << 20, ';'));
    const ProgramResult result = cli({"--settings", huge, "-o", out, clip});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.err.find(huge + ": larger than any settings file"), std::string::npos) << result.err;
    EXPECT_EQ(runs().at(0).back(), out + "/clip_%05d.jpg");
}

TEST_F(CliRun, JsonLinesOneARunThenTheSummary)
{
    const std::string odd = dir.write("videos/odd\xff.mp4", "x");
    const ProgramResult result =
        cli({"--no-settings", "--json", "-o", out, clip, odd, dir / "gone.mp4"}, {{"KELMORA_FAKE_FRAMES", "2"}});
    EXPECT_EQ(result.status, 1);
    const std::vector<std::string> lines = linesOf(result.out);
    ASSERT_EQ(lines.size(), 4u) << result.out;
    EXPECT_EQ(lines[0], R"({"type":"run","number":null,"total":null,"target":")" + dir / "gone.mp4"
                            + R"(","status":"failed","reason":"not_found","message":"not found"})");
    const std::string cut =
        R"({"type":"run","number":1,"total":2,"target":")" + clip
        + R"(","status":"cut","reason":null,"message":null,"exit_status":0,"signal":null,"output_pattern":")" + out
        + R"(/clip_%05d.jpg","first_image":")" + out + R"(/clip_00001.jpg","images":2,"seconds":)";
    EXPECT_EQ(lines[1].substr(0, cut.size()), cut);
    EXPECT_NE(lines[2].find(R"(/videos/odd\udcff.mp4")"), std::string::npos) << "a byte that is no UTF-8: " << lines[2];
    const std::string summary = R"({"type":"summary","total":3,"cut":2,"failed":1,"skipped":0,"not_run":0,)"
                                R"("interrupted":false,"exit_status":1,"seconds":)";
    EXPECT_EQ(lines[3].substr(0, summary.size()), summary);
}

TEST_F(CliRun, ADryRunPrintsTheCommandLinesAndTouchesNothing)
{
    dir.write("out/clip_00001.jpg", "an earlier cut");
    const ProgramResult dry = cli({"--no-settings", "--dry-run", "-o", out, clip, clip});
    EXPECT_EQ(dry.out, kFakeExtractor + " -i " + clip + " -f image2 -fps_mode passthrough -q:v 2 '" + out
                           + "/clip (2)_%05d.jpg'\n" + kFakeExtractor + " -i " + clip
                           + " -f image2 -fps_mode passthrough -q:v 2 '" + out + "/clip (3)_%05d.jpg'\n")
        << "the names a run would give, never one on disk; quoted for the shell where they must be";
    EXPECT_TRUE(runs().empty());
    EXPECT_EQ(cli({"--no-settings", "--dry-run", "-o", dir / "not/made", clip}).status, 0);
    EXPECT_FALSE(fs::exists(dir / "not")) << "a dry run makes no folder";
}

TEST_F(CliRun, ADryRunPastedIntoTheShellRunsWhatTheRunWould)
{
    // The program itself behind a hostile folder name: the line starts with its path.
    const std::string folder = dir / "fake $(touch x) 'it's";
    fs::create_directories(folder);
    fs::create_symlink(kFakeExtractor, folder + "/ffmpeg");
    const std::vector<std::string> names = {"$HOME `touch x` it's.mp4", "a\\b\"c\".mp4", "line\nbreak !*?[].mp4",
                                            "\xff\xfe ~{a,b}.mp4", "plain.mp4"};
    std::vector<std::string> arguments = {"--no-settings", "-q", "--ffmpeg", folder + "/ffmpeg",
                                          "--fps",         "2",  "-o",       out};
    for (const std::string& name : names) arguments.push_back(dir.write("hostile/" + name, "x"));
    arguments.insert(arguments.begin(), "--dry-run");
    const ProgramResult dry = cli(arguments);
    ASSERT_EQ(dry.status, 0) << dry.err;
    arguments.erase(arguments.begin());
    ASSERT_EQ(cli(arguments).status, 0);
    const std::vector<FakeExtractorRun> run = runs();
    ASSERT_EQ(run.size(), names.size());
    fs::remove_all(out);
    fs::remove(log);
    // What the dry run printed, as a script of the shell, starts the program with the run's arguments.
    const ProgramResult pasted = runProgram("/bin/sh", {"-c", dry.out}, {{"KELMORA_FAKE_LOG", log}}, dir.path());
    EXPECT_EQ(pasted.status, 0) << pasted.err << dry.out;
    EXPECT_EQ(runs(), run) << dry.out;
    EXPECT_FALSE(fs::exists(dir / "x")) << "nothing in a name was run";
}

TEST_F(CliRun, NamesShowTheirControlCharactersEscapedToPeopleAndExactInJson)
{
    const std::string name = dir.write("videos/a\x1b[2J\x1b]0;t\x07.mp4", "x");
    const std::string shown = dir / "videos/a\\x1b[2J\\x1b]0;t\\x07.mp4";
    const std::tuple<const char*, std::vector<std::string>, std::string> rows[] = {
        {"the line of a run and the list",
         {name},
         "[1/1] " + shown
             + ": failed (exit status 1)\n"
               "These files could not be cut:\n  "
             + shown + ": exit status 1\n"},
        {"a list that cannot be read", {"--files-from", name + "\x1b[H"}, shown + "\\x1b[H: cannot read"},
    };
    for (const auto& [what, arguments, said] : rows) {
        SCOPED_TRACE(what);
        std::vector<std::string> all = {"--no-settings", "-o", out};
        all.insert(all.end(), arguments.begin(), arguments.end());
        const ProgramResult result = cli(all, {{"KELMORA_FAKE_EXIT", "1"}});
        EXPECT_NE(result.err.find(said), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << "no escape character reaches the terminal";
    }
    const ProgramResult json = cli({"--no-settings", "-q", "--json", "-o", out, name});
    EXPECT_NE(json.out.find(R"("target":")" + dir / R"(videos/a\u001b[2J\u001b]0;t\u0007.mp4")"), std::string::npos)
        << json.out;
}

TEST_F(CliRun, TargetListsFromFilesAndStandardInput)
{
    const std::string a = dir.write("videos/with\nline break.mp4", "x");
    const std::string b = dir.write("videos/b.mp4", "x");
    const std::string list = dir.write("list.txt", clip + "\r\n\n" + b + "\n");
    const std::tuple<const char*, std::vector<std::string>, std::string, std::vector<std::string>> rows[] = {
        {"lines of a file", {"--files-from", list}, "", {b, clip}},
        {"NUL-ended on standard input, with arguments",
         {"-0", "--files-from", "-", clip},
         a + '\0' + b + '\0',
         {b, clip, a}},
    };
    for (const auto& [name, arguments, input, cut] : rows) {
        SCOPED_TRACE(name);
        fs::remove_all(out);
        std::vector<std::string> all = {"--no-settings", "-q", "-o", out};
        all.insert(all.end(), arguments.begin(), arguments.end());
        EXPECT_EQ(cli(all, {}, input).status, 0);
        std::vector<std::string> inputs;
        for (const FakeExtractorRun& run : runs()) inputs.push_back(run.at(1));
        EXPECT_EQ(inputs, cut) << "in the list's sorted order";
    }
}

TEST_F(CliRun, HostileNamesReachTheExtractorIntact)
{
    const std::vector<std::string> names = {"a b.mp4",   "q\"s'.mp4",    "50%off.mp4",
                                            "-lead.mp4", "\xff\xfe.mp4", "$(touch x).mp4"};
    for (const std::string& name : names) dir.write("hostile/" + name, "x");
    // Relative names stay relative behind "./" ("-lead.mp4" is no option); a folder's walk gives full paths.
    const std::tuple<const char*, std::vector<std::string>, std::string, std::string> rows[] = {
        {"each name, relative", names, dir / "hostile", "./"},
        {"their folder", {"hostile"}, dir.path(), dir / "hostile/"},
    };
    for (const auto& [name, targets, folder, inputsUnder] : rows) {
        SCOPED_TRACE(name);
        fs::remove_all(out);
        std::vector<std::string> arguments = {"--no-settings", "-q", "-o", out, "--"};
        arguments.insert(arguments.end(), targets.begin(), targets.end());
        EXPECT_EQ(cli(arguments, {}, {}, folder).status, 0);
        std::set<FakeExtractorRun> got, expected;
        for (const FakeExtractorRun& run : runs()) got.insert({run.at(1), run.back()});
        for (const std::string& n : names) {
            std::string stem = fs::path(n).stem().string(), escaped;
            for (const char c : stem) escaped += c == '%' ? "%%" : std::string(1, c);
            expected.insert({inputsUnder + n, out + "/" + escaped + "_%05d.jpg"});
        }
        EXPECT_EQ(got, expected) << "a \"%\" of a name is doubled for the extractor";
    }
    EXPECT_FALSE(fs::exists(dir / "x") || fs::exists(dir / "hostile/x"));
    EXPECT_TRUE(fs::exists(out + "/50%off_00001.jpg"));
}

TEST_F(CliRun, MessagesInTheUsersLanguageWithTheWindowsTexts)
{
    const std::tuple<const char*, std::vector<std::string>, Environment, std::string> rows[] = {
        {"a limit", {"--fps", "0"}, {{"LANGUAGE", "ja"}}, "--fps: 0 は 1 から 60 までの整数ではありません"},
        {"the window's notice",
         {"--from", "1", "--fps", "2"},
         {{"LANGUAGE", "ja"}},
         "カット間隔を指定する場合は カット範囲は全フレームが対象になります。\n"},
        {"the window's reason",
         {},
         {{"LANGUAGE", "ja"}, {"KELMORA_FAKE_EXIT", "2"}},
         "次のファイルを変換できませんでした。\n  " + clip + ": 終了コード 2\n"},
    };
    for (const auto& [name, arguments, environment, said] : rows) {
        SCOPED_TRACE(name);
        std::vector<std::string> all = {"--no-settings", "-o", out};
        all.insert(all.end(), arguments.begin(), arguments.end());
        all.push_back(clip);
        const std::string err = cli(all, environment).err;
        EXPECT_NE(err.find(said), std::string::npos) << err;
    }
}

}  // namespace
}  // namespace kelmora::test
