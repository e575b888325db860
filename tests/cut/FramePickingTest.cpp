// Picking frames and naming images by time, below what the real extractor's
// tests (tests/cli/CliPickClipTest.cpp) show: the seeks of one image every D
// seconds, the time names and the names they take, and the key frame
// fallback, which needs a video that flags no key frame (the fake extractor).
#include <gtest/gtest.h>

#include "cut/FramePicking.h"
#include "cut/ImageFiles.h"
#include "tests/cut/CutSessionFixture.h"

namespace kelmora {
namespace {

using platform::PathStyle;
using T = TCutSettings;

TEST(FramePicking, EverySeekSeconds)
{
    struct Row {
        const char* name;
        std::int32_t every;
        std::optional<std::int32_t> from, frames;
        std::optional<double> duration;
        std::vector<std::int64_t> seconds;
    };
    const Row rows[] = {
        {"from the start while before the end", 60, {}, {}, 600.0, {0, 60, 120, 180, 240, 300, 360, 420, 480, 540}},
        {"from the start second, at most the range's frames", 5, 3, 2, 100.0, {3, 8}},
        {"a start past the end: no seek, the filter path", 5, 200, 2, 100.0, {}},
        {"unknown duration: the filter path", 60, {}, {}, {}, {}},
        {"more images than seeks: the filter path", 1, {}, {}, 1000.0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        T s;
        s.PickMode = kPickEvery;
        s.EverySeconds = row.every;
        if (row.from) {
            turnOn(s, &T::RangeFromSecond);
            s.StartSecond = *row.from;
            s.FrameCount = *row.frames;
        }
        EXPECT_EQ(everySeekSeconds(s, row.duration), row.seconds);
    }
}

TEST(FramePicking, TimeNamesSortAndTakeTheirName)
{
    const std::pair<std::int64_t, const char*> names[] = {
        {0, "00-00-00.000"},       {83456, "00-01-23.456"},      {3599999, "00-59-59.999"},
        {3600000, "01-00-00.000"}, {360000000, "100-00-00.000"},
    };
    for (const auto& [ms, name] : names) EXPECT_EQ(timeNameOf(ms), name) << ms;

    struct Row {
        const char* file;
        bool numbered, unnumbered;  // it takes the name "a" for a numbered run, an unnumbered one
    };
    const Row rows[] = {
        {"a_00-01-23.456.jpg", true, true},    {"a_123-01-23.456.jpg", true, true},
        {"a_0-01-23.456.jpg", false, false},   {"a_00-01-23.45.jpg", false, false},
        {"a00-01-23.456.jpg", false, false},   {"a_00-01-23.456.png", false, false},
        {"ab_00-01-23.456.jpg", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_EQ(isImageOf(row.file, "a", ofJpeg, PathStyle::Posix), row.numbered);
        EXPECT_EQ(isImageOf(row.file, "a", ofNone, PathStyle::Posix), row.unnumbered);
    }
}

using test::CutSessionTest;

TEST_F(CutSessionTest, KeyFramesOfAVideoThatFlagsNoneFallBackToSceneChanges)
{
    test::setEnvironment("KELMORA_FAKE_NO_KEY_FRAMES", "1");
    TCutSettings options = session.options();
    options.PickMode = kPickKeyFrames;
    session.setOptions(options);
    add("v/a.avi");
    EXPECT_EQ(run(), CutBatchOutcome::Completed);
    const auto runs = test::readFakeExtractorLog(log);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].front(), "-skip_frame");
    EXPECT_NE(std::find(runs[1].begin(), runs[1].end(), "select='eq(n,0)+gt(scene,0.30)'"), runs[1].end());
    EXPECT_EQ(outputs(), (std::vector<std::string>{"out/a_%05d.jpg", "out/a_%05d.jpg"}));
    ASSERT_EQ(recorder.results.size(), 1u);
    EXPECT_EQ(recorder.results[0].status, CutEntryStatus::Cut);
    EXPECT_EQ(recorder.results[0].note, CutNote::NoKeyFrames);
    EXPECT_EQ(recorder.results[0].images, 3u);
}

}  // namespace
}  // namespace kelmora
