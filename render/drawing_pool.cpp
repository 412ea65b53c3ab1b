#include "render/drawing_pool.h"

#include <algorithm>
#include <thread>

namespace orv {

namespace {
constexpr std::uint32_t kBandsPerThread = 4;
}  // namespace

std::vector<RowBand> SplitRows(std::uint32_t height, std::uint32_t count) {
    const std::uint32_t bands = std::min(std::max(count, 1u), std::max(height, 1u));
    std::vector<RowBand> split;
    split.reserve(bands);
    if (height == 0) return split;
    const std::uint32_t rows = height / bands, taller = height % bands;
    std::int32_t top = 0;
    for (std::uint32_t i = 0; i < bands; ++i) {
        const auto bandHeight = static_cast<std::int32_t>(rows + (i < taller ? 1 : 0));
        split.push_back({top, top + bandHeight});
        top += bandHeight;
    }
    return split;
}

std::uint32_t DrawingPool::ResolveThreads(std::uint32_t threads) {
    if (threads != 0) return threads;
    return std::max(std::thread::hardware_concurrency(), 1u);
}

DrawingPool::DrawingPool(std::uint32_t threads) : pool_(ResolveThreads(threads)) {}

void DrawingPool::DrawBands(std::uint32_t height, const std::function<void(const RowBand&)>& drawBand) {
    if (pool_.Threads() == 1) {
        drawBand({0, static_cast<std::int32_t>(height)});
        return;
    }
    // A few bands per thread, handed out as threads come free: a thread that another program
    // holds up, or a band thick with sprites, then delays the frame by a small band only. Every
    // band walks all sprites, so the count stays small.
    bands_ = SplitRows(height, Threads() * kBandsPerThread);
    pool_.Run(bands_.size(), [&](std::size_t index) { drawBand(bands_[index]); });
}

}  // namespace orv
