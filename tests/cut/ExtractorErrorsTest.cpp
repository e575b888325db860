// Damaged input found in what the extractor says, however its output is cut
// into pieces (the prober's answer is read through the real prober in PixelsClipTest).
#include <gtest/gtest.h>

#include "cut/ExtractorErrors.h"

namespace kelmora {
namespace {

TEST(ExtractorErrors, DamagedInputIsFoundAnywhereAndInAnyPieces)
{
    const std::string said =
        "frame=   10 fps=0.0 q=2.0\r[mov,mp4,m4a,3gp,3g2,mj2 @ 0x55] stream 0, offset 0x1: "
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
