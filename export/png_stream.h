#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "image/png_compression.h"

namespace orv {

class SinkFile;

// Writes a PNG file chunk by chunk. Debian's libpng has no API for the animation chunks (acTL,
// fcTL, fdAT), so the animated PNG writes every chunk here, around zlib's deflate data; the sheet's
// pages use the same writer, which takes the image a row at a time.
class PngChunkWriter {
public:
    explicit PngChunkWriter(SinkFile& file) : file_(file) {}

    // The signature and the header of an 8-bit RGBA image.
    void Begin(std::uint32_t width, std::uint32_t height);
    // One chunk: length, type, data, CRC of type and data.
    void Chunk(std::string_view type, const std::uint8_t* data, std::size_t size);
    void End() { Chunk("IEND", nullptr, 0); }

private:
    SinkFile& file_;
};

// A big-endian 32-bit field, as every PNG number is stored.
void AppendBigEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value);

// Deflates the rows of one image (straight-alpha 0xAARRGGBB pixels, stored as RGBA with the "up"
// filter) and hands the compressed bytes on in pieces of at most 64 KiB, so a frame is never held
// whole, compressed or not.
class PngImageData {
public:
    using Emit = std::function<void(const std::uint8_t* bytes, std::size_t size)>;

    PngImageData(std::uint32_t width, PngCompression compression, Emit emit);
    ~PngImageData();
    PngImageData(const PngImageData&) = delete;
    PngImageData& operator=(const PngImageData&) = delete;

    void Row(const std::uint32_t* pixels);
    // After the last row: flushes the rest of the stream.
    void End();

private:
    void Deflate(const std::uint8_t* bytes, std::size_t size, int flush);

    const Emit emit_;
    z_stream stream_{};
    std::vector<std::uint8_t> row_;       // filter byte + RGBA of the current row
    std::vector<std::uint8_t> previous_;  // RGBA of the row above (zeros above the first)
    std::vector<std::uint8_t> out_;
};

}  // namespace orv
