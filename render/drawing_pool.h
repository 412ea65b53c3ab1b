#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "render/row_band.h"
#include "vesk/task_pool.h"

namespace orv {

// `height` rows cut into `count` bands of nearly equal height, top to bottom; the first
// height % count bands are one row taller. Never more bands than rows, never an empty band.
std::vector<RowBand> SplitRows(std::uint32_t height, std::uint32_t count);

// The rows cut into bands, top to bottom, whose shares of the work (given per row) are as near as
// rows allow to the shares that `weights` give them: at least one row per band, and never more
// bands than rows (the last weights are then left out).
std::vector<RowBand> SplitRowsByWork(std::span<const std::uint64_t> rowWork,
                                     std::span<const std::uint32_t> weights);

// The threads that draw frames: a persistent pool that draws one frame band by band, every band
// on one thread. The caller draws too, so a pool of one thread draws on the caller alone, all
// rows at once, exactly as without a pool.
class DrawingPool {
public:
    // `threads` counts the caller; 0 means one per hardware thread.
    explicit DrawingPool(std::uint32_t threads);

    std::uint32_t Threads() const { return static_cast<std::uint32_t>(pool_.Threads()); }

    // Calls drawBand once for every band of a split of `height` rows chosen for this frame (a few
    // bands per thread), bands in parallel, and returns when all are drawn. drawBand must write only its
    // band's rows, and read nothing another band writes.
    void DrawBands(std::uint32_t height, const std::function<void(const RowBand&)>& drawBand);
    // The same with the bands cut by their shares of `rowWork`, one figure per row of the frame:
    // large bands first, then smaller ones, so that a thread that another program holds up
    // leaves the others little to wait for at the end.
    void DrawBands(std::span<const std::uint64_t> rowWork,
                   const std::function<void(const RowBand&)>& drawBand);

    // Runs task(0) to task(count - 1) on the pool's threads and the caller, each once, and returns
    // when all have run.
    void Run(std::size_t count, const std::function<void(std::size_t)>& task) { pool_.Run(count, task); }
    // Says that a frame is about to be drawn, so that every thread starts on it at once.
    void Rouse() { pool_.Rouse(); }

    // The thread count `threads` stands for: itself, or the hardware threads for 0 (at least 1).
    static std::uint32_t ResolveThreads(std::uint32_t threads);

private:
    std::uint32_t BandCount() const;
    void DrawSplit(const std::function<void(const RowBand&)>& drawBand);

    vesk::CTaskPool pool_;
    std::vector<RowBand> bands_;
    std::vector<std::uint32_t> bandWeights_;  // the work-split's rounds, one weight per thread each
};

}  // namespace orv
