#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/emitter.h"
#include "engine/simulation.h"
#include "image/texture.h"
#include "render/frame_buffer.h"
#include "tests/render/render_test_support.h"

namespace orv::test {

// The pixels of a frame, row after row.
inline std::vector<std::uint32_t> PixelsOf(const FrameBuffer& frame) {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t y = 0; y < frame.Height(); ++y)
        pixels.insert(pixels.end(), frame.Row(y), frame.Row(y) + frame.Width());
    return pixels;
}

// A colour texture of one colour.
inline TexturePtr SolidTexture(std::uint32_t width, std::uint32_t height, std::uint32_t pixel) {
    auto texture = std::make_unique<Texture>();
    texture->colour.emplace(FilledImage(width, height, pixel));
    return texture;
}

// What the panel does for a fresh emitter: every row at its default, restarted, endless.
inline void ApplyDefaults(Emitter& emitter) {
    ApplyRawValues(emitter);
    RestartEmitter(emitter);
    RearmEmitter(emitter, 0);
}

}  // namespace orv::test
