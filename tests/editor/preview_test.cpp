// The preview: ticks on a hand-moved clock, drawing modes and threads, and the transport that
// plays, pauses, steps and seeks.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "editor/preview_tick.h"
#include "editor/preview_transport.h"
#include "editor/settings_rules.h"
#include "engine/effect.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "render/frame_composition.h"
#include "tests/editor/fake_clock.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

constexpr std::uint32_t kWidth = 64;
constexpr std::uint32_t kHeight = 48;
constexpr std::uint64_t kSeed = 977;

using test::PixelsOf;

// One run: an effect, a preview and a transport on a hand-moved clock. A run that draws has
// particles spread by random draws, so that any difference in the simulation or in the random
// sequence shows in the frame. A run that does not draw has a fixed lifespan instead, which makes
// the particle count a function of the elapsed time alone.
struct PreviewRun {
    explicit PreviewRun(bool drawing = true) {
        if (drawing) {
            effect.EmitterAt(0).texture.SetImage(test::SolidTexture(4, 4, 0xFFFFFFFFu));
            SetParam(effect.EmitterAt(0), kXVariance, 250);
            SetParam(effect.EmitterAt(0), kYVariance, 180);
            effect.SetSeed(kSeed);
        } else {
            SetParam(effect.EmitterAt(0), kLifespanVariance, 0);
            ClearFrame(preview, 0x12345678u, false);
        }
        effect.RestartAllEmitters(settings);
    }
    TickInputs Inputs() { return {&preview, image.Empty() ? nullptr : &image, u"", settings}; }
    // Ticks the transport, or `ticker` where given, after `ms` milliseconds each (the first tick
    // only starts the timing), with the clock running `speed` times as fast; the last tick's result.
    TickResult Play(std::initializer_list<std::uint32_t> intervals, PreviewTicker* ticker = nullptr,
                    double speed = 1) {
        const auto tick = [&] {
            return ticker ? ticker->Tick(effect, Inputs()) : transport.Tick(effect, Inputs(), false);
        };
        TickResult last = tick();
        for (std::uint32_t ms : intervals) {
            clock.Advance(static_cast<std::uint32_t>(ms * speed));
            last = tick();
        }
        return last;
    }
    // What the emitters show now, drawn by a ticker of its own.
    std::vector<std::uint32_t> Shown() {
        FrameBuffer frame(kWidth, kHeight);
        PreviewTicker(clock.Clock()).Redraw(effect, {&frame, nullptr, u"", settings});
        return PixelsOf(frame);
    }

    SettingsSnapshot settings{kWidth, kHeight, 0, ProcessorHasSse2()};
    test::FakeClock clock;
    Effect effect;
    FrameBuffer preview{kWidth, kHeight};
    FrameBuffer image;
    PreviewTransport transport{clock.Clock()};
};

TEST(PreviewTransportTest, EachSpeedStepsByTheElapsedTimeTimesTheSpeed) {
    for (std::size_t index = 0; index < kPreviewSpeeds.size(); ++index) {
        const double speed = kPreviewSpeeds[index];
        SCOPED_TRACE(speed);
        PreviewRun transported;
        ASSERT_TRUE(transported.transport.SetSpeedIndex(index));
        transported.Play({40, 40, 80, 40});

        // The plain tick of old, its clock running `speed` times as fast.
        PreviewRun plain;
        PreviewTicker ticker(plain.clock.Clock());
        plain.Play({40, 40, 80, 40}, &ticker, speed);
        EXPECT_EQ(PixelsOf(transported.preview), PixelsOf(plain.preview));
        // The time shows that both stepped; that this run shows particles is pinned by the new seed's
        // test, whose frames differ by seed.
        EXPECT_DOUBLE_EQ(transported.transport.Time(), 0.2 * speed);
    }
}

TEST(PreviewTransportTest, PausedTicksStepNothingAndRedrawOnlyWhenAsked) {
    PreviewRun run;
    run.Play({50, 50});
    const std::vector<std::uint32_t> shown = run.Shown();
    run.transport.SetPlaying(false);
    ClearFrame(run.preview, 0xFF123456u, false);

    run.clock.Advance(500);
    const TickResult idle = run.transport.Tick(run.effect, run.Inputs(), false);
    EXPECT_EQ(std::pair(idle.stepped, idle.repaint), std::pair(false, false));
    EXPECT_EQ(run.preview.At(0, 0), 0xFF123456u) << "an idle paused tick draws nothing";

    const TickResult redrawn = run.transport.Tick(run.effect, run.Inputs(), true);
    EXPECT_EQ(std::pair(redrawn.stepped, redrawn.repaint), std::pair(false, true));
    EXPECT_EQ(PixelsOf(run.preview), shown) << "the paused frame, drawn again";
    EXPECT_DOUBLE_EQ(run.transport.Time(), 0.1);

    // (An edit shows at once while paused:
    // TransportBarTest.TheBarShowsTheTimeSinceTheRestartSeeksAndEditsShowWhilePaused.)

    // Playing again: the pause is not stepped over; the tick after it steps by its own interval.
    run.transport.SetPlaying(true);
    run.clock.Advance(3000);
    EXPECT_FALSE(run.transport.Tick(run.effect, run.Inputs(), false).stepped);
    run.clock.Advance(16);
    EXPECT_DOUBLE_EQ(run.transport.Tick(run.effect, run.Inputs(), false).seconds, 0.016);
}

// With a seed, a seek, or as many steps of one frame each while paused, show the moment a render
// reaches in as many frames: the same particles, and the same random draws next. Redraws between
// the steps change neither.
TEST(PreviewTransportTest, ASeekOrStepsShowTheStateOfTheRenderAtThatTime) {
    PreviewRun rendered;
    FrameBuffer frame(kWidth, kHeight);
    for (int i = 0; i < 45; ++i) rendered.effect.RenderFrame(1.0 / 60, frame, rendered.settings);
    const std::uint32_t nextDraw = NextRandom();

    // (A seek straight after the start is the easier case of this one.)
    PreviewRun sought;
    sought.Play({100, 250, 16});
    const TickResult seek = sought.transport.Seek(sought.effect, sought.Inputs(), 0.75, 60);
    EXPECT_EQ(std::tuple(seek.repaint, sought.transport.Playing(), sought.transport.Time()),
              std::tuple(true, false, 0.75));
    EXPECT_EQ(PixelsOf(sought.preview), rendered.Shown());

    PreviewRun stepped;
    EXPECT_FALSE(stepped.transport.StepFrame(stepped.effect, stepped.Inputs(), 60).stepped) << "playing";
    stepped.transport.SetPlaying(false);
    for (int i = 0; i < 45; ++i) {
        stepped.transport.Redraw(stepped.effect, stepped.Inputs());
        stepped.transport.Tick(stepped.effect, stepped.Inputs(), true);
        const TickResult step = stepped.transport.StepFrame(stepped.effect, stepped.Inputs(), 60);
        ASSERT_EQ(std::tuple(step.stepped, step.repaint, step.seconds), std::tuple(true, true, 1.0 / 60));
    }
    EXPECT_EQ(NextRandom(), nextDraw);
    EXPECT_NEAR(stepped.transport.Time(), 0.75, 1e-12);
    EXPECT_EQ(PixelsOf(stepped.preview), rendered.Shown());
}

TEST(PreviewTransportTest, SeekTimesAreHeldToTheLengthAndRoundedToSteps) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // The length, the time asked for, the frame rate, the time reached.
    using Case = std::tuple<double, double, std::uint32_t, double>;
    for (const auto& [length, seconds, fps, time] :
         {Case{10, 20, 60, 10}, Case{10, -3, 60, 0}, Case{10, nan, 60, 0}, Case{10, 0.0251, 60, 2.0 / 60},
          Case{10, 0.03, 20, 0.05}, Case{2.5, 2.49, 30, 2.5}, Case{10, 1.0 / 120, 60, 1.0 / 60}}) {
        SCOPED_TRACE(seconds);
        PreviewRun run;
        ASSERT_TRUE(run.transport.SetSeekLength(length));
        run.transport.Seek(run.effect, run.Inputs(), seconds, fps);
        EXPECT_DOUBLE_EQ(run.transport.Time(), time);
    }
    PreviewRun run;
    for (double length : {0.0, -1.0, nan, kMaxSeekLength + 1})
        EXPECT_FALSE(run.transport.SetSeekLength(length)) << length;
    EXPECT_EQ(run.transport.SeekLength(), 10.0);
    EXPECT_TRUE(run.transport.SetSeekLength(kMaxSeekLength));
    EXPECT_FALSE(run.transport.SetSpeedIndex(kPreviewSpeeds.size()));
    EXPECT_EQ(run.transport.Speed(), 1.0);
}

TEST(PreviewTransportTest, RestartingWithASeedReplaysTheSameFrames) {
    for (bool playing : {true, false}) {
        SCOPED_TRACE(playing);
        PreviewRun run;
        run.Play({40, 40, 40});
        const std::vector<std::uint32_t> first = run.Shown();
        run.transport.SetPlaying(playing);
        const TickResult restart = run.transport.Restart(run.effect, run.Inputs());
        // Paused, the empty start is shown at once.
        EXPECT_EQ(std::pair(run.transport.Time(), restart.repaint), std::pair(0.0, !playing));
        run.transport.SetPlaying(true);
        run.Play({40, 40, 40});
        EXPECT_EQ(run.Shown(), first);
        EXPECT_DOUBLE_EQ(run.transport.Time(), 0.12);
    }
}

TEST(PreviewTransportTest, ANewSeedRestartsPlayingAndSeeksThePausedMomentAgain) {
    PreviewRun reference;  // seed 5, 0.5 s from the restart
    reference.effect.SetSeed(5);
    reference.transport.Seek(reference.effect, reference.Inputs(), 0.5, 60);
    const std::vector<std::uint32_t> seedFiveAtHalf = reference.Shown();

    PreviewRun paused;
    paused.transport.FollowSeed(paused.effect, paused.Inputs(), 60);  // sees kSeed
    paused.transport.Seek(paused.effect, paused.Inputs(), 0.5, 60);
    EXPECT_NE(paused.Shown(), seedFiveAtHalf);
    EXPECT_FALSE(paused.transport.FollowSeed(paused.effect, paused.Inputs(), 60).repaint) << "same seed";
    paused.effect.SetSeed(5);
    EXPECT_TRUE(paused.transport.FollowSeed(paused.effect, paused.Inputs(), 60).repaint);
    EXPECT_EQ(paused.Shown(), seedFiveAtHalf);
    EXPECT_DOUBLE_EQ(paused.transport.Time(), 0.5);

    PreviewRun playing;
    playing.transport.FollowSeed(playing.effect, playing.Inputs(), 60);
    playing.Play({40, 40});
    playing.effect.SetSeed(std::nullopt);
    playing.transport.FollowSeed(playing.effect, playing.Inputs(), 60);
    // Restarted, and still playing.
    EXPECT_EQ(std::tuple(playing.transport.Time(), playing.transport.Playing(),
                         playing.effect.EmitterAt(0).runtime.liveCount),
              std::tuple(0.0, true, 0));
}

// The plain ticker, on an emitter without a texture.
struct PreviewTickTest : ::testing::Test, PreviewRun {
    PreviewTickTest() : PreviewRun(false) {}
};

// A background image smaller than the frame leaves no trails of earlier frames beside it.
TEST_F(PreviewTickTest, FirstTickOnlyRecordsTheTimeThenStepsByElapsedSeconds) {
    image = test::FilledImage(kWidth / 2, kHeight / 2, 0xFF00FF00u);
    PreviewTicker ticker(clock.Clock());
    const TickResult first = ticker.Tick(effect, Inputs());
    // Nothing stepped, and the preview untouched.
    EXPECT_EQ(std::tuple(first.stepped, effect.EmitterAt(0).runtime.liveCount, preview.At(0, 0)),
              std::tuple(false, 0, 0x12345678u));
    EXPECT_EQ(ticker.NextPeriodMs(first, 60), 16u);

    clock.Advance(500);
    EXPECT_TRUE(ticker.Tick(effect, Inputs()).stepped);
    PreviewRun twin(false);
    StepEmitter(twin.effect.EmitterAt(0), 0.5, nullptr, true, {});
    EXPECT_GT(effect.EmitterAt(0).runtime.liveCount, 0);
    EXPECT_EQ(effect.EmitterAt(0).runtime.liveCount, twin.effect.EmitterAt(0).runtime.liveCount);
    // The image, and the background refilled beside it.
    EXPECT_EQ(std::tuple(preview.At(0, 0), preview.At(kWidth - 1, kHeight - 1)),
              std::tuple(0xFF00FF00u, effect.BackgroundColour()));
}

TEST_F(PreviewTickTest, LayeredDrawingCompositesOnlyWhenSomethingDrew) {
    settings.drawType = 1;
    for (std::size_t row : {kBgR, kBgA}) effect.SetBackgroundRaw(row, 1000);  // work layer: opaque red
    image = test::FilledImage(kWidth, kHeight, 0xFF0000FFu);                  // background image: blue

    PreviewTicker ticker(clock.Clock());
    EXPECT_FALSE(Play({100}, &ticker).drawn);
    EXPECT_EQ(preview.At(0, 0), 0xFF0000FFu) << "nothing drew, so the layer is not laid over the image";
    EXPECT_EQ(ticker.WorkBuffer().At(0, 0), 0xFFFF0000u);

    // Small sprites near the centre, so the corner shows the layer alone.
    for (std::size_t row : {kStartSize, kFinishSize}) SetParam(effect.EmitterAt(0), row, 20);
    for (std::size_t row : {kStartSizeVariance, kFinishSizeVariance}) SetParam(effect.EmitterAt(0), row, 0);
    effect.EmitterAt(0).texture.SetImage(test::SolidTexture(8, 8, 0xFFFFFFFFu));  // draws
    clock.Advance(100);
    EXPECT_TRUE(ticker.Tick(effect, Inputs()).drawn);
    // The opaque red layer over blue: d + floor((s - d) * 255 / 256) per channel.
    EXPECT_EQ(preview.At(0, 0), 0xFFFE0000u);
}

TEST_F(PreviewTickTest, TitleEveryHundredTicksFromTheProcessingTime) {
    clock.step = 1;  // every reading of the clock costs one millisecond
    PreviewTicker ticker(clock.Clock());
    ticker.Tick(effect, Inputs());
    for (int tick = 1; tick < 100; ++tick) {
        clock.Advance(16);
        EXPECT_FALSE(ticker.Tick(effect, Inputs()).title) << tick;
    }
    clock.Advance(16);
    EXPECT_EQ(ticker.Tick(effect, {&preview, nullptr, u"/home/u/effects/fire.orv", settings}).title,
              std::u16string(u"orv - fire.orv - MAX FPS 1000\n"));
    // The title's other forms, and MaxFrameRate(0) as 100000, are the window's:
    // UndoTest.TheMenuNamesTheStepsAndTheTitleMarksUnsavedChangesUntilSavedOrUndone.
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
    effect.EmitterAt(0).texture.SetImage(test::SolidTexture(8, 8, 0xFFFFFFFFu));  // draws
    PreviewTicker ticker(clock.Clock());
    const TickResult drawing = Play({200}, &ticker);
    ASSERT_EQ(std::pair(drawing.drawn, drawing.repaint), std::pair(true, true));
    EXPECT_NE(PixelsOf(preview), PixelsOf(test::FilledImage(kWidth, kHeight, effect.BackgroundColour())));

    effect.EmitterAt(0).texture.SetImage(nullptr);  // as after New: nothing draws any more
    clock.Advance(16);
    const TickResult cleared = ticker.Tick(effect, Inputs());
    // The bare background must replace the last particles on screen.
    EXPECT_EQ(std::pair(cleared.drawn, cleared.repaint), std::pair(false, true));
    clock.Advance(16);
    EXPECT_FALSE(ticker.Tick(effect, Inputs()).repaint);
}

// The preview drawn on several threads shows what one thread shows, in both drawing modes, over a
// background image smaller than the frame.
TEST(PreviewTickThreads, BothDrawingModesShowTheSamePreviewOnAnyNumberOfThreads) {
    for (std::uint32_t drawType : {0u, 1u}) {
        std::vector<std::vector<std::uint32_t>> previews;
        for (std::uint32_t threads : {1u, 3u}) {
            PreviewRun run;
            SetParam(run.effect.EmitterAt(0), kStartRotVariance, 1800);
            run.effect.SetBackgroundRaw(kBgA, 500);
            run.settings = {kWidth, kHeight, 1, ProcessorHasSse2(), drawType, threads};
            run.image = test::FilledImage(kWidth / 2, kHeight - 5, 0xFF00FF00u);
            PreviewTicker ticker(run.clock.Clock());
            run.Play({40, 40, 40, 40, 40}, &ticker);
            previews.push_back(PixelsOf(run.preview));
        }
        EXPECT_EQ(previews[0], previews[1]) << "draw type " << drawType;
    }
}

}  // namespace
}  // namespace orv
