#pragma once

#include <cstdint>
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

// Hands every live particle to the rasterizer, with the variant chosen once from the emitter's
// interpolation, the target kind, the snapshot's SSE2 choice, the blending mode and enable_color.
// Returns false without a target or without a texture image, true otherwise.
bool DrawEmitterSprites(const Emitter& emitter, FrameBuffer* target, bool opaqueTarget,
                        const SettingsSnapshot& settings);
// The same, limited to the target rows of `band`: drawn band by band over all rows, the emitter
// gives exactly the pixels it gives at once. Sprites that cannot reach the band are passed over
// before their tint, texels or corners are worked out.
bool DrawEmitterSprites(const Emitter& emitter, FrameBuffer* target, bool opaqueTarget,
                        const SettingsSnapshot& settings, const RowBand& band);

// The same for particles of the emitter held elsewhere, drawn in the order given, as if they were
// its live particles.
bool DrawParticleSprites(const Emitter& emitter, std::span<const Particle> particles, FrameBuffer* target,
                         bool opaqueTarget, const SettingsSnapshot& settings, const RowBand& band);

// Every emitter of `emitters`, in order, into the rows of `band`: what their steps would have
// drawn into those rows.
void DrawEmitters(const std::vector<const Emitter*>& emitters, FrameBuffer* target, bool opaqueTarget,
                  const SettingsSnapshot& settings, const RowBand& band);

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
