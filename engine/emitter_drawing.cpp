#include "engine/emitter_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

namespace {

constexpr double kFixedOne = 65536.0;
// A rotation this close to zero draws the cheaper axis-aligned rectangle.
constexpr double kNearZero = 5e-9;

// 16.16 of a destination coordinate, truncated toward zero; none when it does not fit.
std::optional<std::int32_t> ToFixed(double pixels) {
    const double fixed = pixels * kFixedOne;
    if (!(fixed > -2147483649.0 && fixed < 2147483648.0)) return std::nullopt;
    return static_cast<std::int32_t>(fixed);
}

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

template <typename Key>
void SortLive(std::span<Particle> particles, Key key) {
    std::sort(particles.begin(), particles.end(),
              [key](const Particle& a, const Particle& b) { return key(a, b); });
}

}  // namespace

std::span<const Particle> LiveParticles(const Emitter& emitter) {
    return {emitter.runtime.pool.data(), static_cast<std::size_t>(emitter.runtime.liveCount)};
}

void SortParticles(Emitter& emitter) {
    SortParticles(emitter,
                  {emitter.runtime.pool.data(), static_cast<std::size_t>(emitter.runtime.liveCount)});
}

void SortParticles(const Emitter& emitter, std::span<Particle> particles) {
    // Without a drawable frame the size scales are not numbers, which no ordering can sort; the
    // order only matters for drawing, and nothing is drawn then.
    if (emitter.texture.FrameWidth() == 0 || emitter.texture.FrameHeight() == 0) return;
    switch (emitter.params.sortType) {
        case kSortAgeAscending:
            SortLive(particles, [](const Particle& a, const Particle& b) { return a.age < b.age; });
            break;
        case kSortAgeDescending:
            SortLive(particles, [](const Particle& a, const Particle& b) { return b.age < a.age; });
            break;
        case kSortScaleAscending:
            SortLive(particles,
                     [](const Particle& a, const Particle& b) { return a.sizeScale < b.sizeScale; });
            break;
        case kSortScaleDescending:
            SortLive(particles,
                     [](const Particle& a, const Particle& b) { return b.sizeScale < a.sizeScale; });
            break;
        default:
            break;
    }
}

SpriteVariantKey VariantKeyFor(const Emitter& emitter, bool opaqueTarget, bool sse2) {
    SpriteVariantKey key;
    key.bilinear = emitter.runtime.interpolation != 0;
    key.opaqueTarget = opaqueTarget;
    key.sse2 = sse2;
    key.normalBlend = emitter.params.blendingMode == kNormal;
    key.tinted = emitter.params.enableColor;
    return key;
}

SpriteTint SpriteTintFor(const Particle& particle) {
    SpriteTint tint;
    const double alpha = particle.alphaCopy * 255.0;
    tint.alpha = alpha > 0 ? (alpha < 255.0 ? static_cast<std::uint32_t>(alpha) : 255u) : 0u;
    tint.red = (particle.packedColour >> 16) & 0xFF;
    tint.green = (particle.packedColour >> 8) & 0xFF;
    tint.blue = particle.packedColour & 0xFF;
    return tint;
}

TexelRect SourceRectFor(const TextureSettings& texture, std::uint32_t frameIndex) {
    const Texture* image = texture.Image();
    if (texture.FrameCount() == 1) {
        const std::int64_t width = image ? image->Width() : 0;
        const std::int64_t height = image ? image->Height() : 0;
        return TexelRect{0, 0, ClampToInt32(width), ClampToInt32(height)};
    }
    const std::int64_t column = frameIndex % texture.SplitX();
    const std::int64_t row = frameIndex / texture.SplitX();
    const std::int64_t width = texture.FrameWidth();
    const std::int64_t height = texture.FrameHeight();
    return TexelRect{ClampToInt32(width * column), ClampToInt32(height * row),
                     ClampToInt32(width * column + width), ClampToInt32(height * row + height)};
}

HalfSize HalfSizeFor(const TextureSettings& texture, const Particle& particle) {
    return HalfSize{static_cast<double>(texture.FrameWidth()) * particle.sizeScale * 0.5,
                    static_cast<double>(texture.FrameHeight()) * particle.sizeScale * 0.5};
}

std::optional<FixedRect> FixedRectFor(double x, double y, HalfSize half) {
    const auto left = ToFixed(x - half.width);
    const auto top = ToFixed(y - half.height);
    const auto right = ToFixed(x + half.width);
    const auto bottom = ToFixed(y + half.height);
    if (!left || !top || !right || !bottom) return std::nullopt;
    return FixedRect{*left, *top, *right, *bottom};
}

std::optional<SpriteQuad> QuadFor(double x, double y, HalfSize half, double rotation,
                                  const TexelRect& source) {
    const double c = std::cos(rotation);
    const double s = std::sin(rotation);
    const double hw = half.width;
    const double hh = half.height;
    SpriteQuad quad;
    quad.count = 4;
    quad.vertex[0] =
        QuadVertex{x - c * hw + s * hh, y - s * hw - c * hh, double(source.left), double(source.top)};
    quad.vertex[1] =
        QuadVertex{x + c * hw + s * hh, y + s * hw - c * hh, double(source.right), double(source.top)};
    quad.vertex[2] =
        QuadVertex{x + c * hw - s * hh, y + s * hw + c * hh, double(source.right), double(source.bottom)};
    quad.vertex[3] =
        QuadVertex{x - c * hw - s * hh, y - s * hw + c * hh, double(source.left), double(source.bottom)};
    // Same bounds as the rectangle's: the fills work in 16.16, and a sprite this far out cannot
    // reach any frame.
    for (const QuadVertex& vertex : quad.vertex) {
        if (!ToFixed(vertex.x) || !ToFixed(vertex.y)) return std::nullopt;
    }
    return quad;
}

bool CanDrawEmitter(const Emitter& emitter, const FrameBuffer* target) {
    const Texture* image = emitter.texture.Image();
    return target != nullptr && image != nullptr && image->colour && !image->colour->Empty();
}

SpriteRows PrepareSprite(const TextureSettings& texture, const Particle& particle, PreparedSprite& sprite) {
    const HalfSize half = HalfSizeFor(texture, particle);
    sprite.source = SourceRectFor(texture, particle.frameIndex);
    sprite.tint = SpriteTintFor(particle);
    sprite.rotated = !(std::fabs(particle.rotation) < kNearZero);
    double reach = 0;
    if (!sprite.rotated) {
        const auto dest = FixedRectFor(particle.x, particle.y, half);
        if (!dest) return {};
        sprite.rect = *dest;
        reach = std::fabs(half.height);
    } else {
        const auto quad = QuadFor(particle.x, particle.y, half, particle.rotation, sprite.source);
        if (!quad) return {};
        sprite.quad = *quad;
        reach = std::fabs(half.width) + std::fabs(half.height);
    }
    return {static_cast<std::int32_t>(std::ceil(particle.y - reach)),
            static_cast<std::int32_t>(std::floor(particle.y + reach))};
}

std::optional<EmitterFills> EmitterFillsFor(const Emitter& emitter, const FrameBuffer* target,
                                            bool opaqueTarget, bool sse2) {
    const TextureSettings& texture = emitter.texture;
    if (!CanDrawEmitter(emitter, target) || target->Empty() || texture.FrameWidth() == 0 ||
        texture.FrameHeight() == 0) {
        return std::nullopt;
    }
    const FrameBuffer& pixels = *texture.Image()->colour;
    return EmitterFills{&SelectSpriteFills(VariantKeyFor(emitter, opaqueTarget, sse2)),
                        TexelSampler{&pixels, static_cast<std::int32_t>(pixels.Width()) - 1,
                                     static_cast<std::int32_t>(pixels.Height()) - 1}};
}

bool DrawEmitterSprites(const Emitter& emitter, FrameBuffer* target, bool opaqueTarget,
                        const SettingsSnapshot& settings) {
    if (!CanDrawEmitter(emitter, target)) return false;
    const auto drawing = EmitterFillsFor(emitter, target, opaqueTarget, settings.sse2);
    if (!drawing) return true;
    const RowBand all = AllRows(*target);
    PreparedSprite sprite;
    for (const Particle& particle : LiveParticles(emitter)) {
        if (!PrepareSprite(emitter.texture, particle, sprite).Misses(all))
            DrawPreparedSprite(*drawing->fills, *target, all, sprite, drawing->sampler);
    }
    return true;
}

}  // namespace orv
