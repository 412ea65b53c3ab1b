#include "editor/panel_rules.h"

#include <cmath>

#include "engine/param_table.h"

namespace orv {

bool RowEnabled(std::size_t row, const PanelFlags& flags) {
    if (IsRotationRow(row)) return !flags.textureDirectionBefore;
    if (IsFinishColourRow(row)) return flags.enableColor && !flags.colorConstant;
    if (IsColourRow(row)) return flags.enableColor;
    return true;
}

std::int64_t SliderPositionForValue(std::size_t row, double value) {
    const ParamDescriptor& param = Param(row);
    double scaled = value;
    for (int i = 0; i < param.decimals; ++i) scaled *= 10.0;
    if (param.angle) scaled = scaled * 180.0 / 3.141592653589793;
    // Values far beyond any slider saturate instead of overflowing the conversion.
    const double truncated = std::trunc(scaled);
    const double bounded = truncated > 1e15 ? 1e15 : truncated < -1e15 ? -1e15 : truncated;
    return static_cast<std::int64_t>(bounded) + param.zeroOffset;
}

}  // namespace orv
