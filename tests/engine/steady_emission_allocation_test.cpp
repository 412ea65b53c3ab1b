// Steady emission must not touch the heap: the pool only grows, and dying particles are reused.
// This executable counts every global allocation to prove it.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <utility>

#include "engine/effect.h"
#include "engine/frame_drawer.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "tests/engine/engine_test_support.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
// The replacement pair is malloc and free by design; the compiler cannot see that new is ours.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
#pragma GCC diagnostic pop

namespace orv {
namespace {

// An emitter whose particles keep dying and being replaced.
void MakeSteady(Emitter& emitter, std::int32_t maxParticles) {
    emitter.texture.SetImage(test::SolidTexture(8, 8, 0xFFFFFFFF));
    SetParam(emitter, kMaxParticles, maxParticles);
    SetParam(emitter, kStartSize, 60);  // small sprites: the drawing is not what is measured
    SetParam(emitter, kFinishSize, 30);
    SetParam(emitter, kLifespan, 5);  // 0.5 s +- 2 s: many die young and are replaced
    SetParam(emitter, kRotPerSec, 12000);
    SetSortType(emitter.params, kSortScaleAscending);
    test::ApplyDefaults(emitter);
}

TEST(SteadyEmission, AllocatesNothing) {
    ResetRandomForTesting();
    Emitter emitter;
    MakeSteady(emitter, 1000);
    FrameBuffer frame = test::FilledImage(200, 150, 0xFF000000);

    auto step = [&] {
        SetEmitterOrigin(emitter, 200, 150);
        StepEmitter(emitter, 1.0 / 60, &frame, true, {});
    };
    for (int i = 0; i < 200; ++i) step();
    ASSERT_GT(emitter.runtime.liveCount, 300);

    // The counter does see the pool's growth: a cleared emitter's first birth allocates.
    Emitter growing;
    ApplyRawValues(growing);  // not restarted: a restart would make room for every particle
    RearmEmitter(growing, 0);
    const long beforeGrowth = g_allocations.load();
    StepEmitter(growing, 1.0 / 60, nullptr, true, {});
    EXPECT_EQ(std::pair(growing.runtime.liveCount, g_allocations.load() > beforeGrowth), std::pair(1, true));

    const long before = g_allocations.load();
    for (int i = 0; i < 300; ++i) step();
    EXPECT_EQ(g_allocations.load() - before, 0);
}

// The preview's and the render's way: every emitter of the effect stepped together, the
// particles shared out over threads.
TEST(SteadyEmission, AnEffectSteppedOnThreadsAllocatesNothing) {
    ResetRandomForTesting();
    Effect effect;
    effect.RemoveAllEmitters();
    for (std::int32_t maxParticles : {3000, 500}) {
        auto emitter = effect.MakeDefaultEmitter();
        MakeSteady(*emitter, maxParticles);
        effect.AppendEmitter(std::move(emitter), u"");
    }
    const FrameBuffer frame(200, 150);
    const SettingsSnapshot settings{200, 150, 0, false};
    FrameDrawer drawer(2);
    const TaskRunner tasks = drawer.Tasks();
    std::vector<const Emitter*> toDraw;
    toDraw.reserve(effect.Count());
    auto step = [&] { return effect.StepEmitters(1.0 / 60, &frame, settings, false, toDraw, tasks); };
    for (int i = 0; i < 200; ++i) step();
    ASSERT_GT(effect.EmitterAt(0).runtime.liveCount, 1024);

    const long before = g_allocations.load();
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(step());
    EXPECT_EQ(g_allocations.load() - before, 0);
}

}  // namespace
}  // namespace orv
