#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Readers for the render job's output formats, written apart from the writers (libpng, libwebp's
// demuxer, giflib's reader, and a chunk reader of our own for animated PNG whose frames libpng
// decodes), so a test compares what another program would see.
namespace orv::test {

// Pixels as 0xAARRGGBB words, straight alpha, row by row.
struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;

    bool operator==(const Image&) const = default;
};

// libpng's reader; an empty image when the file is no PNG.
Image ReadPng(const std::filesystem::path& file);

// What the frame control chunk of an animated PNG frame says.
struct FrameControl {
    std::uint32_t width = 0, height = 0, x = 0, y = 0;
    std::uint16_t delayNumerator = 0, delayDenominator = 0;
    std::uint8_t dispose = 0, blend = 0;
};

struct AnimatedPng {
    std::string error;  // the first fault found: CRC, sequence number, chunk order, decoding
    std::uint32_t frameCount = 0;  // as acTL says
    std::uint32_t plays = 0;
    bool defaultImageIsFirstFrame = false;  // the first fcTL comes before IDAT
    std::vector<FrameControl> controls;
    std::vector<Image> frames;
};
AnimatedPng ReadAnimatedPng(const std::filesystem::path& file);

struct Animation {
    std::string error;
    int loops = -1;                  // 0 = forever
    std::vector<int> endTimesMs;     // when each frame ends (WebP) / its delay in 1/100 s (GIF)
    std::vector<Image> frames;       // a GIF's transparent index reads as 0x00000000
};
Animation ReadWebp(const std::filesystem::path& file);
Animation ReadGif(const std::filesystem::path& file);

}  // namespace orv::test
