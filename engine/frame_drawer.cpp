#include "engine/frame_drawer.h"

#include <algorithm>

namespace orv {

namespace {
// Sprites worked out per task: enough to outweigh handing the task out, few enough to share a
// frame of a few thousand sprites between threads.
constexpr std::size_t kSpritesPerTask = 1024;
}  // namespace

FrameDrawer::FrameDrawer(std::uint32_t threads) : pool_(threads) {}

void FrameDrawer::Begin(FrameBuffer* target, bool opaqueTarget, const SettingsSnapshot& settings) {
    target_ = target;
    opaqueTarget_ = opaqueTarget;
    sse2_ = settings.sse2;
    segments_.clear();
}

void FrameDrawer::Add(const Emitter& emitter, std::span<const Particle> particles) {
    const auto drawing = EmitterFillsFor(emitter, target_, opaqueTarget_, sse2_);
    if (!drawing || particles.empty()) return;
    segments_.push_back({*drawing, &emitter.texture, particles, SpriteCount()});
}

void FrameDrawer::Add(const std::vector<const Emitter*>& emitters) {
    for (const Emitter* emitter : emitters) Add(*emitter, LiveParticles(*emitter));
}

std::size_t FrameDrawer::SpriteCount() const {
    return segments_.empty() ? 0 : segments_.back().first + segments_.back().particles.size();
}

void FrameDrawer::PrepareSprites(std::size_t begin, std::size_t end) {
    for (const Segment& segment : segments_) {
        const std::size_t segmentEnd = segment.first + segment.particles.size();
        for (std::size_t i = std::max(begin, segment.first); i < std::min(end, segmentEnd); ++i)
            rows_[i] = PrepareSprite(*segment.texture, segment.particles[i - segment.first], sprites_[i]);
    }
}

void FrameDrawer::Draw(std::uint32_t rows, const std::function<void(const RowBand&)>& drawBand) {
    const std::size_t count = SpriteCount();
    if (rows_.size() < count) {
        rows_.resize(count);
        sprites_.resize(count);
    }
    const std::size_t tasks = (count + kSpritesPerTask - 1) / kSpritesPerTask;
    pool_.Run(tasks, [&](std::size_t task) {
        PrepareSprites(task * kSpritesPerTask, std::min(count, (task + 1) * kSpritesPerTask));
    });
    pool_.DrawBands(rows, drawBand);
}

void FrameDrawer::DrawSprites(const RowBand& band) const {
    if (target_ == nullptr) return;
    for (const Segment& segment : segments_) {
        const std::size_t end = segment.first + segment.particles.size();
        for (std::size_t i = segment.first; i < end; ++i) {
            if (rows_[i].Misses(band)) continue;
            DrawPreparedSprite(*segment.drawing.fills, *target_, band, sprites_[i], segment.drawing.sampler);
        }
    }
}

}  // namespace orv
