#include "settings/ImageFormats.h"

namespace kelmora {

namespace {

using T = TCutSettings;

constexpr ImageFormat kFormats[] = {
    {ofJpeg, "jpeg", &T::FormatJpeg, ".jpg", false, false},
    {ofGif, "gif", &T::FormatGif, ".gif", false, true},  // 256 colours, one of them clear
    {ofPng, "png", &T::FormatPng, ".png", true, true},
    {ofBmp, "bmp", &T::FormatBmp, ".bmp", true, false},
    {ofWebp, "webp", &T::FormatWebp, ".webp", false, true},
};

}  // namespace

std::span<const ImageFormat> imageFormats() { return kFormats; }

const ImageFormat* imageFormatNamed(std::string_view name)
{
    for (const ImageFormat& format : kFormats)
        if (name == format.name) return &format;
    return nullptr;
}

}  // namespace kelmora
