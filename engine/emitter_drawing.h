#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "engine/emitter.h"
#include "engine/settings.h"
#include "render/frame_buffer.h"
#include "render/row_band.h"
#include "render/sprite.h"

namespace orv {

// Reorders the live particles by the emitter's sort type (nothing for kSortNone).
void SortParticles(Emitter& emitter);
// The same for particles of the emitter held elsewhere (gathered from several simulations).
void SortParticles(const Emitter& emitter, std::span<Particle> particles);

// The live particles of an emitter, in drawing order.
std::span<const Particle> LiveParticles(const Emitter& emitter);

// Hands every live particle to the rasterizer, with the variant chosen once from the emitter's
// interpolation, the target kind, the snapshot's SSE2 choice, the blending mode and enable_color.
// Returns false without a target or without a texture image, true otherwise.
bool DrawEmitterSprites(const Emitter& emitter, FrameBuffer* target, bool opaqueTarget,
                        const SettingsSnapshot& settings);

// How an emitter's sprites are drawn into a target this step: the variant's fills and the
// texture's sampler.
struct EmitterFills {
    const SpriteFills* fills = nullptr;
    TexelSampler sampler;
};
// None when the emitter draws nothing into the target: it cannot draw (CanDrawEmitter), the
// target has no pixels, or a split finer than the image leaves frames of no size, whose geometry
// would not be finite.
std::optional<EmitterFills> EmitterFillsFor(const Emitter& emitter, const FrameBuffer* target,
                                            bool opaqueTarget, bool sse2);

// A particle's sprite worked out for drawing: where it goes (a rectangle, or a quad when it is
// rotated), its texels and its tint. What an unrotated sprite needs lies in its first cache line:
// a frame's sprites are prepared on one thread and drawn on another, so every line counts.
struct alignas(64) PreparedSprite {
    bool rotated = false;
    FixedRect rect;
    TexelRect source;
    SpriteTint tint;
    SpriteQuad quad;
};

// The rows a sprite can reach, on the safe side: a sprite reaching `reach` pixels above and below
// its centre y covers at most the rows from trunc(y - reach) to trunc(y + reach) + 1, and one more
// row each way covers any rounding. A drawn sprite's centre and reach fit easily in 32 bits (its
// corners fit 16.16); a sprite that is not drawn reaches no rows.
struct SpriteRows {
    std::int32_t top = std::numeric_limits<std::int32_t>::max();     // ceil(y - reach)
    std::int32_t bottom = std::numeric_limits<std::int32_t>::min();  // floor(y + reach)

    // Both comparisons are made (no short cut): sprites lie in no order of rows, so a branch
    // between them would be mispredicted half the time on a look over all sprites.
    bool Misses(const RowBand& band) const {
        return (bottom < std::int64_t{band.top} - 1) | (top > std::int64_t{band.bottom} + 1);
    }
};

// Works out the particle's sprite into `sprite` and returns the rows it reaches: none when its
// geometry is not finite or lies beyond 16.16 (such a sprite is skipped).
SpriteRows PrepareSprite(const TextureSettings& texture, const Particle& particle, PreparedSprite& sprite);

// Draws a prepared sprite into the rows of `band`.
inline void DrawPreparedSprite(const SpriteFills& fills, FrameBuffer& target, const RowBand& band,
                               const PreparedSprite& sprite, const TexelSampler& sampler) {
    if (sprite.rotated) {
        fills.fillQuad(target, band, sprite.quad, sprite.tint, sampler);
    } else {
        fills.fillRect(target, band, sprite.rect, sprite.source, sprite.tint, sampler);
    }
}

// Whether an emitter step with this target draws (there is a target and a texture image): what
// DrawEmitterSprites returns, known before any sprite is drawn.
bool CanDrawEmitter(const Emitter& emitter, const FrameBuffer* target);

// The variant key for this emitter and step.
SpriteVariantKey VariantKeyFor(const Emitter& emitter, bool opaqueTarget, bool sse2);

// Tint: alpha copy x 255 truncated and clamped to 0..255, colour bytes from the packed colour.
SpriteTint SpriteTintFor(const Particle& particle);

// Texels of frame `frameIndex`: the whole image for a single frame, else the frame's cell of
// the grid.
TexelRect SourceRectFor(const TextureSettings& texture, std::uint32_t frameIndex);

// Half the drawn width and height of a particle's sprite.
struct HalfSize {
    double width = 0, height = 0;
};
HalfSize HalfSizeFor(const TextureSettings& texture, const Particle& particle);

// Destination of an unrotated sprite in 16.16, or none when it is not finite or does not fit
// 16.16 (such a sprite is skipped).
std::optional<FixedRect> FixedRectFor(double x, double y, HalfSize half);

// The frame's corners rotated by `rotation` about (x, y), with their texels; none when a
// coordinate is not finite or lies beyond the 16.16 range.
std::optional<SpriteQuad> QuadFor(double x, double y, HalfSize half, double rotation,
                                  const TexelRect& source);

}  // namespace orv
