#pragma once

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orv::test {

// A PNG to be written by libpng itself, so the decoder is tested against files it did not make.
struct PngFixture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bit_depth = 8;
    int colour_type = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<std::uint8_t> rows;  // every row packed as the file stores it (16-bit big-endian), top first
    std::vector<png_color> palette;
    std::vector<std::uint8_t> palette_alpha;
    std::optional<png_color_16> transparent_colour;
};

void WritePngFixture(const std::filesystem::path& path, const PngFixture& fixture);

// Decodes with libpng's simplified reader into red, green, blue, alpha bytes, independently of
// the decoder under test; empty when the file is not a readable PNG.
std::vector<std::uint8_t> ReadRgbaWithLibpng(const std::filesystem::path& path, std::uint32_t& width,
                                             std::uint32_t& height);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace orv::test
