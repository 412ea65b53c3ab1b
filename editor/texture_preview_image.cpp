#include "editor/texture_preview_image.h"

#include <cstdint>

namespace orv {

FrameBuffer BlendOntoBlack(const FrameBuffer& image) {
    FrameBuffer preview(image.Width(), image.Height());
    for (std::uint32_t y = 0; y < image.Height(); ++y) {
        const std::uint32_t* source = image.Row(y);
        std::uint32_t* target = preview.Row(y);
        for (std::uint32_t x = 0; x < image.Width(); ++x) {
            const std::uint32_t pixel = source[x];
            const std::uint32_t alpha = pixel >> 24;
            // Red and blue share one multiply: each product stays below 1 << 16, so neither
            // spills into the other.
            const std::uint32_t redBlue = ((pixel & 0x00ff00ffu) * alpha >> 8) & 0x00ff00ffu;
            const std::uint32_t green = ((pixel & 0x0000ff00u) * alpha >> 8) & 0x0000ff00u;
            target[x] = redBlue | green;
        }
    }
    return preview;
}

}  // namespace orv
