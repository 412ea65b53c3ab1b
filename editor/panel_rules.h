#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/param_groups.h"

namespace orv {

// The panel's three flags that decide which rows can be edited.
struct PanelFlags {
    bool enableColor = true;              // "色を反映"
    bool colorConstant = false;           // "色変化なし"
    bool textureDirectionBefore = false;  // "進行方向に向きを合わせる"
};

// Whether a row's label and slider are enabled under the given flags.
bool RowEnabled(std::size_t row, const PanelFlags& flags);

// Trackbar position for a value in the row's units (pixels, seconds, degrees): value x
// 10^decimals, then degrees x 180 / pi on angle rows, truncated toward zero, plus the zero offset.
std::int64_t SliderPositionForValue(std::size_t row, double value);

}  // namespace orv
