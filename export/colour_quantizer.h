#pragma once

#include <cstdint>
#include <vector>

namespace orv {

struct PaletteColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// Colours reduced to a palette: one palette index per input colour.
struct QuantizedColours {
    std::vector<PaletteColour> palette;
    std::vector<std::uint8_t> indices;
};

// Reduces 0x..RRGGBB colours (the top byte is ignored) to a palette of at most `maxColours`
// (1 to 256) by Leptonica's median cut, which weighs every colour by how many pixels have it, so
// a large plain ground keeps its exact shade. No dithering: in an animation it would crawl from
// frame to frame. Throws std::runtime_error when Leptonica fails.
QuantizedColours QuantizeColours(const std::vector<std::uint32_t>& colours, int maxColours);

}  // namespace orv
