// The prober's answer read into a video's facts, and damaged input found in
// what the extractor says, however its output is cut into pieces.
#include <gtest/gtest.h>

#include "cut/ExtractorErrors.h"
#include "cut/VideoProbe.h"

namespace kelmora {
namespace {

TEST(VideoProbe, FactsFromTheProbersAnswer)
{
    const std::string pal = "streams.stream.0.width=720\nstreams.stream.0.height=576\n"
                            "streams.stream.0.sample_aspect_ratio=\"128:90\"\n"
                            "streams.stream.0.color_transfer=\"smpte2084\"\nstreams.stream.0.field_order=\"tt\"\n"
                            "streams.stream.0.r_frame_rate=\"50/1\"\nstreams.stream.0.avg_frame_rate=\"25/1\"\n"
                            "streams.stream.0.duration=\"N/A\"\nstreams.stream.0.nb_frames=\"N/A\"\n"
                            "streams.stream.0.side_data_list.side_data.0.rotation=-90\r\n"
                            "format.duration=\"2.500000\"\n";
    const VideoFacts facts = parseVideoFacts(pal);
    EXPECT_TRUE(facts.known);
    EXPECT_EQ(facts.width, 720);
    EXPECT_EQ(facts.sarNum, 64);  // reduced
    EXPECT_EQ(facts.sarDen, 45);
    EXPECT_TRUE(facts.nonSquarePixels());
    EXPECT_TRUE(facts.interlaced());
    EXPECT_TRUE(facts.highDynamicRange());
    EXPECT_EQ(facts.frameRate, 25);  // the average, not the container's base rate
    EXPECT_EQ(facts.rotation, -90);
    EXPECT_FALSE(facts.frames);
    EXPECT_EQ(facts.seconds, 2.5);  // the file's, where the stream has none

    const VideoFacts plain = parseVideoFacts(
        "streams.stream.0.sample_aspect_ratio=\"0:1\"\nstreams.stream.0.field_order=\"progressive\"\n"
        "streams.stream.0.nb_frames=\"75\"\n");
    EXPECT_FALSE(plain.nonSquarePixels() || plain.interlaced() || plain.highDynamicRange());
    EXPECT_EQ(plain.frames, 75);
    EXPECT_FALSE(parseVideoFacts("format.duration=\"3.0\"\n").known) << "no video stream";
}

TEST(ExtractorErrors, DamagedInputIsFoundAnywhereAndInAnyPieces)
{
    const std::string said = "frame=   10 fps=0.0 q=2.0\r[mov,mp4,m4a,3gp,3g2,mj2 @ 0x55] stream 0, offset 0x1: "
                             "partial file\n[h264 @ 0x56] Invalid NAL unit size (356 > 17).\n"
                             + std::string(8000, 'x') + "\nframe=   36 fps=0.0 q=2.0 Lsize=N/A\n";
    for (const std::size_t piece : {std::size_t(1), std::size_t(7), said.size()}) {
        SCOPED_TRACE(piece);
        ExtractorErrors errors;
        for (std::size_t at = 0; at < said.size(); at += piece) errors.feed(said.substr(at, piece));
        EXPECT_EQ(errors.inputTrouble(), "stream 0, offset 0x1: partial file");
    }
    ExtractorErrors clean;
    clean.feed("frame=   75 fps=0.0 q=2.0 Lsize=N/A\nvideo:1kB\n");
    EXPECT_EQ(clean.inputTrouble(), "");
}

}  // namespace
}  // namespace kelmora
