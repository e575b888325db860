#include "controls/ShineStateGlyph.h"

#include <algorithm>

#include "controls/Gradient.h"

namespace kelmora {

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

QRgb rgbOf(QRgb p) { return p & kRgbMask; }

// Pixels as 0x00RRGGBB words (the top byte is not part of the colour).
class Pixels {
public:
    explicit Pixels(QImage& image) : m_image(image) {}
    QRgb at(int x, int y) const { return rgbOf(reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x]); }
    void set(int x, int y, QRgb p) { reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = p | 0xFF000000; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

private:
    QImage& m_image;
};

template <typename Effect>
void perChannel(Pixels& out, const Pixels& source, QRgb key, Effect effect)
{
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = source.at(x, y);
            if (p == key) continue;
            out.set(x, y, qRgb(effect(qRed(p), 0), effect(qGreen(p), 1), effect(qBlue(p), 2)));
        }
}

// Every second opaque pixel, counting all pixels row by row; the count gains
// one more step per row when the height is even, so the pattern alternates.
void dither(Pixels& out, const Pixels& source, QRgb key, QRgb replacement)
{
    int counter = 0;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x, ++counter)
            if (source.at(x, y) != key && (counter & 1)) out.set(x, y, replacement);
        if (source.height() % 2 == 0) ++counter;
    }
}

void outline(Pixels& out, const Pixels& source, QRgb key, QRgb shine, bool thick)
{
    const int w = source.width();
    const int h = source.height();
    const auto opaque = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && source.at(x, y) != key; };
    const auto isKey = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && source.at(x, y) == key; };
    constexpr int dx[] = {-1, 1, 0, 0};
    constexpr int dy[] = {0, 0, -1, 1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!isKey(x, y)) continue;
            bool edge = false;
            for (int d = 0; d < 4; ++d) edge = edge || opaque(x + dx[d], y + dy[d]);
            if (!edge) continue;
            out.set(x, y, shine);
            if (!thick) continue;
            for (int d = 0; d < 4; ++d)
                if (isKey(x + dx[d], y + dy[d])) out.set(x + dx[d], y + dy[d], shine);
        }
}

// White where a pixel differs from its lower-right or lower-left neighbour's
// diagonal partner; the last row stays black.
void edgeMask(Pixels& out, const Pixels& source)
{
    const int w = source.width();
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < w; ++x) out.set(x, y, kBlack);
    for (int y = 0; y + 1 < source.height(); ++y) {
        for (int x = 0; x <= w - 2; ++x)
            if (source.at(x, y) != source.at(x + 1, y + 1)) out.set(x, y, kWhite);
        for (int x = 1; x <= w - 1; ++x)
            if (source.at(x, y) != source.at(x - 1, y + 1)) out.set(x - 1, y, kWhite);
    }
}

}  // namespace

QImage createStateGlyph(const QImage& glyph, TShineState state, TActiveImageType activeImage,
                        TDisabledImageType disabledImage, TColor shineColor, TColor faceColor)
{
    if (glyph.isNull() || glyph.width() < 1 || glyph.height() < 1) return {};
    QImage sourceImage = glyph.convertToFormat(QImage::Format_RGB32);
    QImage result = sourceImage.copy();
    const Pixels source(sourceImage);
    Pixels out(result);
    const QRgb key = source.at(0, source.height() - 1);

    if (state == stActiveDown || state == stActiveUp) {
        const QRgb s = rgbOf(toRgb(shineColor));
        const int sc[] = {qRed(s), qGreen(s), qBlue(s)};
        switch (activeImage) {
        case aiNormal: break;
        case aiXorLight: perChannel(out, source, key, [&](int c, int i) { return c ^ sc[i]; }); break;
        case aiHalfLight: perChannel(out, source, key, [&](int c, int i) { return (sc[i] + c) / 2; }); break;
        case aiQuaterLight: perChannel(out, source, key, [&](int c, int i) { return (3 * sc[i] + c) / 4; }); break;
        case aiAddLight: perChannel(out, source, key, [&](int c, int i) { return std::min(sc[i] + c, 255); }); break;
        case aiFrameLight:
        case aiFrameLight2: outline(out, source, key, s, activeImage == aiFrameLight2); break;
        case aiMaskLight: dither(out, source, key, s); break;
        }
    } else if (state == stDisabled) {
        const QRgb f = rgbOf(toRgb(faceColor));
        const int fc[] = {qRed(f), qGreen(f), qBlue(f)};
        switch (disabledImage) {
        case diDefault: edgeMask(out, source); break;
        case diGrayscale:
            for (int y = 0; y < source.height(); ++y)
                for (int x = 0; x < source.width(); ++x) {
                    const QRgb p = source.at(x, y);
                    if (p == key) continue;
                    const int grey = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
                    out.set(x, y, qRgb(grey, grey, grey));
                }
            break;
        case diAlphaHalfTrans: perChannel(out, source, key, [&](int c, int i) { return (fc[i] + c) / 2; }); break;
        case diAlphaQuaterTrans: perChannel(out, source, key, [&](int c, int i) { return (3 * fc[i] + c) / 4; }); break;
        case diMaskTrans: dither(out, source, key, key); break;
        }
    }
    return result;
}

}  // namespace kelmora
