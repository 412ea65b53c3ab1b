#include "engine/frame_drawer.h"

#include <algorithm>
#include <array>

namespace orv {

namespace {
// Sprites worked out per task: enough to outweigh handing the task out, few enough to share a
// frame of a few thousand sprites between threads.
constexpr std::size_t kSpritesPerTask = 1024;
// What clearing or filling the background of a row costs, in rows of a sprite.
constexpr std::uint64_t kRowBaseWork = 2;

// Asks for the cache lines of a sprite that is about to be drawn.
void Prefetch([[maybe_unused]] const PreparedSprite& sprite) {
#if defined(__GNUC__) || defined(__clang__)
    const auto* bytes = reinterpret_cast<const char*>(&sprite);
    for (std::size_t line = 0; line < sizeof(PreparedSprite); line += 64) __builtin_prefetch(bytes + line);
#endif
}
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
    if (pool_.Threads() == 1) {
        pool_.DrawBands(rows, drawBand);
        return;
    }
    MeasureRowWork(rows, count);
    pool_.DrawBands(std::span<const std::uint64_t>(rowWork_), drawBand);
}

void FrameDrawer::MeasureRowWork(std::uint32_t rows, std::size_t count) {
    // Sprites reaching each row, counted up from +1 at a sprite's first row and -1 past its last
    // (unsigned, wrapping: the running sum is never below zero).
    rowWork_.assign(rows + std::size_t{1}, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t top = std::max<std::int64_t>(rows_[i].top, 0);
        const std::int64_t end = std::min<std::int64_t>(std::int64_t{rows_[i].bottom} + 1, rows);
        if (top >= end) continue;
        ++rowWork_[static_cast<std::size_t>(top)];
        --rowWork_[static_cast<std::size_t>(end)];
    }
    std::uint64_t reaching = 0;
    for (std::uint32_t row = 0; row < rows; ++row) {
        reaching += rowWork_[row];
        rowWork_[row] = kRowBaseWork + reaching;
    }
    rowWork_.pop_back();
}

void FrameDrawer::DrawSprites(const RowBand& band) const {
    if (target_ == nullptr) return;
    // The sprites were mostly worked out on another thread: their lines are fetched a few sprites
    // ahead of drawing, so the fills do not wait on each one in turn.
    constexpr std::size_t kBatch = 64, kAhead = 4;
    std::array<std::uint32_t, kBatch> hits;
    for (const Segment& segment : segments_) {
        const std::size_t end = segment.first + segment.particles.size();
        for (std::size_t next = segment.first; next < end;) {
            std::size_t count = 0;
            // Listed without a branch on the look: it would be mispredicted half the time.
            for (; next < end && count < kBatch; ++next) {
                hits[count] = static_cast<std::uint32_t>(next);
                count += rows_[next].Misses(band) ? 0 : 1;
            }
            for (std::size_t k = 0; k < std::min(count, kAhead); ++k) Prefetch(sprites_[hits[k]]);
            for (std::size_t k = 0; k < count; ++k) {
                if (k + kAhead < count) Prefetch(sprites_[hits[k + kAhead]]);
                DrawPreparedSprite(*segment.drawing.fills, *target_, band, sprites_[hits[k]],
                                   segment.drawing.sampler);
            }
        }
    }
}

}  // namespace orv
