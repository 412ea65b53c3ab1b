#include "engine/seamless_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/emitter_drawing.h"
#include "engine/param_table.h"
#include "engine/random.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

using Pixels = std::vector<std::uint32_t>;

Pixels PixelsOf(const FrameBuffer& frame) {
    Pixels pixels;
    for (std::uint32_t y = 0; y < frame.Height(); ++y)
        pixels.insert(pixels.end(), frame.Row(y), frame.Row(y) + frame.Width());
    return pixels;
}

// Sum of the channel differences of two frames.
std::uint64_t Difference(const Pixels& a, const Pixels& b) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int shift = 0; shift < 32; shift += 8)
            sum += std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
    }
    return sum;
}

// How far the seam (last frame to frame 0) and the largest step between neighbouring frames go.
struct Seam {
    std::uint64_t seam = 0, largestStep = 0;
};
Seam SeamOf(const std::vector<Pixels>& frames, std::size_t length) {
    Seam seam{Difference(frames[length - 1], frames[0]), 0};
    for (std::size_t i = 0; i + 1 < length; ++i)
        seam.largestStep = std::max(seam.largestStep, Difference(frames[i], frames[i + 1]));
    return seam;
}

struct Variant {
    const char* name;
    std::uint32_t sortType;
    std::int32_t secondDelayRaw;     // second emitter's delay in hundredths; < 0: no second emitter
    std::int32_t secondDurationRaw;  // and its duration
    std::uint32_t framesPerSecond;
};

class SeamlessLoopTest : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override {
        const Variant& variant = GetParam();
        SetSortType(effect_.EmitterAt(0).params, variant.sortType);
        if (variant.secondDelayRaw >= 0) {
            Emitter* second = effect_.AddEmitter(u"second");
            orv::SetParam(*second, kDelay, variant.secondDelayRaw);
            orv::SetParam(*second, kDuration, variant.secondDurationRaw);
            orv::SetParam(*second, kLifespan, 5);  // half a second
        }
        for (std::size_t i = 0; i < effect_.Count(); ++i)
            effect_.EmitterAt(i).texture.SetImage(test::SolidTexture(6, 6, 0x80FFC040));
        effect_.SetSeed(3);
    }

    double Dt() const { return 1.0 / GetParam().framesPerSecond; }

    // `count` frames of a loop of `length` frames.
    std::vector<Pixels> LoopFrames(std::uint64_t warmUp, std::uint64_t length, std::size_t count) {
        SeamlessLoop loop(effect_, settings_, Dt(), warmUp, length, [] { return false; });
        copies_ = loop.CopyCount();
        std::vector<Pixels> frames;
        FrameBuffer frame(settings_.frameWidth, settings_.frameHeight);
        FrameDrawer pool(2);
        for (std::size_t i = 0; i < count; ++i) {
            loop.RenderFrame(frame, pool);
            frames.push_back(PixelsOf(frame));
        }
        return frames;
    }

    Effect effect_;
    SettingsSnapshot settings_{96, 160};
    std::size_t copies_ = 0;
};

TEST_P(SeamlessLoopTest, FrameAfterTheLastIsFrameZeroAndTheSeamIsNoStep) {
    const std::uint64_t length = GetParam().framesPerSecond;  // one second
    const std::uint64_t warmUp = DefaultLoopWarmUpSteps(effect_, Dt());
    const std::vector<Pixels> frames = LoopFrames(warmUp, length, length + 1);
    EXPECT_EQ(Difference(frames[length], frames[0]), 0u);
    ASSERT_NE(frames[0], frames[1]) << "the effect moves";
    const Seam seam = SeamOf(frames, length);
    EXPECT_LE(seam.seam, seam.largestStep);
    // Lifespans reach 4 s (2 ± 2), so the window's particles live on through several lengths;
    // no more copies are kept than those lives need.
    EXPECT_GE(copies_, 4u);
    EXPECT_LE(copies_, 6u);
}

TEST_P(SeamlessLoopTest, ThePlainSequenceHasASeamTheMeasureSees) {
    // The same number of frames straight from the restart: the measure is not blind to a seam.
    const std::uint64_t length = GetParam().framesPerSecond;
    effect_.RestartAllEmitters(settings_);
    std::vector<Pixels> frames;
    FrameBuffer frame(settings_.frameWidth, settings_.frameHeight);
    for (std::uint64_t i = 0; i < length; ++i) {
        effect_.RenderFrame(Dt(), frame, settings_);
        frames.push_back(PixelsOf(frame));
    }
    const Seam seam = SeamOf(frames, length);
    EXPECT_GT(seam.seam, seam.largestStep);
}

TEST_P(SeamlessLoopTest, SimulatedFramesLeaveTheLaterFramesAsDrawnOnes) {
    const std::uint64_t length = GetParam().framesPerSecond / 2;
    const std::vector<Pixels> drawn = LoopFrames(3, length, 6);
    SeamlessLoop loop(effect_, settings_, Dt(), 3, length, [] { return false; });
    for (int i = 0; i < 4; ++i) loop.SimulateFrame();
    FrameBuffer frame(settings_.frameWidth, settings_.frameHeight);
    FrameDrawer pool(1);
    loop.RenderFrame(frame, pool);
    EXPECT_EQ(PixelsOf(frame), drawn[4]);
}

INSTANTIATE_TEST_SUITE_P(Effects, SeamlessLoopTest,
                         ::testing::Values(Variant{"Unsorted", kSortNone, -1, 0, 30},
                                           Variant{"OldestOnTop", kSortAgeAscending, -1, 0, 30},
                                           Variant{"LargestOnTop", kSortScaleAscending, -1, 0, 15},
                                           Variant{"DelayedBurstsOver", kSortAgeDescending, 30, 20, 30}),
                         [](const auto& info) { return info.param.name; });

TEST(SeamlessLoop, AStopWhileSettingUpLeavesNothingToStep) {
    Effect effect;
    int asked = 0;
    SeamlessLoop loop(effect, SettingsSnapshot{32, 32}, 1.0 / 60, 100, 60, [&] { return ++asked == 10; });
    EXPECT_TRUE(loop.Stopped());
    EXPECT_EQ(asked, 10);
}

TEST(SeamlessLoop, DefaultWarmUpIsTheLongestLifeAndDelayRoundedUp) {
    Effect effect;  // lifespan 2.0 + variance 2.0
    EXPECT_EQ(DefaultLoopWarmUpSteps(effect, 1.0 / 30), 120u);
    Emitter* second = effect.AddEmitter(u"second");
    SetParam(*second, kLifespanVariance, 25);  // 2.0 + 2.5
    SetParam(*second, kDelay, 101);            // + 1.01 s
    EXPECT_EQ(DefaultLoopWarmUpSteps(effect, 1.0 / 15), 83u);  // 5.51 s x 15 = 82.65
}

}  // namespace
}  // namespace orv
