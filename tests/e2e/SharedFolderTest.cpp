// Two kelmora-cli processes and the window cut videos of one name into one
// folder at the same moment, round after round, with the real ffmpeg: every
// image of every run is there, and none replaced another.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/Beep.h"
#include "platform/Process.h"
#include "tests/support/TempFolder.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"

namespace kelmora::test {
namespace {

namespace fs = std::filesystem;

TEST(SharedFolder, ProcessesCuttingAtOnceNeverShareAName)
{
    const std::string ffmpeg = platform::findProgram("ffmpeg", "");
    if (ffmpeg.empty()) GTEST_SKIP() << "ffmpeg is not installed";
    TempFolder dir;
    const std::string clip = dir / "clip.mp4";
    auto make = platform::ChildProcess::startHidden(
        ffmpeg,
        {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=32x24:rate=10", "-t", "1", "-pix_fmt", "yuv420p", clip});
    ASSERT_TRUE(make && make->waitFor(-1) && make->exitStatus() == 0);
    std::vector<std::string> videos;
    for (const char* folder : {"v1", "v2", "v3"}) {
        fs::create_directories(dir / folder);
        videos.push_back(dir / (std::string(folder) + "/clip.mp4"));
        fs::copy_file(clip, videos.back());
    }
    struct : platform::BeepSink {
        void beep() override {}
    } silence;
    platform::setBeepSink(&silence);
    setNoticeSink([](NoticeKind, const QString& text) { ADD_FAILURE() << text.toStdString(); });

    // A few rounds in the suite; bench/shared-folder.sh asks for more.
    const char* asked = std::getenv("KELMORA_SHARED_FOLDER_ROUNDS");
    const int rounds = asked && *asked ? std::atoi(asked) : 4;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        // Every other round without a format: the unnumbered names ("clip1.jpg").
        const bool numbered = round % 2 == 0;
        const std::string out = dir / ("out" + std::to_string(round));
        dir.write("Kelmora.ini", std::string("[SET1]\n") + (numbered ? "" : "R5=0\n") + "B1=" + out + "\n");
        std::vector<platform::ChildProcess> clis;
        for (int i = 0; i < 2; ++i) {
            auto cli = platform::ChildProcess::startHidden(
                KELMORA_CLI, {"--settings", dir / "Kelmora.ini", "-q", "-j", "3", videos[0], videos[1], videos[2]});
            ASSERT_TRUE(cli);
            clis.push_back(std::move(*cli));
        }
        {
            TMainForm1 window(dir.path(), videos);
            window.FormActivate();
            window.SSButton10Click();
        }
        for (platform::ChildProcess& cli : clis) {
            cli.waitFor(-1);
            EXPECT_EQ(cli.exitStatus(), 0);
        }
        // Nine runs of ten images each, under nine names.
        std::size_t images = 0;
        std::set<std::string> firsts;
        for (const auto& entry : fs::directory_iterator(out)) {
            ++images;
            EXPECT_GT(entry.file_size(), 0u) << entry.path();
            const std::string name = entry.path().filename().string();
            if (name.ends_with(numbered ? "_00001.jpg" : "1.jpg") && !name.ends_with("11.jpg")) firsts.insert(name);
        }
        EXPECT_EQ(images, 90u);
        EXPECT_EQ(firsts.size(), 9u);
    }
    setNoticeSink(nullptr);
    platform::setBeepSink(nullptr);
}

}  // namespace
}  // namespace kelmora::test
