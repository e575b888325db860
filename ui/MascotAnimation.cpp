#include "ui/MascotAnimation.h"

#include <algorithm>

namespace kelmora {

TMascotStep mascotStep(int frameIndex, int flag)
{
    TMascotStep step{std::clamp(frameIndex, 0, MascotFrameCount - 1), frameIndex + 1, flag};
    if (step.flag == 0) {
        if (step.nextIndex > MascotIdleLast) step.nextIndex = MascotIdleFirst;
    } else if (step.nextIndex > MascotFinishLast) {
        step.flag = 0;
        step.nextIndex = MascotIdleFirst;
    }
    return step;
}

}  // namespace kelmora
