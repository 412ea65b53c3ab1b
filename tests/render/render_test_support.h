#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "render/frame_buffer.h"
#include "render/sprite.h"

namespace orv::test {

template <class Word>
FrameBuffer MakeImage(std::uint32_t width, std::uint32_t height, Word word) {
    FrameBuffer image(width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) image.At(x, y) = word(x, y);
    }
    return image;
}

inline FrameBuffer RandomImage(std::uint32_t width, std::uint32_t height, std::mt19937& random) {
    return MakeImage(width, height, [&](auto, auto) { return static_cast<std::uint32_t>(random()); });
}

inline SpriteTint RandomTint(std::mt19937& random) {
    std::uniform_int_distribution<std::uint32_t> byte(0, 255);
    return {byte(random), byte(random), byte(random), byte(random)};
}

inline FrameBuffer FilledImage(std::uint32_t width, std::uint32_t height, std::uint32_t word) {
    return MakeImage(width, height, [word](auto, auto) { return word; });
}

// A texture whose texel at (x, y) is 0xFF000000 | (x + 1) << 8 | (y + 1). Drawn untinted at full
// alpha over black (channel c becomes (c * 254) >> 8 = c - 1 for c up to 128), a pixel's green
// byte is the column and its blue byte the row of the texel it sampled.
inline FrameBuffer CoordinateTexture(std::uint32_t width, std::uint32_t height) {
    return MakeImage(width, height,
                     [](std::uint32_t x, std::uint32_t y) { return 0xFF000000u | (x + 1) << 8 | (y + 1); });
}

// The variant of index `bits`, selectors from the most significant bit: bilinear, with alpha,
// SSE2, normal blending, tinted.
inline SpriteVariantKey KeyOf(unsigned bits) {
    return {(bits & 16) != 0, (bits & 8) == 0, (bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
}

inline TexelSampler SamplerFor(const FrameBuffer& texture) {
    return {&texture, static_cast<std::int32_t>(texture.Width()) - 1,
            static_cast<std::int32_t>(texture.Height()) - 1};
}

inline std::int32_t Fixed(double pixels) {
    return static_cast<std::int32_t>(pixels * 65536.0);
}

inline FixedRect FixedFromPixels(double left, double top, double right, double bottom) {
    return {Fixed(left), Fixed(top), Fixed(right), Fixed(bottom)};
}

// Pixels of `b` that differ from `a` (same size).
inline int Differences(const FrameBuffer& a, const FrameBuffer& b) {
    int count = 0;
    for (std::uint32_t y = 0; y < a.Height(); ++y) {
        for (std::uint32_t x = 0; x < a.Width(); ++x) count += a.At(x, y) != b.At(x, y);
    }
    return count;
}

// A target whose rows sit inside a larger block, with guard words around every row, so that
// writes outside the frame are seen.
class GuardedTarget {
public:
    static constexpr std::uint32_t kGuard = 0xDEADBEEFu;
    // A copy of `start`.
    explicit GuardedTarget(const FrameBuffer& start)
        : pitch_(start.Width() + 8), memory_(static_cast<std::size_t>(pitch_) * (start.Height() + 2), kGuard) {
        view_.View(memory_.data() + pitch_ + 4, start.Width(), start.Height(), pitch_);
        for (std::uint32_t y = 0; y < start.Height(); ++y) {
            for (std::uint32_t x = 0; x < start.Width(); ++x) view_.At(x, y) = start.At(x, y);
        }
    }
    GuardedTarget(std::uint32_t width, std::uint32_t height, std::uint32_t fill)
        : GuardedTarget(FilledImage(width, height, fill)) {}
    FrameBuffer& Frame() { return view_; }
    bool GuardsIntact() const {
        std::size_t inside = 0;
        for (std::uint32_t word : memory_) inside += word != kGuard;
        std::size_t frame = 0;
        for (std::uint32_t y = 0; y < view_.Height(); ++y) {
            for (std::uint32_t x = 0; x < view_.Width(); ++x) frame += view_.At(x, y) != kGuard;
        }
        return inside == frame;
    }

private:
    std::uint32_t pitch_;
    std::vector<std::uint32_t> memory_;
    FrameBuffer view_;
};

}  // namespace orv::test
