#include <gtest/gtest.h>

#include <vector>

#include "ui/MascotAnimation.h"

using namespace kelmora;

namespace {

// Runs the sequence for a number of ticks; raiseAt sets the flag just before
// the tick that draws that frame number (-1: never).
struct Played {
    std::vector<int> frames;
    int index;
    int flag;
};

Played play(int index, int flag, int ticks, int raiseAtTick = -1)
{
    Played run{{}, index, flag};
    for (int t = 0; t < ticks; ++t) {
        if (t == raiseAtTick) run.flag = 1;
        const TMascotStep step = mascotStep(run.index, run.flag);
        run.frames.push_back(step.frame);
        run.index = step.nextIndex;
        run.flag = step.flag;
    }
    return run;
}

std::vector<int> range(int first, int last)
{
    std::vector<int> v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
}

std::vector<int> concat(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(MascotSequence, OpeningRunsIntoTheIdleLoop)
{
    const Played run = play(0, 0, 45 + 18);
    EXPECT_EQ(run.frames, concat(concat(range(0, 44), range(36, 44)), range(36, 44)));
    EXPECT_EQ(run.flag, 0);
}

TEST(MascotSequence, FlagDuringIdlePlaysTheFinishOnceThenIdles)
{
    // The flag arrives while the loop is about to draw 40.
    const Played run = play(40, 0, 39 + 3, 0);
    EXPECT_EQ(run.frames, concat(range(40, 78), range(36, 38)));
    EXPECT_EQ(run.flag, 0);
}

TEST(MascotSequence, FlagDuringOpeningRunsStraightToTheEnd)
{
    const Played run = play(0, 0, 79 + 1, 10);
    EXPECT_EQ(run.frames, concat(range(0, 78), {36}));
    EXPECT_EQ(run.flag, 0);
}

TEST(MascotSequence, SecondFlagDuringTheFinishChangesNothing)
{
    Played run = play(45, 1, 10);
    run = play(run.index, 1, 30);  // another batch completes: the flag is set again
    EXPECT_EQ(run.frames.front(), 55);
    EXPECT_EQ(run.frames[23], 78);
    EXPECT_EQ(run.frames[24], 36);
    EXPECT_EQ(run.flag, 0);
}

TEST(MascotSequence, StrayIndexNeverDrawsOutsideTheFrames)
{
    EXPECT_EQ(mascotStep(-7, 0).frame, 0);
    const TMascotStep high = mascotStep(500, 0);
    EXPECT_EQ(high.frame, MascotFrameCount - 1);
    EXPECT_EQ(high.nextIndex, MascotIdleFirst);
    const TMascotStep highFlagged = mascotStep(500, 1);
    EXPECT_EQ(highFlagged.nextIndex, MascotIdleFirst);
    EXPECT_EQ(highFlagged.flag, 0);
}
