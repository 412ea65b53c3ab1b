#include "render/avx2_rows.h"

#include <atomic>
#include <cstdlib>

#include "render/sse2_support.h"

namespace orv {

namespace {

bool ProcessorHasAvx2() {
#if ORV_RENDER_AVX2
    // Also false where the system does not save the wide registers.
    return __builtin_cpu_supports("avx2") != 0;
#else
    return false;
#endif
}

std::atomic<bool>& Avx2RowsSwitch() {
    static std::atomic<bool> enabled{ProcessorHasAvx2()};
    return enabled;
}

}  // namespace

bool Avx2RowsEnabled() {
    return Avx2RowsSwitch().load(std::memory_order_relaxed);
}

void EnableAvx2Rows(bool enable) {
    Avx2RowsSwitch().store(enable && ProcessorHasAvx2(), std::memory_order_relaxed);
}

bool FitsRowOffsets(const TexelGrid& grid) {
    const std::int64_t reach = (std::int64_t{grid.lastRow} + 1) * std::abs(grid.pitch);
    return grid.lastRow >= 0 && grid.lastColumn >= 0 && reach <= INT32_MAX;
}

}  // namespace orv
