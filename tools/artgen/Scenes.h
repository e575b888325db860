#pragma once
// The storyboard: the 79 mascot frames and the information picture.

#include <QImage>

namespace artgen {

constexpr int FrameCount = 79;
constexpr int FrameWidth = 220;
constexpr int FrameHeight = 296;

// Frames 0-35 the opening, 36-44 the idle loop, 45-78 the finishing run.
QImage drawFrame(int index);

// The 400 x 300 title picture: the hero flying over the Earth under the name.
QImage drawInfoPicture();

}  // namespace artgen
