#include "engine/param_groups.h"

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

}  // namespace orv
