#include "editor/selection_commands.h"

#include <algorithm>
#include <cstdlib>

#include "editor/command_ids.h"
#include "engine/param_table.h"

namespace orv {

PreviewPoint CentredPoint(std::int32_t clientX, std::int32_t clientY, std::int32_t scrollX,
                          std::int32_t scrollY, std::int32_t clientWidth, std::int32_t clientHeight,
                          std::uint32_t frameWidth, std::uint32_t frameHeight) {
    const std::int32_t width = std::max(static_cast<std::int32_t>(frameWidth), clientWidth);
    const std::int32_t height = std::max(static_cast<std::int32_t>(frameHeight), clientHeight);
    return {clientX + scrollX - width / 2, clientY + scrollY - height / 2};
}

SelectionCommandEffect SelectionCommand(int commandId, PreviewPoint start, PreviewPoint end) {
    const std::int32_t width = std::abs(start.x - end.x);
    const std::int32_t height = std::abs(start.y - end.y);
    SelectionCommandEffect effect;
    switch (commandId) {
        case kCmdSelectionToEmission: {
            const std::int32_t halfWidth = width / 2;
            const std::int32_t halfHeight = height / 2;
            effect.position =
                PreviewPoint{std::min(start.x, end.x) + halfWidth, std::min(start.y, end.y) + halfHeight};
            effect.rows = {{kXVariance, double(halfWidth)}, {kYVariance, double(halfHeight)}};
            break;
        }
        case kCmdSelectionToStartSize:
            effect.rows = {{kStartSize, double(width)}};
            break;
        case kCmdSelectionToFinishSize:
            effect.rows = {{kFinishSize, double(width)}};
            break;
        case kCmdSelectionToAmplitudes:
            effect.rows = {{kHorAmplitude, double(width)}, {kVerAmplitude, double(height)}};
            break;
        case kCmdSelectionToHorAmplitude:
            effect.rows = {{kHorAmplitude, double(width)}};
            break;
        case kCmdSelectionToVerAmplitude:
            effect.rows = {{kVerAmplitude, double(height)}};
            break;
        default:
            break;
    }
    return effect;
}

}  // namespace orv
