#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/sheet_layout.h"

namespace orv {

// One frame of an atlas page: where it lies on the page, and which part of the full frame that is.
struct AtlasFrame {
    std::string name;     // UTF-8
    PixelRect onPage;     // "frame"
    PixelRect inSource;   // "spriteSourceSize": the trimmed part, or the whole frame
};

// What the "meta" object says about a page.
struct AtlasPage {
    std::string image;  // the page's file name, without folder (UTF-8)
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t sourceWidth = 0;   // the full frame, "sourceSize"
    std::uint32_t sourceHeight = 0;
    std::uint32_t framesPerSecond = 0;
};

// The page's atlas in the widely read "JSON hash" layout: "frames" keyed by frame name, then
// "meta" with the program, the image, its pixel format, size and scale, and the frame rate.
std::string AtlasJson(const std::vector<AtlasFrame>& frames, const AtlasPage& page);

}  // namespace orv
