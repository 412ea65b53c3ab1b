#include "render/drawing_pool.h"

#include <algorithm>
#include <thread>

namespace orv {

namespace {
constexpr std::uint32_t kBandsPerThread = 2;
// The work split by its cost: a round of one band per thread takes 70 % of it, a second round
// 20 %, a third 10 %. Every band costs a look at every sprite, and each sprite across a band's
// edge is set up once more, so there are few of them.
constexpr std::uint32_t kRoundWeights[] = {7, 2, 1};
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

std::vector<RowBand> SplitRowsByWork(std::span<const std::uint64_t> rowWork,
                                     std::span<const std::uint32_t> weights) {
    const auto height = static_cast<std::int32_t>(rowWork.size());
    const auto bands = static_cast<std::int32_t>(std::min<std::int64_t>(std::ssize(weights), height));
    std::uint64_t total = 0, weightTotal = 0;
    for (const std::uint64_t work : rowWork) total += work;
    for (std::int32_t band = 0; band < bands; ++band) weightTotal += weights[static_cast<std::size_t>(band)];
    std::vector<RowBand> split;
    split.reserve(static_cast<std::size_t>(std::max(bands, 0)));
    std::uint64_t done = 0, weightDone = 0;
    std::int32_t top = 0, row = 0;
    for (std::int32_t band = 1; band < bands; ++band) {
        weightDone += weights[static_cast<std::size_t>(band - 1)];
        // In doubles, where the work times the weights cannot overflow.
        const double share = static_cast<double>(total) * static_cast<double>(weightDone) /
                             static_cast<double>(std::max<std::uint64_t>(weightTotal, 1));
        // Every band gets a row, and leaves one for each band after it.
        const std::int32_t lastBottom = height - (bands - band);
        while (row < lastBottom && (row == top || static_cast<double>(done) < share))
            done += rowWork[static_cast<std::size_t>(row++)];
        split.push_back({top, row});
        top = row;
    }
    if (bands > 0) split.push_back({top, height});
    return split;
}

std::uint32_t DrawingPool::ResolveThreads(std::uint32_t threads) {
    if (threads != 0) return threads;
    return std::max(std::thread::hardware_concurrency(), 1u);
}

DrawingPool::DrawingPool(std::uint32_t threads) : pool_(ResolveThreads(threads)) {
    for (const std::uint32_t weight : kRoundWeights)
        bandWeights_.insert(bandWeights_.end(), Threads(), weight);
}

// A few bands per thread, handed out as threads come free: a thread that another program holds
// up then delays the frame by a small band only. Every band costs a look at every sprite, and
// each sprite across a band's edge is set up once more, so the count stays small.
std::uint32_t DrawingPool::BandCount() const {
    return Threads() * kBandsPerThread;
}

void DrawingPool::DrawBands(std::uint32_t height, const std::function<void(const RowBand&)>& drawBand) {
    if (pool_.Threads() == 1) {
        drawBand({0, static_cast<std::int32_t>(height)});
        return;
    }
    bands_ = SplitRows(height, BandCount());
    DrawSplit(drawBand);
}

void DrawingPool::DrawBands(std::span<const std::uint64_t> rowWork,
                            const std::function<void(const RowBand&)>& drawBand) {
    if (pool_.Threads() == 1) {
        drawBand({0, static_cast<std::int32_t>(rowWork.size())});
        return;
    }
    bands_ = SplitRowsByWork(rowWork, bandWeights_);
    DrawSplit(drawBand);
}

void DrawingPool::DrawSplit(const std::function<void(const RowBand&)>& drawBand) {
    pool_.Run(bands_.size(), [&](std::size_t index) { drawBand(bands_[index]); });
}

}  // namespace orv
