// Speed of the sprite rasterizer and of frame composition. The sprite cases do the work of
// ../shared/anchors/pixman_sprites.c (a 50 x 50 texture scaled to 16, 64 and 256-pixel sprites at
// random places in an 800 x 600 frame, constant alpha 0xC0), so the two can be read side by side;
// scripts/bench.sh runs both.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "render/avx2_rows.h"
#include "render/blend_tables.h"
#include "render/frame_buffer.h"
#include "render/frame_composition.h"
#include "render/sprite.h"

namespace {

using namespace orv;

constexpr std::uint32_t kFrameWidth = 800, kFrameHeight = 600, kTextureSize = 50;

FrameBuffer MakeTexture() {
    FrameBuffer texture(kTextureSize, kTextureSize);
    std::mt19937 random(1);
    for (std::uint32_t y = 0; y < kTextureSize; ++y) {
        for (std::uint32_t x = 0; x < kTextureSize; ++x) {
            const std::uint32_t a = random() & 0xFF;
            auto upTo = [&](std::uint32_t limit) {
                return static_cast<std::uint32_t>(random() % (limit + 1));
            };
            texture.At(x, y) = a << 24 | upTo(a) << 16 | upTo(a) << 8 | upTo(a);
        }
    }
    return texture;
}

FrameBuffer MakeFrame(bool opaque) {
    FrameBuffer frame(kFrameWidth, kFrameHeight);
    ClearFrame(frame, opaque ? 0xFF203040u : 0x40203040u, false);
    return frame;
}

void SetPixelCounters(benchmark::State& state, std::int64_t pixels) {
    state.counters["MPix/s"] =
        benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
    state.counters["ns/px"] = benchmark::Counter(static_cast<double>(pixels) * 1e-9,
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void FillRects(benchmark::State& state, SpriteVariantKey key, std::int32_t size) {
    const FrameBuffer texture = MakeTexture();
    FrameBuffer frame = MakeFrame(key.opaqueTarget);
    const TexelSampler sampler{&texture, kTextureSize - 1, kTextureSize - 1};
    const SpriteFills& fills = SelectSpriteFills(key);
    const SpriteTint tint{0xC0, 255, 255, 255};
    std::mt19937 random(2);
    std::int64_t pixels = 0;
    for (auto _ : state) {
        for (int i = 0; i < 64; ++i) {
            const auto x = static_cast<std::int32_t>(random() % (kFrameWidth - size));
            const auto y = static_cast<std::int32_t>(random() % (kFrameHeight - size));
            fills.fillRect(frame, AllRows(frame),
                           {x * 65536, y * 65536, (x + size) * 65536, (y + size) * 65536},
                           {0, 0, kTextureSize, kTextureSize}, tint, sampler);
        }
        pixels += std::int64_t{64} * size * size;
    }
    benchmark::DoNotOptimize(frame.At(0, 0));
    SetPixelCounters(state, pixels);
}

// A sprite turned by 30 degrees; pixels counted are those the quad covers (its area).
void FillQuads(benchmark::State& state, SpriteVariantKey key, std::int32_t size) {
    const FrameBuffer texture = MakeTexture();
    FrameBuffer frame = MakeFrame(key.opaqueTarget);
    const TexelSampler sampler{&texture, kTextureSize - 1, kTextureSize - 1};
    const SpriteFills& fills = SelectSpriteFills(key);
    const SpriteTint tint{0xC0, 255, 255, 255};
    const double c = std::cos(0.5235987755982988), s = std::sin(0.5235987755982988), h = size * 0.5;
    std::mt19937 random(3);
    std::int64_t pixels = 0;
    for (auto _ : state) {
        for (int i = 0; i < 64; ++i) {
            const double x = h * 1.5 + random() % static_cast<std::uint32_t>(kFrameWidth - 3 * h);
            const double y = h * 1.5 + random() % static_cast<std::uint32_t>(kFrameHeight - 3 * h);
            const double t = kTextureSize;
            const SpriteQuad quad{4,
                                  {{x - c * h + s * h, y - s * h - c * h, 0, 0},
                                   {x + c * h + s * h, y + s * h - c * h, t, 0},
                                   {x + c * h - s * h, y + s * h + c * h, t, t},
                                   {x - c * h - s * h, y - s * h + c * h, 0, t}}};
            fills.fillQuad(frame, AllRows(frame), quad, tint, sampler);
        }
        pixels += std::int64_t{64} * size * size;
    }
    benchmark::DoNotOptimize(frame.At(0, 0));
    SetPixelCounters(state, pixels);
}

void SetFrameBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFrameWidth * kFrameHeight * 4);
}

void Memcpy(benchmark::State& state) {
    std::vector<std::uint32_t> from(kFrameWidth * kFrameHeight, 1), to(kFrameWidth * kFrameHeight);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::ClobberMemory();
    }
    SetFrameBytes(state);
}

void Clear(benchmark::State& state, bool sse2) {
    FrameBuffer frame = MakeFrame(true);
    for (auto _ : state) {
        ClearFrame(frame, 0xFF102030u, sse2);
        benchmark::ClobberMemory();
    }
    SetFrameBytes(state);
}

void Copy(benchmark::State& state, bool sse2, bool composite) {
    FrameBuffer frame = MakeFrame(true);
    const FrameBuffer layer = MakeFrame(false);
    const PixelRect whole{0, 0, static_cast<std::int32_t>(kFrameWidth),
                          static_cast<std::int32_t>(kFrameHeight)};
    for (auto _ : state) {
        if (composite) {
            CompositeOver(frame, whole, layer, whole, sse2);
        } else {
            CopyRect(frame, whole, layer, whole, sse2);
        }
        benchmark::ClobberMemory();
    }
    SetFrameBytes(state);
}

// The sprite fills of one code path: "plain", "sse2" (16-byte rows only) or "avx2" (the SSE2
// path with its AVX2 rows, where the processor has them).
void RegisterFills(const std::string& family, SpriteVariantKey key, const std::string& path) {
    const bool avx2 = path == "avx2";
    key.sse2 = path != "plain";
    for (std::int32_t size : {16, 64, 256}) {
        benchmark::RegisterBenchmark(("rect/" + family + "/" + path + "/" + std::to_string(size)).c_str(),
                                     [=](benchmark::State& state) {
                                         EnableAvx2Rows(avx2);
                                         FillRects(state, key, size);
                                     })
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark(("quad/" + family + "/" + path + "/64").c_str(),
                                 [=](benchmark::State& state) {
                                     EnableAvx2Rows(avx2);
                                     FillQuads(state, key, 64);
                                 })
        ->UseRealTime();
}

void RegisterAll() {
    EnableAvx2Rows(true);
    const bool haveAvx2 = Avx2RowsEnabled();
    for (bool bilinear : {false, true}) {
        for (bool normal : {true, false}) {
            for (bool opaque : {true, false}) {
                const SpriteVariantKey key{bilinear, opaque, false, normal, false};
                const std::string family = std::string(bilinear ? "bilinear" : "nearest") + "/" +
                                           (normal ? "normal" : "add") + "/" + (opaque ? "opaque" : "alpha");
                RegisterFills(family, key, "plain");
                RegisterFills(family, key, "sse2");
                if (haveAvx2 && !bilinear && opaque) RegisterFills(family, key, "avx2");
            }
        }
    }
    benchmark::RegisterBenchmark("frame/memcpy", Memcpy);
    for (bool sse2 : {false, true}) {
        const std::string path = sse2 ? "sse2" : "plain";
        benchmark::RegisterBenchmark(("frame/clear/" + path).c_str(), Clear, sse2);
        benchmark::RegisterBenchmark(("frame/copy/" + path).c_str(), Copy, sse2, false);
        benchmark::RegisterBenchmark(("frame/composite/" + path).c_str(), Copy, sse2, true);
    }
}

}  // namespace

int main(int argc, char** argv) {
    GetBlendTables();
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
