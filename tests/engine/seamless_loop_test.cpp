#include "engine/seamless_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/emitter_drawing.h"
#include "engine/param_table.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

using Pixels = std::vector<std::uint32_t>;

// Sum of the channel differences of two frames.
std::uint64_t Difference(const Pixels& a, const Pixels& b) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            sum += std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
    return sum;
}

// Whether the seam (last frame to frame 0) goes further than the largest step between
// neighbouring frames.
bool SeamShows(const std::vector<Pixels>& frames, std::size_t length) {
    std::uint64_t largestStep = 0;
    for (std::size_t i = 0; i + 1 < length; ++i)
        largestStep = std::max(largestStep, Difference(frames[i], frames[i + 1]));
    return Difference(frames[length - 1], frames[0]) > largestStep;
}

struct Variant {
    const char* name;
    std::uint32_t sortType;
    // The second emitter's delay and duration in hundredths; a delay < 0: no second emitter.
    std::int32_t secondDelayRaw, secondDurationRaw;
    std::uint32_t framesPerSecond;
};

class SeamlessLoopTest : public ::testing::TestWithParam<Variant> {};

// Frames of one second: the loop's frame after the last is its frame 0 and its seam is no larger
// than a step, while the plain sequence from a restart shows its seam (the measure is not blind).
TEST_P(SeamlessLoopTest, FrameAfterTheLastIsFrameZeroAndTheSeamIsNoStep) {
    const Variant& variant = GetParam();
    Effect effect;
    SetSortType(effect.EmitterAt(0).params, variant.sortType);
    if (variant.secondDelayRaw >= 0) {
        Emitter* second = effect.AddEmitter(u"second");
        orv::SetParam(*second, kDelay, variant.secondDelayRaw);
        orv::SetParam(*second, kDuration, variant.secondDurationRaw);
        orv::SetParam(*second, kLifespan, 5);  // half a second
    }
    for (std::size_t i = 0; i < effect.Count(); ++i)
        effect.EmitterAt(i).texture.SetImage(test::SolidTexture(6, 6, 0x80FFC040));
    effect.SetSeed(3);
    const double dt = 1.0 / variant.framesPerSecond;
    const std::size_t length = variant.framesPerSecond;
    const SettingsSnapshot settings{96, 160};
    FrameBuffer frame(settings.frameWidth, settings.frameHeight);

    std::vector<Pixels> plain;
    effect.RestartAllEmitters(settings);
    for (std::size_t i = 0; i < length; ++i) {
        effect.RenderFrame(dt, frame, settings);
        plain.push_back(test::PixelsOf(frame));
    }
    EXPECT_TRUE(SeamShows(plain, length));

    SeamlessLoop loop(effect, settings, dt, DefaultLoopWarmUpSteps(effect, dt), length, [] { return false; });
    std::vector<Pixels> frames;
    FrameDrawer pool(2);
    for (std::size_t i = 0; i <= length; ++i) {
        loop.RenderFrame(frame, pool);
        frames.push_back(test::PixelsOf(frame));
    }
    EXPECT_EQ(frames[length], frames[0]);
    ASSERT_NE(frames[0], frames[1]) << "the effect moves";
    EXPECT_FALSE(SeamShows(frames, length));
    // Lifespans reach 4 s (2 ± 2), so the window's particles live on through several lengths;
    // no more copies are kept than those lives need.
    EXPECT_GE(loop.CopyCount(), 4u);
    EXPECT_LE(loop.CopyCount(), 6u);
}

INSTANTIATE_TEST_SUITE_P(Effects, SeamlessLoopTest,
                         ::testing::Values(Variant{"Unsorted", kSortNone, -1, 0, 30},
                                           Variant{"LargestOnTop", kSortScaleAscending, -1, 0, 15},
                                           Variant{"DelayedBurstsOver", kSortAgeDescending, 30, 20, 30}),
                         [](const auto& info) { return info.param.name; });

TEST(SeamlessLoop, DefaultWarmUpIsTheLongestLifeAndDelayRoundedUp) {
    Effect effect;  // lifespan 2.0 + variance 2.0
    EXPECT_EQ(DefaultLoopWarmUpSteps(effect, 1.0 / 30), 120u);
    Emitter* second = effect.AddEmitter(u"second");
    SetParam(*second, kLifespanVariance, 25);                  // 2.0 + 2.5
    SetParam(*second, kDelay, 101);                            // + 1.01 s
    EXPECT_EQ(DefaultLoopWarmUpSteps(effect, 1.0 / 15), 83u);  // 5.51 s x 15 = 82.65
}

}  // namespace
}  // namespace orv
