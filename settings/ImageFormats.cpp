#include "settings/ImageFormats.h"

namespace kelmora {

namespace {

using T = TCutSettings;

constexpr ImageFormat kFormats[] = {
    {ofJpeg, "jpeg", &T::FormatJpeg, ".jpg"},
    {ofGif, "gif", &T::FormatGif, ".gif"},
    {ofPng, "png", &T::FormatPng, ".png"},
    {ofBmp, "bmp", &T::FormatBmp, ".bmp"},
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
