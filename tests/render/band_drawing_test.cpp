// Drawing a frame band by band, on several threads, must give every pixel exactly what drawing it
// at once gives. Random scenes of overlapping sprites (rectangles and rotated quads reaching past
// every edge, mirrored texels, vertices on whole rows) are drawn with every one of the 32 variants,
// once over all rows and once per band, and compared to the bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "render/background.h"
#include "render/drawing_pool.h"
#include "render/frame_composition.h"
#include "tests/render/render_test_support.h"

namespace orv {
namespace {

using test::GuardedTarget;
using test::KeyOf;
using test::Scene;

struct FrameSize {
    std::uint32_t width, height;
};
// Odd sizes whose rows start off 16-byte boundaries, frames narrower than one SSE2 group, and
// frames of a single row.
constexpr FrameSize kSizes[] = {{37, 23}, {64, 17}, {3, 9}, {1, 6}, {2, 1}, {41, 1}};

TEST(BandDrawing, EveryVariantDrawsTheSamePixelsOnAnyNumberOfThreads) {
    std::vector<std::unique_ptr<DrawingPool>> pools;
    for (std::uint32_t threads : {2u, 3u, 7u}) pools.push_back(std::make_unique<DrawingPool>(threads));
    test::ForEachRowWidth([&] {
        std::mt19937 random(16);
        for (unsigned bits = 0; bits < 32; ++bits) {
            const SpriteFills& fills = SelectSpriteFills(KeyOf(bits));
            for (const FrameSize size : kSizes) {
                const Scene scene = test::RandomScene(size.width, size.height, random);
                const FrameBuffer start = test::RandomImage(size.width, size.height, random);
                GuardedTarget whole(start);
                scene.Draw(fills, whole.Frame(), AllRows(whole.Frame()));
                for (const auto& pool : pools) {
                    GuardedTarget banded(start);
                    pool->DrawBands(size.height,
                                    [&](const RowBand& band) { scene.Draw(fills, banded.Frame(), band); });
                    EXPECT_EQ(test::Differences(whole.Frame(), banded.Frame()), 0)
                        << "variant " << bits << ", " << size.width << " x " << size.height << ", "
                        << pool->Threads() << " threads";
                    EXPECT_TRUE(banded.GuardsIntact());
                }
                // Bands reaching past the frame, or lying wholly outside it, draw only frame rows.
                const auto h = static_cast<std::int32_t>(size.height), middle = h / 2;
                GuardedTarget past(start);
                for (const RowBand band : {RowBand{-40, middle}, {middle, h + 300}, {h, h + 20}, {-20, 0}})
                    scene.Draw(fills, past.Frame(), band);
                EXPECT_EQ(test::Differences(whole.Frame(), past.Frame()), 0) << "variant " << bits;
                EXPECT_TRUE(past.GuardsIntact());
            }
        }
    });
}

// Clearing, the background image, compositing and copying, each band by band as at once and on
// the SSE2 path as on the plain one, with rectangles at offsets off 16-byte boundaries.
TEST(BandDrawing, FrameOperationsByBandAndOnBothPathsEqualThePlainWholeOperation) {
    std::mt19937 random(5);
    DrawingPool pool(3);
    for (const FrameSize size : kSizes) {
        const auto w = static_cast<std::int32_t>(size.width), h = static_cast<std::int32_t>(size.height);
        const FrameBuffer start = test::RandomImage(size.width, size.height, random);
        const FrameBuffer image = test::RandomImage(size.width / 2 + 1, size.height / 2 + 1, random);
        const FrameBuffer layer = test::RandomImage(size.width + 4, size.height + 2, random);
        const PixelRect source{2, 1, w + 2, h + 1};
        for (int operation = 0; operation < 4; ++operation) {
            for (std::int32_t offset = -3; offset < 6; ++offset) {
                const PixelRect target{offset, offset - 1, offset + w, offset + h - 1};
                auto apply = [&](FrameBuffer& frame, bool sse2, const RowBand& band) {
                    if (operation == 0)
                        ClearFrame(frame, 0x80402010u + static_cast<std::uint32_t>(offset), sse2, band);
                    if (operation == 1) DrawBackground(frame, &image, 0u, sse2, band);
                    if (operation == 2) CompositeOver(frame, target, layer, source, sse2, band);
                    if (operation == 3) CopyRect(frame, target, layer, source, sse2, band);
                };
                GuardedTarget whole(start);
                apply(whole.Frame(), false, AllRows(whole.Frame()));
                for (bool sse2 : {false, true}) {
                    SCOPED_TRACE(::testing::Message()
                                 << size.width << " x " << size.height << ", operation " << operation
                                 << ", offset " << offset << ", sse2 " << sse2);
                    GuardedTarget once(start), banded(start);
                    apply(once.Frame(), sse2, AllRows(once.Frame()));
                    pool.DrawBands(size.height,
                                   [&](const RowBand& band) { apply(banded.Frame(), sse2, band); });
                    EXPECT_EQ(test::Differences(whole.Frame(), once.Frame()), 0);
                    EXPECT_EQ(test::Differences(whole.Frame(), banded.Frame()), 0);
                    EXPECT_TRUE(once.GuardsIntact() && banded.GuardsIntact());
                }
            }
        }
    }
}

// The band tops, then the bottom of the last band; a gap, an overlap or an empty band fails.
std::vector<std::int32_t> Cuts(const std::vector<RowBand>& bands) {
    std::vector<std::int32_t> cuts{0};
    for (const RowBand& band : bands) {
        EXPECT_TRUE(band.top == cuts.back() && !band.Empty());
        cuts.push_back(band.bottom);
    }
    return cuts;
}

// Gaps or overlaps would also change the band drawing tests' pixels; here the shares: rows split
// evenly, and by work each band's weight's share of the work, down to a band a row.
TEST(SplitRows, CutsIntoBandsOfNearlyEqualRowsOrWorkWithoutGapsOrEmptyOnes) {
    // The height, the band count, the cuts.
    using Case = std::tuple<std::uint32_t, std::uint32_t, std::vector<std::int32_t>>;
    for (const auto& [height, count, cuts] : {Case{23, 7, {0, 4, 8, 11, 14, 17, 20, 23}}, Case{1, 7, {0, 1}},
                                              Case{5, 0, {0, 5}}, Case{0, 3, {0}}})
        EXPECT_EQ(Cuts(SplitRows(height, count)), cuts) << height << " rows, " << count << " bands";
    // The work per row, the band weights, the cuts.
    using WorkCase =
        std::tuple<std::vector<std::uint64_t>, std::vector<std::uint32_t>, std::vector<std::int32_t>>;
    const WorkCase workCases[] = {
        {std::vector<std::uint64_t>(20, 1), {7, 7, 2, 2, 1, 1}, {0, 7, 14, 16, 18, 19, 20}},
        {{1, 1, 1, 1, 1, 1, 1, 100}, {1, 1}, {0, 7, 8}},  // the heavy row still gets a band
        {{0, 0, 0, 0, 0}, {1, 1}, {0, 1, 5}},
        {{5, 5, 5}, {3, 3, 3, 3, 3, 3, 3, 3}, {0, 1, 2, 3}},
        {{}, {1, 1, 1}, {0}},
    };
    for (const auto& [work, weights, cuts] : workCases)
        EXPECT_EQ(Cuts(SplitRowsByWork(work, weights)), cuts)
            << work.size() << " rows, " << weights.size() << " bands";
}

}  // namespace
}  // namespace orv
