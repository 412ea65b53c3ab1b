#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "render/avx2_rows.h"
#include "render/frame_buffer.h"
#include "render/sprite.h"

namespace orv::test {

// Runs `check` once with the SSE2 code path's 16-byte rows and once more with its AVX2 rows where
// the processor has them, leaving the choice as it was.
template <class Check>
void ForEachRowWidth(Check check) {
    const bool enabled = Avx2RowsEnabled();
    for (const bool avx2 : {false, true}) {
        EnableAvx2Rows(avx2);
        if (avx2 && !Avx2RowsEnabled()) break;
        SCOPED_TRACE(avx2 ? "AVX2 rows" : "16-byte rows");
        check();
    }
    EnableAvx2Rows(enabled);
}

template <class Word>
FrameBuffer MakeImage(std::uint32_t width, std::uint32_t height, Word word) {
    FrameBuffer image(width, height);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) image.At(x, y) = word(x, y);
    return image;
}

inline FrameBuffer RandomImage(std::uint32_t width, std::uint32_t height, std::mt19937& random) {
    return MakeImage(width, height, [&](auto, auto) { return static_cast<std::uint32_t>(random()); });
}

inline FrameBuffer FilledImage(std::uint32_t width, std::uint32_t height, std::uint32_t word) {
    return MakeImage(width, height, [word](auto, auto) { return word; });
}

// A texture whose texel at (x, y) is 0xFF000000 | (x + 1) << 8 | (y + 1). Drawn untinted at full
// alpha over black (channel c becomes (c * 254) >> 8 = c - 1 for c up to 128), a pixel's green
// byte is the column and its blue byte the row of the texel it sampled.
inline FrameBuffer CoordinateTexture(std::uint32_t width, std::uint32_t height) {
    return MakeImage(width, height, [](auto x, auto y) { return 0xFF000000u | (x + 1) << 8 | (y + 1); });
}

// The variant of index `bits`, selectors from the most significant bit: bilinear, with alpha,
// SSE2, normal blending, tinted.
inline SpriteVariantKey KeyOf(unsigned bits) {
    return {(bits & 16) != 0, (bits & 8) == 0, (bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
}

inline TexelSampler SamplerFor(const FrameBuffer& texture) {
    return {&texture, std::int32_t(texture.Width()) - 1, std::int32_t(texture.Height()) - 1};
}

inline FixedRect FixedFromPixels(double left, double top, double right, double bottom) {
    const auto fixed = [](double pixels) { return static_cast<std::int32_t>(pixels * 65536.0); };
    return {fixed(left), fixed(top), fixed(right), fixed(bottom)};
}

// Pixels of `b` that differ from `a` (same size).
inline int Differences(const FrameBuffer& a, const FrameBuffer& b) {
    int count = 0;
    for (std::uint32_t y = 0; y < a.Height(); ++y)
        for (std::uint32_t x = 0; x < a.Width(); ++x) count += a.At(x, y) != b.At(x, y);
    return count;
}

// Random sprites over a `width` x `height` frame: rectangles and rotated quads with centres a
// little beyond the frame, sizes from below a pixel to `maxHalfSize` each way, some mirrored, some
// quads with their vertices on whole rows and columns (rows through a vertex have one crossing).
enum class SpriteKinds { kBoth, kRectangles, kQuads };
struct SceneSprite {
    std::size_t texture = 0;
    bool rotated = false;
    FixedRect dest;
    SpriteQuad quad;
    TexelRect source;
    SpriteTint tint;
};
struct Scene {
    std::vector<FrameBuffer> textures;
    std::vector<SceneSprite> sprites;

    void Draw(const SpriteFills& fills, FrameBuffer& target, const RowBand& band) const {
        for (const SceneSprite& sprite : sprites) {
            const TexelSampler sampler = SamplerFor(textures[sprite.texture]);
            if (sprite.rotated)
                fills.fillQuad(target, band, sprite.quad, sprite.tint, sampler);
            else
                fills.fillRect(target, band, sprite.dest, sprite.source, sprite.tint, sampler);
        }
    }
};

inline Scene RandomScene(std::uint32_t width, std::uint32_t height, std::mt19937& random, int count = 24,
                         SpriteKinds kinds = SpriteKinds::kBoth, double maxHalfSize = 14) {
    auto between = [&](double low, double high) { return std::uniform_real_distribution(low, high)(random); };
    auto whole = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
    Scene scene;
    for (int i = 0; i < 3; ++i) scene.textures.push_back(RandomImage(whole(1, 32), whole(1, 32), random));
    for (int i = 0; i < count; ++i) {
        SceneSprite sprite;
        sprite.texture = whole(0, 2);
        const int w = scene.textures[sprite.texture].Width(), h = scene.textures[sprite.texture].Height();
        TexelRect& r = sprite.source = {whole(0, w - 1), whole(0, h - 1), 0, 0};
        r.right = whole(r.left + 1, w);
        r.bottom = whole(r.top + 1, h);
        if (whole(0, 7) == 0) std::swap(r.top, r.bottom);
        if (whole(0, 7) == 0) std::swap(r.left, r.right);
        std::uniform_int_distribution<std::uint32_t> byte(0, 255);
        sprite.tint = {byte(random), byte(random), byte(random), byte(random)};
        double x = between(-6, width + 6.0), y = between(-6, height + 6.0);
        double halfWidth = between(0.05, maxHalfSize), halfHeight = between(0.05, maxHalfSize);
        sprite.rotated = kinds == SpriteKinds::kBoth ? whole(0, 2) == 0 : kinds == SpriteKinds::kQuads;
        if (!sprite.rotated) {
            sprite.dest = FixedFromPixels(x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight);
        } else {
            double angle = between(-4, 4);
            if (whole(0, 3) == 0) {
                x = std::round(x), y = std::round(y), halfWidth = std::ceil(halfWidth);
                halfHeight = std::ceil(halfHeight), angle = 1.5707963267948966 * whole(1, 3);
            }
            const double c = std::cos(angle), s = std::sin(angle);
            const double cw = c * halfWidth, sw = s * halfWidth, ch = c * halfHeight, sh = s * halfHeight;
            sprite.quad = {4,
                           {{x - cw + sh, y - sw - ch, double(r.left), double(r.top)},
                            {x + cw + sh, y + sw - ch, double(r.right), double(r.top)},
                            {x + cw - sh, y + sw + ch, double(r.right), double(r.bottom)},
                            {x - cw - sh, y - sw + ch, double(r.left), double(r.bottom)}}};
        }
        scene.sprites.push_back(sprite);
    }
    return scene;
}

// A target whose rows sit inside a larger block, with guard words around every row, so that
// writes outside the frame are seen.
class GuardedTarget {
public:
    static constexpr std::uint32_t kGuard = 0xDEADBEEFu;
    // A copy of `start`.
    explicit GuardedTarget(const FrameBuffer& start)
        : pitch_(start.Width() + 8),
          memory_(static_cast<std::size_t>(pitch_) * (start.Height() + 2), kGuard) {
        view_.View(memory_.data() + pitch_ + 4, start.Width(), start.Height(), pitch_);
        for (std::uint32_t y = 0; y < start.Height(); ++y)
            std::copy_n(start.Row(y), start.Width(), view_.Row(y));
    }
    FrameBuffer& Frame() { return view_; }
    bool GuardsIntact() const {
        std::vector<std::uint32_t> guards = memory_;  // the frame's words masked out
        for (std::uint32_t y = 0; y < view_.Height(); ++y)
            std::fill_n(guards.begin() + (y + 1) * pitch_ + 4, view_.Width(), kGuard);
        return guards == std::vector<std::uint32_t>(guards.size(), kGuard);
    }

private:
    std::uint32_t pitch_;
    std::vector<std::uint32_t> memory_;
    FrameBuffer view_;
};

}  // namespace orv::test
