// Stepping and drawing examples/swarm.orv (four emitters of 5000 particles of about 14 pixels,
// 800 x 600) with the frame drawn on 1 and on 2 threads, in one run: as the render job draws it
// (a frame with alpha) and as the editor's preview draws it (one preview tick; the editor's
// MAX FPS is 1000 ms over this tick's time, less the repaint). Each case first runs the effect for
// five seconds so that every emitter is full. The frames are the same to the bit with any number
// of threads; the time per frame is what changes. The paced preview waits between ticks as the
// editor's 60 Hz timer does, so the drawing threads must wake for every frame.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <thread>

#include "editor/preview_tick.h"
#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "engine/frame_drawer.h"
#include "engine/settings.h"
#include "render/blend_tables.h"
#include "render/frame_buffer.h"
#include "vesk/path_utils.h"

namespace {

using namespace orv;

constexpr double kStep = 1.0 / 60.0;

// CMake compiles sources by their absolute path, so the examples are found next to this file.
std::filesystem::path SwarmPath() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "swarm.orv";
}

SettingsSnapshot Snapshot(std::uint32_t threads) {
    SettingsSnapshot settings;
    settings.sse2 = ProcessorHasSse2();
    settings.drawingThreads = threads;
    return settings;
}

bool LoadSwarm(Effect& effect, const SettingsSnapshot& settings, benchmark::State& state) {
    GetBlendTables();
    if (!LoadEffect(effect, vesk::FromNativePath(SwarmPath()), false).loaded) {
        state.SkipWithError("examples/swarm.orv cannot be read");
        return false;
    }
    effect.RestartAllEmitters(settings);
    return true;
}

// Times `step` after five seconds of it, counting the sprites drawn; `pause` is left untimed
// between steps.
template <class Step>
void MeasureFrames(benchmark::State& state, const Effect& effect, Step step,
                   std::chrono::milliseconds pause = std::chrono::milliseconds(0)) {
    for (int i = 0; i < 300; ++i) step();
    std::int64_t sprites = 0;
    for (auto _ : state) {
        if (pause.count() > 0) {
            state.PauseTiming();
            std::this_thread::sleep_for(pause);
            state.ResumeTiming();
        }
        step();
        for (std::size_t i = 0; i < effect.Count(); ++i) sprites += effect.EmitterAt(i).runtime.liveCount;
    }
    state.counters["sprites"] =
        benchmark::Counter(static_cast<double>(sprites), benchmark::Counter::kAvgIterations);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The render job's frame: background colour with alpha, every emitter stepped and drawn.
void BM_SwarmRenderFrame(benchmark::State& state) {
    const SettingsSnapshot settings = Snapshot(static_cast<std::uint32_t>(state.range(0)));
    Effect effect;
    if (!LoadSwarm(effect, settings, state)) return;
    FrameBuffer frame(settings.frameWidth, settings.frameHeight);
    FrameDrawer drawer(settings.drawingThreads);
    MeasureFrames(state, effect,
                  [&] { benchmark::DoNotOptimize(effect.RenderFrame(kStep, frame, settings, drawer)); });
}

// The preview's frame in the default drawing mode: background, emitters drawn onto it opaque;
// with the argument `pace`, that many milliseconds pass between ticks.
void BM_SwarmPreviewTick(benchmark::State& state) {
    const SettingsSnapshot settings = Snapshot(static_cast<std::uint32_t>(state.range(0)));
    Effect effect;
    if (!LoadSwarm(effect, settings, state)) return;
    FrameBuffer preview(settings.frameWidth, settings.frameHeight);
    PreviewTicker ticker([] { return 0u; });
    const TickInputs inputs{&preview, nullptr, u"", settings};
    MeasureFrames(
        state, effect, [&] { benchmark::DoNotOptimize(ticker.Step(effect, inputs, kStep)); },
        std::chrono::milliseconds(state.range(1)));
}

BENCHMARK(BM_SwarmRenderFrame)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SwarmPreviewTick)
    ->ArgNames({"threads", "pace"})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 10})
    ->Args({2, 10})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
