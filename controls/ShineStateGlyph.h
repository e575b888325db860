#pragma once
// The picture a shine button draws for its glyph in each state: the glyph
// itself, a light effect in the shine colour while hot, or a disabled look.

#include <QImage>

#include "controls/Colors.h"

namespace kelmora {

enum TShineState { stActiveDown, stDown, stActiveUp, stUp, stDisabled };
enum TActiveImageType {
    aiNormal,
    aiXorLight,
    aiHalfLight,
    aiQuaterLight,
    aiAddLight,
    aiFrameLight,
    aiFrameLight2,
    aiMaskLight
};
enum TDisabledImageType { diDefault, diGrayscale, diAlphaHalfTrans, diAlphaQuaterTrans, diMaskTrans };

// Builds the state glyph from a glyph (any format; worked on as 32-bit pixels).
// The transparent key is the glyph's bottom-left pixel; pixels equal to it are
// background. Returns a null image for an empty glyph. For stDisabled with
// diDefault the result is a black-and-white edge mask (white = paint).
// The result is Format_RGB32; its own bottom-left pixel is its transparent colour.
QImage createStateGlyph(const QImage& glyph, TShineState state, TActiveImageType activeImage,
                        TDisabledImageType disabledImage, TColor shineColor, TColor faceColor);

}  // namespace kelmora
