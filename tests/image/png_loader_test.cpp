#include "image/png_loader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tests/image/png_fixture.h"
#include "vesk/err_code_exception.h"

namespace orv {
namespace {

using test::PngFixture;

std::uint32_t ErrorCodeOf(const std::filesystem::path& path) {
    try {
        LoadPng(path.u16string());
    } catch (const vesk::CErrCodeException& error) {
        return error.code;
    }
    return 0;
}

std::vector<std::uint32_t> Pixels(const Texture& texture) {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t y = 0; y < texture.Height(); ++y) {
        for (std::uint32_t x = 0; x < texture.Width(); ++x) pixels.push_back(texture.colour->At(x, y));
    }
    return pixels;
}

PngFixture Fixture(std::uint32_t width, std::uint32_t height, int colour_type, std::vector<std::uint8_t> rows,
                   int bit_depth = 8) {
    PngFixture fixture;
    fixture.width = width;
    fixture.height = height;
    fixture.colour_type = colour_type;
    fixture.rows = std::move(rows);
    fixture.bit_depth = bit_depth;
    return fixture;
}

png_color_16 GreyKey(std::uint16_t grey) {
    png_color_16 key{};
    key.gray = grey;
    return key;
}

png_color_16 RgbKey(std::uint16_t red, std::uint16_t green, std::uint16_t blue) {
    png_color_16 key{};
    key.red = red;
    key.green = green;
    key.blue = blue;
    return key;
}

class PngLoader : public ::testing::Test {
protected:
    std::vector<std::uint32_t> Decode(const PngFixture& fixture) {
        WritePngFixture(File(), fixture);
        const TexturePtr texture = LoadPng(File().u16string());
        EXPECT_EQ(texture->kind, Texture::kColour);
        EXPECT_FALSE(texture->indexed || texture->palette);
        EXPECT_EQ(texture->Width(), fixture.width);
        EXPECT_EQ(texture->Height(), fixture.height);
        return Pixels(*texture);
    }
    std::filesystem::path File() const { return folder_.Path() / "image.png"; }

    test::TempFolder folder_;
};

TEST_F(PngLoader, RgbDecodesToArgbWordsInRowOrder) {
    const PngFixture rgb =
        Fixture(2, 2, PNG_COLOR_TYPE_RGB, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    EXPECT_EQ(Decode(rgb), (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));
}

TEST_F(PngLoader, PaletteTransparencyBecomesAlphaAndUncoveredEntriesStayOpaque) {
    PngFixture palette = Fixture(3, 1, PNG_COLOR_TYPE_PALETTE, {0b00011000}, 2);
    palette.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    palette.palette_alpha = {0};
    EXPECT_EQ(Decode(palette), (std::vector<std::uint32_t>{0x000A141E, 0xFF28323C, 0xFF46505A}));
    palette.palette_alpha.clear();
    EXPECT_EQ(Decode(palette), (std::vector<std::uint32_t>{0xFF0A141E, 0xFF28323C, 0xFF46505A}));
}

TEST_F(PngLoader, GreyIsExpandedToOpaqueRgbAndHonoursItsTransparentValue) {
    PngFixture grey = Fixture(2, 1, PNG_COLOR_TYPE_GRAY, {0x80, 0x20});
    EXPECT_EQ(Decode(grey), (std::vector<std::uint32_t>{0xFF808080, 0xFF202020}));
    grey.transparent_colour = GreyKey(0x20);
    EXPECT_EQ(Decode(grey), (std::vector<std::uint32_t>{0xFF808080, 0x00202020}));

    const PngFixture one_bit = Fixture(3, 1, PNG_COLOR_TYPE_GRAY, {0xA0}, 1);
    EXPECT_EQ(Decode(one_bit), (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}));
}

TEST_F(PngLoader, RgbTransparentColourBecomesAlpha) {
    PngFixture rgb = Fixture(2, 1, PNG_COLOR_TYPE_RGB, {1, 2, 3, 4, 5, 6});
    rgb.transparent_colour = RgbKey(4, 5, 6);
    EXPECT_EQ(Decode(rgb), (std::vector<std::uint32_t>{0xFF010203, 0x00040506}));
}

TEST_F(PngLoader, GreyAlphaAndRgbaKeepTheirAlpha) {
    const PngFixture grey_alpha = Fixture(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, {0x40, 0x00, 0x90, 0x7F});
    EXPECT_EQ(Decode(grey_alpha), (std::vector<std::uint32_t>{0x00404040, 0x7F909090}));
    const PngFixture rgba = Fixture(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, {1, 2, 3, 4});
    EXPECT_EQ(Decode(rgba), (std::vector<std::uint32_t>{0x04010203}));
}

TEST_F(PngLoader, SixteenBitSamplesAreReducedToEightBits) {
    const PngFixture rgba =
        Fixture(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}, 16);
    EXPECT_EQ(Decode(rgba), (std::vector<std::uint32_t>{0xDE12569A}));
    PngFixture grey = Fixture(2, 1, PNG_COLOR_TYPE_GRAY, {0xAB, 0x01, 0xAB, 0x02}, 16);
    grey.transparent_colour = GreyKey(0xAB02);
    // The transparent value is matched on all 16 bits, before the reduction.
    EXPECT_EQ(Decode(grey), (std::vector<std::uint32_t>{0xFFABABAB, 0x00ABABAB}));
}

TEST_F(PngLoader, PlainRowsArePaddedWhileInterlacedRowsArePacked) {
    std::vector<std::uint8_t> samples;
    for (std::uint8_t i = 0; i < 3 * 5 * 4; ++i) samples.push_back(i);
    PngFixture rgba = Fixture(3, 5, PNG_COLOR_TYPE_RGB_ALPHA, samples);
    WritePngFixture(File(), rgba);
    const TexturePtr plain = LoadPng(File().u16string());
    EXPECT_EQ(plain->colour->Row(1) - plain->colour->Row(0), 4);

    rgba.interlaced = true;
    WritePngFixture(File(), rgba);
    const TexturePtr interlaced = LoadPng(File().u16string());
    EXPECT_EQ(interlaced->colour->Row(1) - interlaced->colour->Row(0), 3);
    EXPECT_EQ(Pixels(*interlaced), Pixels(*plain));
    EXPECT_EQ(plain->colour->At(2, 4), 0x3B38393Au);
}

TEST_F(PngLoader, RefusesWhatItCannotRead) {
    EXPECT_EQ(ErrorCodeOf(folder_.Path() / "missing.png"), 2u);

    test::WriteBytes(File(), {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0});
    EXPECT_EQ(ErrorCodeOf(File()), 1u);
    test::WriteBytes(File(), {0x89, 'P', 'N', 'G'});
    EXPECT_EQ(ErrorCodeOf(File()), 1u);
    test::WriteBytes(File(), {});
    EXPECT_EQ(ErrorCodeOf(File()), 1u);

    PngFixture wide = Fixture(65536, 1, PNG_COLOR_TYPE_GRAY, std::vector<std::uint8_t>(65536, 0x55));
    WritePngFixture(File(), wide);
    EXPECT_EQ(ErrorCodeOf(File()), 1u);
    wide.width = 65535;
    wide.rows.resize(65535);
    EXPECT_EQ(Decode(wide).size(), 65535u);
}

TEST_F(PngLoader, OpensNonAsciiPaths) {
    const std::filesystem::path folder = folder_.Path() / u"テクスチャ";
    std::filesystem::create_directory(folder);
    WritePngFixture(folder / u"火花.png", Fixture(1, 1, PNG_COLOR_TYPE_RGB, {9, 8, 7}));
    EXPECT_EQ(LoadPng(folder.u16string() + u"/火花.png")->colour->At(0, 0), 0xFF090807u);
    EXPECT_EQ(ErrorCodeOf(folder / u"火.png"), 2u);

    std::u16string unpaired = folder_.Path().u16string() + u"/a";
    unpaired += char16_t{0xD800};
    EXPECT_THROW(LoadPng(unpaired), vesk::CErrCodeException);
}

}  // namespace
}  // namespace orv
