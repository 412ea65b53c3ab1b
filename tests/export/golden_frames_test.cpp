// Golden frames: what every example looks like, pinned to the bit by the SHA-256 of its frames.
//
// Each example is rendered at the editor's default frame size, where every example's emitters lie
// in view, at 30 frames per second for one second; the frames between the pinned ones are stepped
// without drawing, as a seek does. A frame is drawn in four ways: the render job's
// (Effect::RenderFrame: transparent-target operations, the background's alpha kept) on the plain
// code path, and the preview's direct drawing onto an opaque background on the plain and the SSE2
// path with both samplers. The SSE2 path onto a target with alpha divides by the processor's
// approximate reciprocal, whose exact bits differ between processors, so it has no golden frames.
//
// After an intended change of the frames, regenerate the digests with
//   ORV_UPDATE_GOLDEN=1 build/dev/tests/export/test_export --gtest_filter='GoldenFrames.*'
// which rewrites tests/export/golden_frames.txt; look at the frames, then commit the new file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "render/frame_composition.h"
#include "tests/image/sha256.h"
#include "vesk/path_utils.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kWidth = SettingsSnapshot{}.frameWidth, kHeight = SettingsSnapshot{}.frameHeight;
constexpr int kFrames = 30;
constexpr int kPinnedFrames[] = {4, 14, 29};
const fs::path kGoldenFile = ORV_SOURCE_DIR "/tests/export/golden_frames.txt";

// The ways a frame is drawn, by their names in the golden file: the render job's or onto an opaque
// target, on the plain or the SSE2 code path, sampling textures at the nearest texel or bilinearly.
constexpr std::string_view kWays[] = {"render-plain-nearest", "opaque-plain-bilinear", "opaque-sse2-nearest",
                                      "opaque-sse2-bilinear"};

// The frame's memory, rows top to bottom, each pixel's bytes from the lowest.
std::string FrameDigest(const FrameBuffer& frame) {
    const std::size_t pixels = std::size_t{frame.Width()} * frame.Height();
    // The rows lie one after another.
    EXPECT_EQ(frame.Row(frame.Height() - 1) + frame.Width(), frame.Row(0) + pixels);
    return test::Sha256Hex({reinterpret_cast<const std::uint8_t*>(frame.Row(0)), pixels * 4});
}

// One frame the preview's way: the opaque background, then every emitter drawn straight onto it.
void DrawOpaqueFrame(Effect& effect, FrameBuffer& frame, const SettingsSnapshot& settings) {
    ClearFrame(frame, effect.BackgroundColour() | 0xFF000000u, settings.sse2);
    for (std::size_t i = 0; i < effect.Count(); ++i) {
        SetEmitterOrigin(effect.EmitterAt(i), settings.frameWidth, settings.frameHeight);
        StepEmitter(effect.EmitterAt(i), 1.0 / 30, &frame, true, settings);
    }
}

TEST(GoldenFrames, EveryExampleDrawsItsPinnedFrames) {
    // "example way frame" -> digest, for every example and way this processor can run.
    std::map<std::string, std::string> digests;
    for (const auto& entry : fs::directory_iterator(ORV_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".orv") continue;
        const std::string example = entry.path().stem().string();
        for (const std::string_view way : kWays) {
            const bool sse2 = way.find("sse2") != way.npos;
            if (sse2 && !ProcessorHasSse2()) continue;
            Effect effect;
            EXPECT_TRUE(LoadEffect(effect, vesk::FromNativePath(entry.path()), false).loaded);
            const SettingsSnapshot settings{kWidth, kHeight, way.ends_with("bilinear") ? 1u : 0u, sse2};
            ResetRandomForTesting();
            effect.RestartAllEmitters(settings);
            FrameBuffer frame(kWidth, kHeight);
            std::set<std::string> shown;  // an example whose pinned frames agree pins only its background
            for (int i = 0; i < kFrames; ++i) {
                if (std::count(std::begin(kPinnedFrames), std::end(kPinnedFrames), i) == 0) {
                    effect.SimulateFrame(1.0 / 30, settings);
                    continue;
                }
                if (way.starts_with("opaque"))
                    DrawOpaqueFrame(effect, frame, settings);
                else
                    effect.RenderFrame(1.0 / 30, frame, settings);
                const std::string digest = FrameDigest(frame);
                digests[example + ' ' + std::string(way) + ' ' + std::to_string(i)] = digest;
                shown.insert(digest);
            }
            EXPECT_EQ(shown.size(), std::size(kPinnedFrames)) << example << ' ' << way;
        }
    }

    if (std::getenv("ORV_UPDATE_GOLDEN") != nullptr) {
        std::ofstream out(kGoldenFile);
        for (const auto& [key, digest] : digests) out << key << ' ' << digest << '\n';
        GTEST_SKIP() << "rewrote " << kGoldenFile;
    }

    std::map<std::string, std::string> golden;
    std::ifstream in(kGoldenFile);
    // Every pinned frame is still rendered (a processor without SSE2 skips those ways only).
    for (std::string example, way, frame, digest; in >> example >> way >> frame >> digest;)
        if (ProcessorHasSse2() || way.find("sse2") == std::string::npos)
            golden[example + ' ' + way + ' ' + frame] = digest;
    for (const auto& [key, digest] : digests) EXPECT_EQ(digest, golden[key]) << key;
    EXPECT_EQ(digests.size(), golden.size());
}

}  // namespace
}  // namespace orv
