#include "render/background.h"

#include <algorithm>

#include "render/frame_composition.h"

namespace orv {

namespace {

std::uint32_t ChannelFromRaw(std::int32_t raw) {
    const double product = raw / 1000.0 * 255.0;
    if (product < 0.0) return 0;
    if (product > 255.0) return 255;
    return static_cast<std::uint32_t>(product);
}

}  // namespace

std::uint32_t BackgroundColour(std::int32_t rawRed, std::int32_t rawGreen, std::int32_t rawBlue,
                               std::int32_t rawAlpha) {
    return ChannelFromRaw(rawAlpha) << 24 | ChannelFromRaw(rawRed) << 16 | ChannelFromRaw(rawGreen) << 8 |
           ChannelFromRaw(rawBlue);
}

void DrawBackground(FrameBuffer& target, const FrameBuffer* image, std::uint32_t colour, bool sse2,
                    const RowBand& band) {
    if (image == nullptr || image->Empty()) {
        ClearFrame(target, colour, sse2, band);
        return;
    }
    const PixelRect area{0, 0, static_cast<std::int32_t>(std::min(image->Width(), target.Width())),
                         static_cast<std::int32_t>(std::min(image->Height(), target.Height()))};
    CopyRect(target, area, *image, area, sse2, band);
}

}  // namespace orv
