#include "tests/effectfile/test_support.h"

#include <gtest/gtest.h>

#include "image/png_writer.h"

namespace orv::test {

void WritePng(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height) {
    Texture texture;
    FrameBuffer& image = texture.colour.emplace(width, height);
    for (std::uint32_t y = 0; y < height; ++y) std::fill_n(image.Row(y), width, 0xFF336699u);
    ASSERT_TRUE(SavePng(path.u16string(), texture));
}

}  // namespace orv::test
