#include "image/transparent_bleed.h"

#include <cstdint>

namespace orv {

namespace {

constexpr std::uint32_t kAlphaMask = 0xFF000000u;

bool Visible(std::uint32_t pixel) {
    return (pixel & kAlphaMask) != 0;
}

}  // namespace

void BleedTransparentPixels(FrameBuffer& image) {
    const std::uint32_t width = image.Width();
    const std::uint32_t height = image.Height();
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t& pixel = image.At(x, y);
            if (Visible(pixel)) continue;
            // A pixel coloured earlier in this pass keeps alpha 0, so it never feeds a later one.
            std::uint32_t source = 0;
            if (x + 1 < width && Visible(image.At(x + 1, y))) {
                source = image.At(x + 1, y);
            } else if (x > 0 && Visible(image.At(x - 1, y))) {
                source = image.At(x - 1, y);
            } else if (y + 1 < height && Visible(image.At(x, y + 1))) {
                source = image.At(x, y + 1);
            } else if (y > 0 && Visible(image.At(x, y - 1))) {
                source = image.At(x, y - 1);
            }
            pixel = source & ~kAlphaMask;
        }
    }
}

}  // namespace orv
