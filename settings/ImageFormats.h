#pragma once
// The image formats, in one table: the name kelmora-cli takes, the choice of
// the options that stands for it, the ending of its files, and what its
// images keep. WebP is chosen beside the window's four format buttons.

#include <span>
#include <string_view>

#include "settings/CutSettings.h"

namespace kelmora {

enum TOutputFormat { ofJpeg, ofGif, ofPng, ofBmp, ofWebp, ofNone };

struct ImageFormat {
    TOutputFormat format;
    const char* name;       // "jpeg"
    ChoiceField choice;     // &TCutSettings::FormatJpeg
    const char* extension;  // ".jpg"
    bool lossless;          // every pixel kept (WebP: when WebpLossless is on)
    bool transparency;      // an image may keep an alpha channel
};

// Every format, in the order a choice is looked for (the first that is on is used).
std::span<const ImageFormat> imageFormats();

// The format of that name, as kelmora-cli takes it; nullptr for none.
const ImageFormat* imageFormatNamed(std::string_view name);

}  // namespace kelmora
