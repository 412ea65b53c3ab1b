#pragma once

#include <cstddef>
#include <cstdint>

namespace orv {

// The panel's three flags that decide which rows can be edited.
struct PanelFlags {
    bool enableColor = true;              // "色を反映"
    bool colorConstant = false;           // "色変化なし"
    bool textureDirectionBefore = false;  // "進行方向に向きを合わせる"
};

// Red, green and blue rows of the four colour columns (alpha rows are always editable).
bool IsColourRow(std::size_t row);
// Red, green and blue rows of the finish colour and its variance.
bool IsFinishColourRow(std::size_t row);
// start_rot, its variance, rot_per_sec and its variance.
bool IsRotationRow(std::size_t row);
// Rows shown only for the gravity type, and only for the radial type.
bool IsGravityRow(std::size_t row);
bool IsRadialRow(std::size_t row);

// Whether a row's label and slider are enabled under the given flags.
bool RowEnabled(std::size_t row, const PanelFlags& flags);

// Trackbar position for a value in the row's units (pixels, seconds, degrees): value x
// 10^decimals, then degrees x 180 / pi on angle rows, truncated toward zero, plus the zero offset.
std::int64_t SliderPositionForValue(std::size_t row, double value);

}  // namespace orv
