// Picking frames and naming images by time: the command lines the real
// extractor tests do not show (the seeks' numbering, the counting output,
// the timestamps), the seeks of one image every D seconds, the time names,
// and the session's renaming and key frame fallback with the fake extractor.
#include <gtest/gtest.h>

#include "cut/CutCommand.h"
#include "cut/FramePicking.h"
#include "cut/ImageFiles.h"
#include "tests/cut/CutSessionFixture.h"

namespace kelmora {
namespace {

using platform::PathStyle;
using T = TCutSettings;

TEST(FramePicking, EachModesCommandLine)
{
    struct Row {
        const char* name;
        void (*choose)(T&);
        std::optional<double> duration;
        std::string arguments;
    };
    const Row rows[] = {
        {"without repeats at 2 a second",
         [](T& s) {
             turnOn(s, &T::RatePerSecond);
             s.FramesPerSecond = 2;
             s.NoRepeats = true;
         },
         {},
         R"(-i "/v/a.avi" -f null -fps_mode passthrough -vf fps=2 - )"
         R"(-f image2 -fps_mode passthrough -vf fps=2,mpdecimate  "/out/a_%05d.jpg")"},
        {"every 60 s of 150 s from second 10: a seek for each image, numbered in turn",
         [](T& s) {
             s.PickMode = kPickEvery;
             s.EverySeconds = 60;
             turnOn(s, &T::RangeFromSecond);
             s.StartSecond = 10;
             s.FrameCount = 99;
         },
         150.0,
         R"(-ss 10 -i "/v/a.avi" -ss 70 -i "/v/a.avi" -ss 130 -i "/v/a.avi" )"
         R"(-map 0:v:0 -frames:v 1 -f image2 -start_number 1 "/out/a_%05d.jpg" )"
         R"(-map 1:v:0 -frames:v 1 -f image2 -start_number 2 "/out/a_%05d.jpg" )"
         R"(-map 2:v:0 -frames:v 1 -f image2 -start_number 3 "/out/a_%05d.jpg")"},
        {"names by time: the frames' own timestamps in milliseconds",
         [](T& s) { s.ImageNames = kNamesByTime; },
         {},
         R"(-copyts -i "/v/a.avi" -f image2 -fps_mode passthrough -vf settb=1/1000,setpts=PTS )"
         R"(-enc_time_base 1/1000 -frame_pts 1  "/out/a_%09d.jpg")"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        T s;
        s.DestinationFolder = "/out";
        row.choose(s);
        const CutCommand cut = BuildCutCommandLine("/v/a.avi", s, "a", CutInputFacts{row.duration}, PathStyle::Posix);
        EXPECT_EQ(cut.command.argumentText, row.arguments);
    }
}

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

}  // namespace
}  // namespace kelmora

namespace kelmora {
namespace {

namespace fs = std::filesystem;
using test::CutSessionTest;

class PickSessionTest : public CutSessionTest {
protected:
    void choose(void (*change)(TCutSettings&))
    {
        TCutSettings s = session.options();
        change(s);
        session.setOptions(s);
    }
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir / "out")) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(PickSessionTest, ImagesNamedByTimeAreRenamedAndTakeTheirName)
{
    choose([](TCutSettings& s) { s.ImageNames = kNamesByTime; });
    add("v/a.avi");
    add("w/a.avi");
    EXPECT_EQ(run(), CutBatchOutcome::Completed);
    // The fake writes the milliseconds 1, 2 and 3; the claims ("a_00001.jpg") are gone.
    EXPECT_EQ(outputs(), (std::vector<std::string>{"out/a_%09d.jpg", "out/a (2)_%09d.jpg"}));
    EXPECT_EQ(files(),
              (std::vector<std::string>{"a (2)_00-00-00.001.jpg", "a (2)_00-00-00.002.jpg", "a (2)_00-00-00.003.jpg",
                                        "a_00-00-00.001.jpg", "a_00-00-00.002.jpg", "a_00-00-00.003.jpg"}));
    ASSERT_EQ(recorder.results.size(), 2u);
    EXPECT_EQ(recorder.results[0].images, 3u);
    EXPECT_EQ(recorder.results[0].timedImages.back(), (TimedImage{dir / "out/a_00-00-00.003.jpg", 3}));
    // A numbered run after them takes the next name too.
    choose([](TCutSettings& s) { s.ImageNames = kNamesNumbered; });
    session.targets().clear();
    add("v/a.avi");
    fs::remove(log);
    EXPECT_EQ(run(), CutBatchOutcome::Completed);
    EXPECT_EQ(outputs(), std::vector<std::string>{"out/a (3)_%05d.jpg"});
}

TEST_F(PickSessionTest, KeyFramesOfAVideoThatFlagsNoneFallBackToSceneChanges)
{
    test::setEnvironment("KELMORA_FAKE_NO_KEY_FRAMES", "1");
    choose([](TCutSettings& s) { s.PickMode = kPickKeyFrames; });
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
