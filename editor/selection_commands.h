#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orv {

struct PreviewPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const PreviewPoint&) const = default;
};

// Maps a point of the view's client area to centred coordinates, where (0, 0) is the frame's
// centre: the content is max(frame, client) in each direction with the frame in its middle.
PreviewPoint CentredPoint(std::int32_t clientX, std::int32_t clientY, std::int32_t scrollX,
                          std::int32_t scrollY, std::int32_t clientWidth, std::int32_t clientHeight,
                          std::uint32_t frameWidth, std::uint32_t frameHeight);

// One parameter row to set from a selection, its value in pixels.
struct SelectionRowValue {
    std::size_t row = 0;
    double value = 0;
};

// What a command of the preview's menu does with the rectangle from `start` to `end`: an
// optional new emitter position, then rows to set in order.
struct SelectionCommandEffect {
    std::optional<PreviewPoint> position;
    std::vector<SelectionRowValue> rows;
};

// Empty for an id that is not a selection command.
SelectionCommandEffect SelectionCommand(int commandId, PreviewPoint start, PreviewPoint end);

}  // namespace orv
