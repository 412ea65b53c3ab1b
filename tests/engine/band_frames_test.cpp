// Frames drawn on several threads are the frames of the one-thread step, to the bit: stepping
// keeps its order (random draws included) and every band draws what the whole frame would.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/effect.h"
#include "engine/frame_drawer.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "render/frame_composition.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

constexpr std::uint32_t kWidth = 97, kHeight = 61;

// A soft square: its edge texels half transparent, so blending shows.
TexturePtr SoftSquare() {
    auto texture = test::SolidTexture(12, 10, 0xFFE0A060u);
    for (std::uint32_t x = 0; x < 12; ++x)
        texture->colour->At(x, 0) = texture->colour->At(x, 9) = 0x80FFFFFFu;
    return texture;
}

// Three emitters over the frame and past its edges: additive and unturned; normal-blended,
// turning and sorted by size, bilinear; and one that waits in its delay between short bursts.
void BuildEffect(Effect& effect) {
    ResetRandomForTesting();
    effect.RemoveAllEmitters();
    for (int i = 0; i < 3; ++i) {
        auto emitter = effect.MakeDefaultEmitter();
        emitter->texture.SetImage(SoftSquare());
        // Enough particles that the updates are shared out over the threads, the first emitter's
        // in several pieces.
        SetParam(*emitter, kMaxParticles, i == 0 ? 4000 : 1200);
        SetParam(*emitter, kEmitterAngleVariance, 1800);
        SetParam(*emitter, kXVariance, 600);
        SetParam(*emitter, kYVariance, 400);
        if (i == 1) {
            emitter->params.blendingMode = kNormal;
            SetSortType(emitter->params, kSortScaleAscending);
            SetParam(*emitter, kStartRotVariance, 1800);
            SetParam(*emitter, kRotPerSec, 900);
            emitter->runtime.interpolation = 1;
        }
        if (i == 2) {
            SetParam(*emitter, kDelay, 10);
            SetParam(*emitter, kDuration, 15);
        }
        RestartEmitter(*emitter);
        RearmEmitter(*emitter, DurationSeconds(*emitter));
        effect.AppendEmitter(std::move(emitter), u"");
    }
}

// Eight frames at 15 per second, each made by `render`, and whether each drew.
template <class Render>
std::vector<std::pair<bool, std::vector<std::uint32_t>>> Record(Render render) {
    Effect effect;
    BuildEffect(effect);
    std::vector<std::pair<bool, std::vector<std::uint32_t>>> frames;
    for (int i = 0; i < 8; ++i) {
        FrameBuffer frame(kWidth, kHeight);
        const bool drawn = render(effect, frame);
        frames.emplace_back(drawn, test::PixelsOf(frame));
    }
    return frames;
}

TEST(BandFrames, RenderFramesOnAnyNumberOfThreadsAreTheStepByStepFrames) {
    for (bool sse2 : {false, true}) {
        const SettingsSnapshot settings{kWidth, kHeight, 0, sse2 && ProcessorHasSse2()};
        // The frame as one thread composes it: background, then each emitter stepped and drawn.
        const auto reference = Record([&](Effect& effect, FrameBuffer& frame) {
            ClearFrame(frame, effect.BackgroundColour(), settings.sse2);
            bool drawn = false;
            for (std::size_t i = 0; i < effect.Count(); ++i) {
                SetEmitterOrigin(effect.EmitterAt(i), kWidth, kHeight);
                drawn = StepEmitter(effect.EmitterAt(i), 1.0 / 15, &frame, false, settings) || drawn;
            }
            return drawn;
        });
        for (std::uint32_t threads : {1u, 2u, 3u, 7u}) {
            FrameDrawer pool(threads);
            const auto banded = Record([&](Effect& effect, FrameBuffer& frame) {
                return effect.RenderFrame(1.0 / 15, frame, settings, pool);
            });
            for (std::size_t i = 0; i < reference.size(); ++i) {
                EXPECT_TRUE(banded[i] == reference[i])
                    << "frame " << i << ", " << threads << " threads, sse2 " << sse2;
            }
        }
    }
}

}  // namespace
}  // namespace orv
