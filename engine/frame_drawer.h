#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/emitter.h"
#include "engine/emitter_drawing.h"
#include "engine/settings.h"
#include "engine/simulation.h"
#include "render/drawing_pool.h"
#include "render/frame_buffer.h"
#include "render/row_band.h"

namespace orv {

// Draws the sprites of a frame on the drawing threads. The sprites' geometry, texels and tint are
// worked out once per frame, shared out over the threads, and then the frame is drawn band by
// band: a band looks only at the sprites that can reach it, so adding threads does not add
// per-sprite work. Every pixel gets the blends it would get with the frame drawn at once.
class FrameDrawer {
public:
    // `threads` counts the caller; 0 means one per hardware thread.
    explicit FrameDrawer(std::uint32_t threads);

    std::uint32_t Threads() const { return pool_.Threads(); }

    // Call before stepping the frame to be drawn: the drawing threads wake meanwhile instead of
    // when the drawing starts.
    void Rouse() { pool_.Rouse(); }
    // The drawing threads, for the frame's other work that may be shared (the particles' updates).
    TaskRunner Tasks() {
        return [this](std::size_t count, const std::function<void(std::size_t)>& task) {
            pool_.Run(count, task);
        };
    }

    // Starts a frame whose sprites go to `target` (none: the frame's sprites are not drawn),
    // forgetting the sprites of the previous one.
    void Begin(FrameBuffer* target, bool opaqueTarget, const SettingsSnapshot& settings);
    // The sprites of `particles`, drawn as the emitter's, after those added before. An emitter
    // that cannot draw adds none. The particles must stay where they are until Draw returns.
    void Add(const Emitter& emitter, std::span<const Particle> particles);
    // Every emitter's live particles, in order.
    void Add(const std::vector<const Emitter*>& emitters);

    // Works out the sprites added, then calls drawBand once for every band of a split of `rows`
    // rows, bands in parallel. drawBand does the band's other frame operations and calls
    // DrawSprites(band) where the sprites belong among them; it must write only its band's rows.
    void Draw(std::uint32_t rows, const std::function<void(const RowBand&)>& drawBand);
    // The sprites that reach `band`, in the order added, clipped to it.
    void DrawSprites(const RowBand& band) const;

private:
    // The particles of one emitter and how they are drawn; their sprites are sprites_[first...].
    struct Segment {
        EmitterFills drawing;
        const TextureSettings* texture = nullptr;
        std::span<const Particle> particles;
        std::size_t first = 0;
    };

    std::size_t SpriteCount() const;
    void PrepareSprites(std::size_t begin, std::size_t end);
    // rowWork_: for each of `rows` rows, what drawing it costs, for a split into bands of equal work.
    void MeasureRowWork(std::uint32_t rows, std::size_t count);

    DrawingPool pool_;
    FrameBuffer* target_ = nullptr;
    bool opaqueTarget_ = false;
    bool sse2_ = false;
    std::vector<Segment> segments_;
    // Kept apart from the sprites so that a band's look at every sprite reads a small array.
    std::vector<SpriteRows> rows_;
    std::vector<PreparedSprite> sprites_;
    std::vector<std::uint64_t> rowWork_;
};

}  // namespace orv
