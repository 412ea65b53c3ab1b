#include "image/png_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/png_loader.h"
#include "tests/image/png_fixture.h"
#include "vesk/err_code_exception.h"

namespace orv {
namespace {

Texture Frame(std::uint32_t width, std::uint32_t height, std::uint32_t first_pixel, std::uint32_t step) {
    Texture texture;
    FrameBuffer& image = texture.colour.emplace(width, height);
    std::uint32_t pixel = first_pixel;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x, pixel += step) image.At(x, y) = pixel;
    }
    return texture;
}

std::vector<std::uint8_t> ExpectedRgba(const Texture& texture) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t y = 0; y < texture.Height(); ++y) {
        for (std::uint32_t x = 0; x < texture.Width(); ++x) {
            const std::uint32_t pixel = texture.colour->At(x, y);
            for (const int shift : {16, 8, 0, 24}) bytes.push_back(static_cast<std::uint8_t>(pixel >> shift));
        }
    }
    return bytes;
}

std::uint32_t SaveErrorCode(const std::filesystem::path& path, const Texture& texture) {
    try {
        SavePng(path.u16string(), texture);
    } catch (const vesk::CErrCodeException& error) {
        return error.code;
    }
    return 0;
}

class PngWriter : public ::testing::Test {
protected:
    // Writes the texture, then checks the file with libpng's own reader and with the decoder.
    void ExpectRoundTrip(const Texture& texture) {
        ASSERT_TRUE(SavePng(File().u16string(), texture));
        std::uint32_t width = 0, height = 0;
        EXPECT_EQ(test::ReadRgbaWithLibpng(File(), width, height), ExpectedRgba(texture));
        EXPECT_EQ(width, texture.Width());
        EXPECT_EQ(height, texture.Height());
        const TexturePtr back = LoadPng(File().u16string());
        EXPECT_EQ(ExpectedRgba(*back), ExpectedRgba(texture));
    }
    std::filesystem::path File() const { return folder_.Path() / "frame000000.png"; }

    test::TempFolder folder_;
};

TEST_F(PngWriter, WritesStraightAlphaInRgbaOrder) {
    const Texture pixel = Frame(1, 1, 0x80FF0000, 0);
    ExpectRoundTrip(pixel);
    std::uint32_t width = 0, height = 0;
    EXPECT_EQ(test::ReadRgbaWithLibpng(File(), width, height), (std::vector<std::uint8_t>{255, 0, 0, 128}));
}

TEST_F(PngWriter, KeepsEveryAlphaValueAndTheColourUnderZeroAlpha) {
    ExpectRoundTrip(Frame(256, 3, 0x00123456, 0x01010307));
    ExpectRoundTrip(Frame(7, 4, 0x00FF8040, 0x00010101));  // fully transparent frame
}

TEST_F(PngWriter, PaddingOfOddWidthsNeverReachesTheFile) {
    Texture texture = Frame(5, 3, 0xFF000000, 0x00010203);
    for (std::uint32_t y = 0; y < 3; ++y) {
        for (std::uint32_t x = 5; x < FrameBuffer::StrideFor(5); ++x) texture.colour->Row(y)[x] = 0xDEADBEEF;
    }
    ExpectRoundTrip(texture);
}

TEST_F(PngWriter, FollowsTheRowTableOfAViewedImage) {
    // A bottom-up view: row 0 is the last row in memory.
    std::vector<std::uint32_t> memory = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004};
    Texture texture;
    texture.colour.emplace().View(memory.data() + 2, 2, 2, -2);
    ASSERT_TRUE(SavePng(File().u16string(), texture));
    const TexturePtr back = LoadPng(File().u16string());
    EXPECT_EQ(back->colour->At(0, 0), 0xFF000003u);
    EXPECT_EQ(back->colour->At(1, 1), 0xFF000002u);
}

TEST_F(PngWriter, HeaderIsEightBitRgbaWithSignificantBits) {
    ASSERT_TRUE(SavePng(File().u16string(), Frame(3, 2, 0xFF000000, 1)));
    const std::vector<std::uint8_t> bytes = test::ReadBytes(File());
    ASSERT_GT(bytes.size(), 45u);
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR");
    EXPECT_EQ(bytes[24], 8);  // bit depth
    EXPECT_EQ(bytes[25], 6);  // RGB with alpha
    EXPECT_EQ(bytes[28], 0);  // not interlaced
    EXPECT_EQ(std::string(bytes.begin() + 37, bytes.begin() + 41), "sBIT");
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 41, bytes.begin() + 45),
              (std::vector<std::uint8_t>{8, 8, 8, 8}));
}

TEST_F(PngWriter, WritesNothingWithoutAnImage) {
    EXPECT_FALSE(SavePng(File().u16string(), Texture{}));
    Texture empty;
    empty.colour.emplace();
    EXPECT_FALSE(SavePng(File().u16string(), empty));
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(PngWriter, MissingFolderFailsWithCodeTwoAndCreatesNothing) {
    const std::filesystem::path folder = folder_.Path() / "missing";
    EXPECT_EQ(SaveErrorCode(folder / "frame.png", Frame(2, 2, 0, 1)), 2u);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(PngWriter, FullDiskIsNeverReportedAsWritten) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(SaveErrorCode("/dev/full", Frame(1, 1, 0, 0)), 1u);               // lost in the final flush
    EXPECT_EQ(SaveErrorCode("/dev/full", Frame(800, 600, 0, 0x01010101)), 1u);  // lost mid-image
}

}  // namespace
}  // namespace orv
