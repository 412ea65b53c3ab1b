#include "app/panel_rules.h"

#include <cmath>

#include "engine/param_table.h"

namespace orv {

bool IsColourRow(std::size_t row) {
    switch (row) {
        case kStartColorR:
        case kStartColorG:
        case kStartColorB:
        case kStartColorRVar:
        case kStartColorGVar:
        case kStartColorBVar:
            return true;
        default:
            return IsFinishColourRow(row);
    }
}

bool IsFinishColourRow(std::size_t row) {
    switch (row) {
        case kFinishColorR:
        case kFinishColorG:
        case kFinishColorB:
        case kFinishColorRVar:
        case kFinishColorGVar:
        case kFinishColorBVar:
            return true;
        default:
            return false;
    }
}

bool IsRotationRow(std::size_t row) {
    return row >= kStartRot && row <= kRotPerSecVariance;
}

bool IsGravityRow(std::size_t row) {
    return row >= kXVariance && row <= kRadAccVar;
}

bool IsRadialRow(std::size_t row) {
    return row >= kMaxRadius && row <= kDegPerSecVar;
}

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
