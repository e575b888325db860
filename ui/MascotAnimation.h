#pragma once
// The mascot's frame sequence: an opening run, an idle loop, and a finishing
// run played once after each completed batch.

namespace kelmora {

constexpr int MascotFrameCount = 79;
constexpr int MascotFrameWidth = 220;
constexpr int MascotFrameHeight = 296;
constexpr int MascotIdleFirst = 36;   // the opening is 0..35
constexpr int MascotIdleLast = 44;    // the idle loop is 36..44
constexpr int MascotFinishLast = 78;  // the finishing run is 45..78

// One animation tick: the frame to draw now, then the next index and the
// finish flag after the tick.
struct TMascotStep {
    int frame;
    int nextIndex;
    int flag;
};

// frameIndex is the index of the next frame to draw; flag is the finish flag
// (non-zero once a batch has completed). An index outside the frames draws the
// nearest frame, so a stray value can never read past the sheet.
TMascotStep mascotStep(int frameIndex, int flag);

}  // namespace kelmora
