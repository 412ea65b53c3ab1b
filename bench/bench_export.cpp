// The offline render at 800 x 600 and 60 fps, for the fire example and a dense effect of 20,000
// small sprites (bench/data/dense.orv):
// - its parts: simulating only, simulating and drawing (a whole RenderFrame), a frame of a
//   two-second seamless loop (every copy of the simulation stepped, the window's particles drawn),
//   and encoding one steady-state frame as PNG with each compression (ms per frame, and the
//   file's bytes);
// - whole renders of 180 frames: sequential with the default compression (the baseline),
//   pipelined (one encoder per hardware thread) with the default compression, and pipelined with
//   the fast one. After the run the speed-ups against the baseline are printed, and the files are
//   checked: the pipelined default ones byte for byte, the fast ones pixel for pixel.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "engine/random.h"
#include "engine/seamless_loop.h"
#include "engine/settings.h"
#include "engine/simulation.h"
#include "export/render_job.h"
#include "image/png_loader.h"
#include "image/png_writer.h"
#include "render/blend_tables.h"
#include "vesk/path_utils.h"

namespace {

using namespace orv;
namespace fs = std::filesystem;

constexpr double kStep = 1.0 / 60.0;
constexpr std::uint32_t kWidth = 800;
constexpr std::uint32_t kHeight = 600;
constexpr std::uint32_t kRenderSeconds = 3;  // 180 frames at 60 fps

// CMake compiles sources by their absolute path, so the effects are found next to this file.
const fs::path kRoot = fs::path(__FILE__).parent_path().parent_path();
const fs::path kEffects[] = {kRoot / "examples" / "fire.orv", kRoot / "bench" / "data" / "dense.orv"};
const char* const kEffectNames[] = {"fire", "dense"};

SettingsSnapshot Snapshot() {
    return SettingsSnapshot{kWidth, kHeight, 0, ProcessorHasSse2()};
}

void Load(Effect& effect, int which) {
    GetBlendTables();
    if (!LoadEffect(effect, vesk::FromNativePath(kEffects[which]), false).loaded) {
        std::fprintf(stderr, "cannot load %s\n", kEffects[which].c_str());
        std::exit(1);
    }
}

// An effect run for two seconds, so that every emitter is at its steady state.
struct WarmEffect {
    Effect effect;
    FrameBuffer frame{kWidth, kHeight};
    const SettingsSnapshot settings = Snapshot();

    explicit WarmEffect(int which) {
        Load(effect, which);
        effect.RestartAllEmitters(settings);
        for (int i = 0; i < 120; ++i) effect.RenderFrame(kStep, frame, settings);
    }
};

fs::path OutputFolder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / "orv_bench_export" / name;
    fs::create_directories(folder);
    return folder;
}

void BM_SimulateOnly(benchmark::State& state) {
    WarmEffect warm(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (std::size_t i = 0; i < warm.effect.Count(); ++i) {
            SetEmitterOrigin(warm.effect.EmitterAt(i), kWidth, kHeight);
            StepEmitter(warm.effect.EmitterAt(i), kStep, nullptr, false, warm.settings);
        }
    }
    state.SetLabel(kEffectNames[state.range(0)]);
}
BENCHMARK(BM_SimulateOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SimulateAndDraw(benchmark::State& state) {
    WarmEffect warm(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(warm.effect.RenderFrame(kStep, warm.frame, warm.settings));
    state.SetLabel(kEffectNames[state.range(0)]);
}
BENCHMARK(BM_SimulateAndDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A frame of a 120-frame loop after the default warm-up: the copies' steps cost what many steps
// cost, the drawing about what a settled frame's does.
void BM_LoopFrame(benchmark::State& state) {
    WarmEffect warm(static_cast<int>(state.range(0)));
    SeamlessLoop loop(warm.effect, warm.settings, kStep, DefaultLoopWarmUpSteps(warm.effect, kStep), 120,
                      [] { return false; });
    FrameDrawer drawer(1);
    for (auto _ : state) loop.RenderFrame(warm.frame, drawer);
    state.counters["copies"] = static_cast<double>(loop.CopyCount());
    state.SetLabel(kEffectNames[state.range(0)]);
}
BENCHMARK(BM_LoopFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Arguments: effect, compression.
void BM_EncodePng(benchmark::State& state) {
    const WarmEffect warm(static_cast<int>(state.range(0)));
    const auto compression = static_cast<PngCompression>(state.range(1));
    const fs::path file = OutputFolder("encode") / "frame.png";
    for (auto _ : state)
        benchmark::DoNotOptimize(SavePng(vesk::FromNativePath(file), warm.frame, compression));
    state.counters["bytes"] = static_cast<double>(fs::file_size(file));
    state.SetLabel(std::string(kEffectNames[state.range(0)]) + "/" +
                   std::string(PngCompressionName(compression)));
}
BENCHMARK(BM_EncodePng)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

class NoProgress final : public RenderProgress {
public:
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
    void Finish() override {}
};

// The three ways of rendering that are compared.
struct Mode {
    const char* name;
    unsigned threads;  // 1: sequential; 0: one encoder per hardware thread
    PngCompression compression;
};
constexpr Mode kModes[] = {{"sequential+default", 1, PngCompression::kDefault},
                           {"pipelined+default", 0, PngCompression::kDefault},
                           {"pipelined+fast", 0, PngCompression::kFast}};

std::string RenderFolderName(int effect, int mode) {
    return std::string(kEffectNames[effect]) + "_" + kModes[mode].name;
}

// Arguments: effect, mode. One iteration is a whole render of 180 frames from a fresh start.
void BM_Render180Frames(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const Mode& mode = kModes[state.range(1)];
    Effect effect;
    Load(effect, which);
    RenderJobConfig config;
    config.framesPerSecond = 60;
    config.seconds = kRenderSeconds;
    config.outputBasePath =
        vesk::FromNativePath(OutputFolder(RenderFolderName(which, static_cast<int>(state.range(1)))) / "f");
    config.settings = Snapshot();
    config.threads = mode.threads;
    config.compression = mode.compression;
    NoProgress progress;
    std::uint64_t frames = 0;
    for (auto _ : state) {
        // The generator is process-wide and never reseeded by the program: each render must start
        // from the same draws for its files to be compared with the baseline's.
        ResetRandomForTesting();
        const RenderResult result = RenderEffect(effect, config, progress, [] { return false; });
        if (result.failure) state.SkipWithError(result.failure->c_str());
        frames += result.framesWritten;
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.SetLabel(std::string(kEffectNames[which]) + "/" + mode.name);
}
BENCHMARK(BM_Render180Frames)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// Keeps the wall time of each whole render (the mean over repetitions when there are several), to
// print the speed-ups after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                Mean& mean = means[run.report_label];
                mean.total += run.GetAdjustedRealTime();
                ++mean.count;
                meanMilliseconds[run.report_label] = mean.total / mean.count;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> meanMilliseconds;  // by label "effect/mode"

private:
    struct Mean {
        double total = 0;
        int count = 0;
    };
    std::map<std::string, Mean> means;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Compares the files of two renders: byte for byte, or decoded pixel for pixel.
bool SameFrames(int effect, int modeA, int modeB, bool byBytes) {
    const fs::path a = OutputFolder(RenderFolderName(effect, modeA)),
                   b = OutputFolder(RenderFolderName(effect, modeB));
    for (std::uint64_t i = 0; i < kRenderSeconds * 60; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%06u.png", static_cast<unsigned>(i));
        const fs::path fileA = a / name, fileB = b / name;
        if (byBytes) {
            if (ReadFile(fileA) != ReadFile(fileB)) return false;
            continue;
        }
        const TexturePtr pa = LoadPng(vesk::FromNativePath(fileA)), pb = LoadPng(vesk::FromNativePath(fileB));
        if (!pa || !pb || pa->Width() != pb->Width() || pa->Height() != pb->Height()) return false;
        for (std::uint32_t y = 0; y < pa->Height(); ++y)
            for (std::uint32_t x = 0; x < pa->Width(); ++x)
                if (pa->colour->At(x, y) != pb->colour->At(x, y)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("\nWhole renders, 180 frames at 800 x 600, %u hardware threads, load average %.1f:\n",
                std::thread::hardware_concurrency(), load[0]);
    for (int effect = 0; effect < 2; ++effect) {
        const auto base =
            reporter.meanMilliseconds.find(std::string(kEffectNames[effect]) + "/" + kModes[0].name);
        if (base == reporter.meanMilliseconds.end()) continue;
        for (int mode = 0; mode < 3; ++mode) {
            const auto it =
                reporter.meanMilliseconds.find(std::string(kEffectNames[effect]) + "/" + kModes[mode].name);
            if (it == reporter.meanMilliseconds.end()) continue;
            const char* check = mode == 0 ? ""
                                : SameFrames(effect, 0, mode, mode == 1)
                                    ? (mode == 1 ? "  files identical" : "  pixels identical")
                                    : "  FILES DIFFER";
            std::printf("  %-6s %-20s %8.0f ms  %6.1f frames/s  x%.2f%s\n", kEffectNames[effect],
                        kModes[mode].name, it->second, kRenderSeconds * 60 * 1e3 / it->second,
                        base->second / it->second, check);
        }
    }
    benchmark::Shutdown();
    return 0;
}
