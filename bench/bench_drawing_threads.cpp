// Stepping and drawing examples/swarm.orv (four emitters of 5000 particles of about 14 pixels,
// 800 x 600) with the frame drawn on 1 and on 2 threads, in one run. Each case first runs the
// effect for five seconds so that every emitter is full. The frames are the same to the bit with
// any number of threads; the time per frame is what changes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "engine/settings.h"
#include "render/blend_tables.h"
#include "engine/frame_drawer.h"
#include "render/frame_buffer.h"
#include "vesk/path_utils.h"

namespace {

using namespace orv;

constexpr double kStep = 1.0 / 60.0;

// CMake compiles sources by their absolute path, so the examples are found next to this file.
std::filesystem::path SwarmPath() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "swarm.orv";
}

// The render job's frame: background colour with alpha, every emitter stepped and drawn.
void BM_SwarmRenderFrame(benchmark::State& state) {
    const auto threads = static_cast<std::uint32_t>(state.range(0));
    GetBlendTables();
    SettingsSnapshot settings;
    settings.sse2 = ProcessorHasSse2();
    settings.drawingThreads = threads;
    Effect effect;
    if (!LoadEffect(effect, vesk::FromNativePath(SwarmPath()), false).loaded) {
        state.SkipWithError("examples/swarm.orv cannot be read");
        return;
    }
    effect.RestartAllEmitters(settings);
    FrameBuffer frame(settings.frameWidth, settings.frameHeight);
    FrameDrawer drawer(threads);
    auto step = [&] { return effect.RenderFrame(kStep, frame, settings, drawer); };
    for (int i = 0; i < 300; ++i) step();

    std::int64_t sprites = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(step());
        for (std::size_t i = 0; i < effect.Count(); ++i) sprites += effect.EmitterAt(i).runtime.liveCount;
    }
    state.counters["sprites"] =
        benchmark::Counter(static_cast<double>(sprites), benchmark::Counter::kAvgIterations);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_SwarmRenderFrame)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
