#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "render/frame_buffer.h"

namespace orv {

// One byte per pixel, each a palette index; rows packed one after the other.
struct IndexedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;  // width * height

    const std::uint8_t* Row(std::uint32_t y) const { return pixels.data() + std::size_t{y} * width; }
};

using Palette = std::vector<std::uint32_t>;  // 0xAARRGGBB

// One decoded picture. The PNG decoder produces colour pictures (kind 1) only.
struct Texture {
    enum Kind : std::uint32_t { kColour = 1, kIndexed = 3 };

    std::optional<FrameBuffer> colour;
    std::optional<IndexedImage> indexed;
    std::optional<Palette> palette;
    std::uint32_t kind = kColour;

    // Size of the colour image when present, else of the indexed image, else 0.
    std::uint32_t Width() const { return colour ? colour->Width() : indexed ? indexed->width : 0; }
    std::uint32_t Height() const { return colour ? colour->Height() : indexed ? indexed->height : 0; }
};

using TexturePtr = std::unique_ptr<Texture>;

}  // namespace orv
