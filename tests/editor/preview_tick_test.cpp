#include <gtest/gtest.h>

#include "editor/preview_tick.h"
#include "editor/settings_rules.h"
#include "engine/effect.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "image/texture.h"
#include "render/frame_composition.h"
#include "tests/editor/fake_clock.h"

namespace orv {
namespace {

constexpr std::uint32_t kWidth = 48;
constexpr std::uint32_t kHeight = 32;

// An opaque white square texture, so that the emitter draws.
void GiveSolidTexture(Emitter& emitter) {
    auto texture = std::make_unique<Texture>();
    texture->colour.emplace(8, 8);
    ClearFrame(*texture->colour, 0xFFFFFFFFu, false);
    emitter.texture.SetImage(std::move(texture));
}

class PreviewTickTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.sse2 = ProcessorHasSse2();
        preview_.Create(kWidth, kHeight);
        ClearFrame(preview_, 0x12345678u, false);
        // A fixed lifespan makes the particle count a function of the elapsed time alone.
        SetParam(effect_.EmitterAt(0), kLifespanVariance, 0);
    }
    TickInputs Inputs() { return {&preview_, image_.Empty() ? nullptr : &image_, u"", settings_}; }
    // Starts the timing, then ticks once `ms` later.
    TickResult SecondTick(PreviewTicker& ticker, std::uint32_t ms) {
        ticker.Tick(effect_, Inputs());
        clock_.Advance(ms);
        return ticker.Tick(effect_, Inputs());
    }

    SettingsSnapshot settings_{kWidth, kHeight};
    test::FakeClock clock_;
    Effect effect_;
    FrameBuffer preview_;
    FrameBuffer image_;
};

// A background image smaller than the frame leaves no trails of earlier frames beside it.
TEST_F(PreviewTickTest, FirstTickOnlyRecordsTheTimeThenStepsByElapsedSeconds) {
    image_.Create(kWidth / 2, kHeight / 2);
    ClearFrame(image_, 0xFF00FF00u, false);
    PreviewTicker ticker(clock_.Clock());
    const TickResult first = ticker.Tick(effect_, Inputs());
    EXPECT_FALSE(first.stepped);
    EXPECT_EQ(effect_.EmitterAt(0).runtime.liveCount, 0);
    EXPECT_EQ(preview_.At(0, 0), 0x12345678u) << "the first tick must not touch the preview";
    EXPECT_EQ(ticker.NextPeriodMs(first, 60), 16u);

    clock_.Advance(500);
    EXPECT_TRUE(ticker.Tick(effect_, Inputs()).stepped);
    Effect twinEffect;
    Emitter& twin = twinEffect.EmitterAt(0);
    SetParam(twin, kLifespanVariance, 0);
    StepEmitter(twin, 0.5, nullptr, true, {});
    EXPECT_GT(twin.runtime.liveCount, 0);
    EXPECT_EQ(effect_.EmitterAt(0).runtime.liveCount, twin.runtime.liveCount);
    EXPECT_EQ(preview_.At(0, 0), 0xFF00FF00u);
    EXPECT_EQ(preview_.At(kWidth - 1, kHeight - 1), effect_.BackgroundColour()) << "refilled beside the image";
}

TEST_F(PreviewTickTest, LayeredDrawingCompositesOnlyWhenSomethingDrew) {
    settings_.drawType = 1;
    effect_.SetBackgroundRaw(kBgR, 1000);
    effect_.SetBackgroundRaw(kBgA, 1000);  // work layer: opaque red
    image_.Create(kWidth, kHeight);
    ClearFrame(image_, 0xFF0000FFu, false);  // background image: blue

    PreviewTicker ticker(clock_.Clock());
    EXPECT_FALSE(SecondTick(ticker, 100).drawn);
    EXPECT_EQ(preview_.At(0, 0), 0xFF0000FFu) << "nothing drew, so the layer is not laid over the image";
    EXPECT_EQ(ticker.WorkBuffer().At(0, 0), 0xFFFF0000u);

    // Small sprites near the centre, so the corner shows the layer alone.
    for (std::size_t row : {kStartSize, kFinishSize}) SetParam(effect_.EmitterAt(0), row, 20);
    for (std::size_t row : {kStartSizeVariance, kFinishSizeVariance}) SetParam(effect_.EmitterAt(0), row, 0);
    GiveSolidTexture(effect_.EmitterAt(0));
    clock_.Advance(100);
    EXPECT_TRUE(ticker.Tick(effect_, Inputs()).drawn);
    // The opaque red layer over blue: d + floor((s - d) * 255 / 256) per channel.
    EXPECT_EQ(preview_.At(0, 0), 0xFFFE0000u);
}

TEST_F(PreviewTickTest, TitleEveryHundredTicksFromTheProcessingTime) {
    clock_.step = 1;  // every reading of the clock costs one millisecond
    PreviewTicker ticker(clock_.Clock());
    ticker.Tick(effect_, Inputs());
    for (int tick = 1; tick < 100; ++tick) {
        clock_.Advance(16);
        EXPECT_FALSE(ticker.Tick(effect_, Inputs()).title) << tick;
    }
    clock_.Advance(16);
    const TickResult hundredth =
        ticker.Tick(effect_, {&preview_, nullptr, u"/home/u/effects/fire.orv", settings_});
    ASSERT_TRUE(hundredth.title);
    EXPECT_EQ(*hundredth.title, u"orv - fire.orv - MAX FPS 1000\n");

    EXPECT_EQ(FrameRateTitle(u"", 250), u"orv - MAX FPS 250\n");
    EXPECT_EQ(FrameRateTitle(u"/tmp/a b/Smoke.ORV", 7), u"orv - Smoke.ORV - MAX FPS 7\n");
    EXPECT_EQ(MaxFrameRate(0), 100000u);
    EXPECT_EQ(MaxFrameRate(300), 333u);
}

TEST(PreviewTimer, PeriodsAimAtTheNextFrameSlot) {
    // An FSP outside the four rates (25, 0) runs at 60.
    for (auto [fsp, period] :
         {std::pair{60u, 16u}, {30u, 33u}, {20u, 50u}, {15u, 66u}, {25u, 16u}, {0u, 16u}})
        EXPECT_EQ(TimerPeriodMs(fsp), period) << fsp;

    EXPECT_EQ(NextTimerPeriod(1000, 1005, 16), 11u);
    EXPECT_EQ(NextTimerPeriod(1000, 1016, 16), 1u) << "at least 1 ms";
    EXPECT_EQ(NextTimerPeriod(1000, 1090, 16), 1u) << "an overrun re-arms at once";
    EXPECT_EQ(NextTimerPeriod(0xFFFFFFF0u, 0x00000002u, 66), 48u) << "across the clock's wrap-around";
}

TEST_F(PreviewTickTest, OpaqueSpritesArePaintedAndRepaintedAwayWhenTheyVanish) {
    GiveSolidTexture(effect_.EmitterAt(0));
    PreviewTicker ticker(clock_.Clock());
    const TickResult drawing = SecondTick(ticker, 200);
    EXPECT_TRUE(drawing.drawn);
    ASSERT_TRUE(drawing.repaint);
    bool painted = false;
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        for (std::uint32_t x = 0; x < kWidth; ++x) painted |= preview_.At(x, y) != effect_.BackgroundColour();
    }
    EXPECT_TRUE(painted);

    effect_.EmitterAt(0).texture.SetImage(nullptr);  // as after New: nothing draws any more
    clock_.Advance(16);
    const TickResult cleared = ticker.Tick(effect_, Inputs());
    EXPECT_FALSE(cleared.drawn);
    EXPECT_TRUE(cleared.repaint) << "the bare background must replace the last particles on screen";
    clock_.Advance(16);
    EXPECT_FALSE(ticker.Tick(effect_, Inputs()).repaint);
}

// The preview drawn on several threads shows what one thread shows, in both drawing modes, over a
// background image smaller than the frame.
TEST(PreviewTickThreads, BothDrawingModesShowTheSamePreviewOnAnyNumberOfThreads) {
    for (std::uint32_t drawType : {0u, 1u}) {
        std::vector<FrameBuffer> previews;
        for (std::uint32_t threads : {1u, 3u}) {
            ResetRandomForTesting();
            Effect effect;
            Emitter& emitter = effect.EmitterAt(0);
            GiveSolidTexture(emitter);
            SetParam(emitter, kXVariance, 300);
            SetParam(emitter, kStartRotVariance, 1800);
            effect.SetBackgroundRaw(kBgA, 500);
            FrameBuffer image(kWidth / 2, kHeight - 5);
            ClearFrame(image, 0xFF00FF00u, false);
            FrameBuffer preview(kWidth, kHeight);
            test::FakeClock clock;
            PreviewTicker ticker(clock.Clock());
            const SettingsSnapshot settings{kWidth, kHeight, 1, ProcessorHasSse2(), drawType, threads};
            for (int tick = 0; tick < 6; ++tick) {
                ticker.Tick(effect, {&preview, &image, u"", settings});
                clock.Advance(40);
            }
            previews.push_back(std::move(preview));
        }
        int differences = 0;
        for (std::uint32_t y = 0; y < kHeight; ++y) {
            for (std::uint32_t x = 0; x < kWidth; ++x)
                differences += previews[0].At(x, y) != previews[1].At(x, y);
        }
        EXPECT_EQ(differences, 0) << "draw type " << drawType;
    }
}

}  // namespace
}  // namespace orv
