// The offline render of an example effect at 800 x 600 and 60 fps, split into its parts:
// simulating only, simulating and drawing (a whole RenderFrame), and encoding one frame as PNG;
// and the whole render job writing one second of frames, whose counter is frames per second.
// The effect is first run for two seconds so that every emitter is at its steady state.

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>

#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "engine/settings.h"
#include "engine/simulation.h"
#include "export/render_job.h"
#include "image/png_writer.h"
#include "image/texture.h"
#include "render/blend_tables.h"
#include "vesk/path_utils.h"

namespace {

using namespace orv;

constexpr double kStep = 1.0 / 60.0;
constexpr std::uint32_t kWidth = 800;
constexpr std::uint32_t kHeight = 600;
// CMake compiles sources by their absolute path, so the examples are found next to this file.
std::filesystem::path ExamplePath() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "fire.orv";
}

struct WarmEffect {
    Effect effect;
    Texture frame;
    const SettingsSnapshot settings{kWidth, kHeight, 0, ProcessorHasSse2()};

    WarmEffect() {
        GetBlendTables();
        LoadEffect(effect, vesk::FromNativePath(ExamplePath()), false);
        effect.RestartAllEmitters(settings);
        frame.colour.emplace(kWidth, kHeight);
        for (int i = 0; i < 120; ++i) effect.RenderFrame(kStep, *frame.colour, settings);
    }
};

std::filesystem::path OutputFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "orv_bench_export";
    std::filesystem::create_directories(folder);
    return folder;
}

void BM_SimulateOnly(benchmark::State& state) {
    WarmEffect warm;
    for (auto _ : state) {
        for (std::size_t i = 0; i < warm.effect.Count(); ++i) {
            SetEmitterOrigin(warm.effect.EmitterAt(i), kWidth, kHeight);
            StepEmitter(warm.effect.EmitterAt(i), kStep, nullptr, false, warm.settings);
        }
    }
}
BENCHMARK(BM_SimulateOnly)->Unit(benchmark::kMillisecond);

void BM_SimulateAndDraw(benchmark::State& state) {
    WarmEffect warm;
    for (auto _ : state) benchmark::DoNotOptimize(warm.effect.RenderFrame(kStep, *warm.frame.colour, warm.settings));
}
BENCHMARK(BM_SimulateAndDraw)->Unit(benchmark::kMillisecond);

void BM_EncodePng(benchmark::State& state) {
    WarmEffect warm;
    const std::u16string path = vesk::FromNativePath(OutputFolder() / "encode.png");
    for (auto _ : state) benchmark::DoNotOptimize(SavePng(path, warm.frame));
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

class EndWaiter final : public RenderProgress {
public:
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
    void Finish() override {
        const std::lock_guard<std::mutex> lock(mutex_);
        ended_ = true;
        cv_.notify_all();
    }
    void Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [this] { return ended_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool ended_ = false;
};

void BM_RenderJobOneSecond(benchmark::State& state) {
    WarmEffect warm;
    const std::u16string base = vesk::FromNativePath(OutputFolder() / "frame");
    std::uint64_t frames = 0;
    for (auto _ : state) {
        EndWaiter waiter;
        CRenderThread job(warm.effect, waiter, RenderJobConfig{60, base, 1, warm.settings});
        job.Start();
        waiter.Wait();
        job.Stop();
        frames += job.FramesWritten();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderJobOneSecond)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
