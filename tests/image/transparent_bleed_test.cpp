#include "image/transparent_bleed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace orv {
namespace {

FrameBuffer Image(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& pixels) {
    FrameBuffer image(width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) image.At(x, y) = pixels[y * width + x];
    }
    return image;
}

std::vector<std::uint32_t> Pixels(const FrameBuffer& image) {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t y = 0; y < image.Height(); ++y) {
        for (std::uint32_t x = 0; x < image.Width(); ++x) pixels.push_back(image.At(x, y));
    }
    return pixels;
}

TEST(TransparentBleed, ReachesOnePixelAndPrefersTheRightNeighbour) {
    FrameBuffer image = Image(4, 1, {0xFFFF0000, 0x00123456, 0x00ABCDEF, 0xFF0000FF});
    BleedTransparentPixels(image);
    // The second pixel's right neighbour is still transparent, so it takes red from the left.
    EXPECT_EQ(Pixels(image), (std::vector<std::uint32_t>{0xFFFF0000, 0x00FF0000, 0x000000FF, 0xFF0000FF}));
}

TEST(TransparentBleed, BledPixelsNeverFeedLaterOnes) {
    FrameBuffer image = Image(4, 1, {0xFF112233, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF});
    BleedTransparentPixels(image);
    EXPECT_EQ(Pixels(image), (std::vector<std::uint32_t>{0xFF112233, 0x00112233, 0, 0}));
}

TEST(TransparentBleed, FallsBackToBelowThenAbove) {
    // Column of three: transparent, opaque green, transparent. The top takes from below, the
    // bottom from above; a partly transparent neighbour counts as visible.
    FrameBuffer image = Image(1, 3, {0x00FFFFFF, 0x0100FF00, 0x00FFFFFF});
    BleedTransparentPixels(image);
    EXPECT_EQ(Pixels(image), (std::vector<std::uint32_t>{0x0000FF00, 0x0100FF00, 0x0000FF00}));

    // Horizontal neighbours win over vertical ones.
    FrameBuffer cross = Image(3, 3,
                              {0x00000000, 0xFF0000AA, 0x00000000,  //
                               0xFF00BB00, 0x00000000, 0xFFCC0000,  //
                               0x00000000, 0xFF0000DD, 0x00000000});
    BleedTransparentPixels(cross);
    EXPECT_EQ(cross.At(1, 1), 0x00CC0000u);
    EXPECT_EQ(cross.At(0, 0), 0x000000AAu);
    EXPECT_EQ(cross.At(2, 2), 0x000000DDu);
}

TEST(TransparentBleed, FullyTransparentImageBecomesZero) {
    FrameBuffer image = Image(5, 2, std::vector<std::uint32_t>(10, 0x00FFFFFF));
    BleedTransparentPixels(image);
    EXPECT_EQ(Pixels(image), std::vector<std::uint32_t>(10, 0));
}

}  // namespace
}  // namespace orv
