#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "render/background.h"
#include "render/frame_composition.h"
#include "tests/render/render_test_support.h"

namespace orv {
namespace {

TEST(BackgroundColour, ChannelsAreTruncatedAndLimited) {
    EXPECT_EQ(BackgroundColour(1000, 500, 0, 1000), 0xFFFF7F00u);
    // Values read from a file are not limited before they get here.
    EXPECT_EQ(BackgroundColour(-300, 2000, 1001, 999), 0xFE00FFFFu);
}

TEST(ClipRectPair, MovesTheOtherRectangleByTheClippedAmountAndRefusesWhatCannotOverlap) {
    const auto edges = [](const PixelRect& r) { return std::array{r.left, r.top, r.right, r.bottom}; };
    // The target's and the source's sizes, the rectangles on them, and the rectangles clipped.
    using Case = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, PixelRect, PixelRect,
                            PixelRect, PixelRect>;
    for (auto [targetWidth, targetHeight, sourceWidth, sourceHeight, target, source, clippedTarget,
               clippedSource] :
         {Case{10, 6, 20, 10, {-5, -2, 15, 8}, {0, 0, 20, 10}, {0, 0, 10, 6}, {5, 2, 15, 8}},
          Case{100, 100, 8, 8, {0, 0, 10, 10}, {-3, 4, 7, 14}, {3, 0, 10, 4}, {0, 4, 7, 8}}}) {
        ASSERT_TRUE(ClipRectPair(targetWidth, targetHeight, sourceWidth, sourceHeight, target, source));
        EXPECT_EQ(std::pair(edges(target), edges(source)),
                  std::pair(edges(clippedTarget), edges(clippedSource)));
    }
    // Beside the target or the source, empty, or turned inside out.
    const std::pair<PixelRect, PixelRect> refused[] = {{{10, 0, 15, 5}, {0, 0, 5, 5}},
                                                       {{0, 0, 5, 5}, {0, -5, 5, 0}},
                                                       {{3, 3, 3, 8}, {0, 0, 0, 5}},
                                                       {{8, 3, 2, 8}, {0, 0, 5, 5}}};
    for (auto [target, source] : refused)
        EXPECT_FALSE(ClipRectPair(10, 10, 10, 10, target, source)) << target.left << "," << source.left;
}

TEST(CompositeOver, MovesTowardsTheSourceByItsAlphaAndMakesTheTargetOpaque) {
    FrameBuffer target = test::FilledImage(2, 1, 0x00204060u);
    FrameBuffer source = test::FilledImage(2, 1, 0xFFF0E0D0u);
    source.At(1, 0) = 0x00F0E0D0u;
    CompositeOver(target, {0, 0, 2, 1}, source, {0, 0, 2, 1}, false);
    // Each channel d + floor((s - d) * 255 / 256).
    EXPECT_EQ(std::pair(target.At(0, 0), target.At(1, 0)), std::pair(0xFFEFDFCFu, 0xFF204060u));
}

TEST(DrawBackground, ASmallImageCoversOnlyItsCorner) {
    const FrameBuffer image = test::FilledImage(320, 240, 0x80112233u);
    FrameBuffer preview = test::FilledImage(640, 480, 0xFF010101u);
    DrawBackground(preview, &image, 0xFFABCDEFu, true, AllRows(preview));
    EXPECT_EQ((std::vector{preview.At(319, 239), preview.At(320, 239), preview.At(319, 240)}),
              (std::vector{0x80112233u, 0xFF010101u, 0xFF010101u}));
    DrawBackground(preview, nullptr, 0xFFABCDEFu, false, AllRows(preview));
    EXPECT_EQ(std::pair(preview.At(0, 0), preview.At(639, 479)), std::pair(0xFFABCDEFu, 0xFFABCDEFu));
}

}  // namespace
}  // namespace orv
