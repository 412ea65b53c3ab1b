// The preview's seek: ten seconds of examples/fire.orv simulated at the fixed step of 1 / 60 s
// without drawing (what a seek to 10 s does before it shows the frame), against the baseline of
// the same ten seconds played in the preview, every step drawn into an 800 x 600 preview. The
// ratio is printed after the run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "editor/preview_tick.h"
#include "editor/preview_transport.h"
#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "engine/settings.h"
#include "render/blend_tables.h"
#include "vesk/path_utils.h"

namespace {

using namespace orv;

constexpr std::uint32_t kFps = 60;
constexpr double kSeconds = 10.0;
const std::filesystem::path kFire =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "fire.orv";

// Drawn on one thread, so the baseline does not depend on how busy the machine's other cores are.
SettingsSnapshot Snapshot() {
    return SettingsSnapshot{800, 600, 0, ProcessorHasSse2(), 0, 1};
}

void LoadFire(Effect& effect) {
    GetBlendTables();
    if (!LoadEffect(effect, vesk::FromNativePath(kFire), false).loaded) {
        std::fprintf(stderr, "cannot load %s\n", kFire.c_str());
        std::exit(1);
    }
}

void BM_PlayTenSecondsDrawn(benchmark::State& state) {
    Effect effect;
    LoadFire(effect);
    const SettingsSnapshot settings = Snapshot();
    FrameBuffer preview(settings.frameWidth, settings.frameHeight);
    PreviewTicker ticker([] { return 0u; });
    const TickInputs inputs{&preview, nullptr, u"", settings};
    for (auto _ : state) {
        effect.RestartAllEmitters(settings);
        for (std::uint64_t step = 0; step < StepsIn(kSeconds, kFps); ++step) ticker.Step(effect, inputs, 1.0 / kFps);
    }
}
BENCHMARK(BM_PlayTenSecondsDrawn)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SeekTenSeconds(benchmark::State& state) {
    Effect effect;
    LoadFire(effect);
    const SettingsSnapshot settings = Snapshot();
    for (auto _ : state) SimulateFromRestart(effect, settings, StepsIn(kSeconds, kFps), kFps);
}
BENCHMARK(BM_SeekTenSeconds)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's real time per iteration, averaged over its repetitions, for the ratio.
class TimesReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            auto& [sum, count] = totals_[run.benchmark_name()];
            sum += run.GetAdjustedRealTime();
            ++count;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Milliseconds(const std::string& name) const {
        const auto found = totals_.find(name);
        return found == totals_.end() ? 0 : found->second.first / found->second.second;
    }

private:
    std::map<std::string, std::pair<double, int>> totals_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double played = reporter.Milliseconds("BM_PlayTenSecondsDrawn/real_time");
    const double sought = reporter.Milliseconds("BM_SeekTenSeconds/real_time");
    if (played > 0 && sought > 0) {
        std::printf("seek to 10 s: %.1f ms, %.1f x faster than playing 10 s drawn (%.1f ms)\n", sought,
                    played / sought, played);
    }
    benchmark::Shutdown();
    return 0;
}
