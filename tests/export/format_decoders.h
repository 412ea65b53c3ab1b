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

// An animation as a player shows it.
struct Animation {
    std::string error;             // the first fault found
    int loops = -1;                // 0 = forever
    std::vector<double> delaysMs;  // how long each frame is shown
    std::vector<Image> frames;     // a GIF's transparent index reads as 0x00000000
};
// Besides faults of the chunks (CRC, sequence numbers, order) the animated PNG reader takes as
// faults what would make a player's frames differ from the frames decoded one by one: a frame not
// covering the canvas, not replacing it, or a default image that is not the first frame.
Animation ReadAnimatedPng(const std::filesystem::path& file);
Animation ReadWebp(const std::filesystem::path& file);
Animation ReadGif(const std::filesystem::path& file);

}  // namespace orv::test
