// StepEmitter at the capacity limit (8192 live particles), gravity and radial, with and without
// drawing into an 800 x 600 frame. The counters give nanoseconds per particle updated and per
// sprite drawn (the drawing figure includes the update).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "engine/emitter.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/simulation.h"
#include "image/texture.h"
#include "render/frame_buffer.h"

namespace {

using namespace orv;

constexpr double kStep = 1.0 / 60.0;
constexpr std::uint32_t kFrameWidth = 800;
constexpr std::uint32_t kFrameHeight = 600;

TexturePtr SoftDot() {
    auto texture = std::make_unique<Texture>();
    texture->colour.emplace(16, 16);
    for (std::uint32_t y = 0; y < 16; ++y) {
        for (std::uint32_t x = 0; x < 16; ++x) {
            const std::uint32_t alpha = (x == 0 || y == 0 || x == 15 || y == 15) ? 0x40 : 0xFF;
            texture->colour->At(x, y) = alpha << 24 | 0xFFE0C0;
        }
    }
    return texture;
}

// 8192 particles living 4 s each, spread over the frame so that most sprites are really drawn.
std::unique_ptr<Emitter> SaturatedEmitter(EmitterType type) {
    ResetRandomForTesting();
    auto emitter = std::make_unique<Emitter>();
    emitter->texture.SetImage(SoftDot());
    emitter->params.type = type;
    ApplyRawValues(*emitter);
    SetParam(*emitter, kMaxParticles, 8192);
    SetParam(*emitter, kLifespan, 40);
    SetParam(*emitter, kLifespanVariance, 0);
    SetParam(*emitter, kStartSize, 160);
    SetParam(*emitter, kStartSizeVariance, 40);
    SetParam(*emitter, kFinishSize, 120);
    SetParam(*emitter, kEmitterAngleVariance, 1800);
    SetParam(*emitter, kSpeed, 500);
    SetParam(*emitter, kSpeedVariance, 500);
    SetParam(*emitter, kYGravity, 5100);  // 10 px/s²
    SetParam(*emitter, kRadAcc, 4050);    // 5 px/s² outwards
    SetParam(*emitter, kMaxRadius, 2500);
    SetParam(*emitter, kMaxRadiusVariance, 500);
    SetParam(*emitter, kDegPerSec, 3690);  // 9 deg/s
    SetParam(*emitter, kDegPerSecVar, 450);
    RestartEmitter(*emitter);
    RearmEmitter(*emitter, 0);
    for (int i = 0; i < 300; ++i) {
        SetEmitterOrigin(*emitter, kFrameWidth, kFrameHeight);
        StepEmitter(*emitter, kStep, nullptr, true, {});
    }
    return emitter;
}

void RunSteps(benchmark::State& state, EmitterType type, bool draw) {
    const auto emitter = SaturatedEmitter(type);
    FrameBuffer frame(kFrameWidth, kFrameHeight);
    for (std::uint32_t y = 0; y < kFrameHeight; ++y) {
        for (std::uint32_t x = 0; x < kFrameWidth; ++x) frame.At(x, y) = 0xFF000000;
    }
    SettingsSnapshot settings;
    settings.sse2 = ProcessorHasSse2();
    std::int64_t particles = 0;
    for (auto _ : state) {
        SetEmitterOrigin(*emitter, kFrameWidth, kFrameHeight);
        benchmark::DoNotOptimize(StepEmitter(*emitter, kStep, draw ? &frame : nullptr, true, settings));
        particles += emitter->runtime.liveCount;
    }
    state.counters["live"] = emitter->runtime.liveCount;
    state.counters[draw ? "ns_per_sprite" : "ns_per_particle"] = benchmark::Counter(
        static_cast<double>(particles) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["sse2"] = settings.sse2 ? 1 : 0;
}

void BM_StepGravity(benchmark::State& state) {
    RunSteps(state, kGravity, false);
}
void BM_StepRadial(benchmark::State& state) {
    RunSteps(state, kRadial, false);
}
void BM_StepAndDrawGravity(benchmark::State& state) {
    RunSteps(state, kGravity, true);
}
void BM_StepAndDrawRadial(benchmark::State& state) {
    RunSteps(state, kRadial, true);
}

BENCHMARK(BM_StepGravity)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepRadial)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepAndDrawGravity)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepAndDrawRadial)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
