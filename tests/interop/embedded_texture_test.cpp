// Images embedded in .plist / .pex files: written beside the file as PNG, never over another file.
#include <gtest/gtest.h>

#include <tiffio.h>
#include <zlib.h>

#include <stdexcept>

#include "interop/embedded_data.h"
#include "tests/interop/interop_test_support.h"

namespace orv::test {
namespace {

Bytes FileBytes(const std::filesystem::path& path) {
    const std::string text = ReadFileBytes(path);
    return Bytes(text.begin(), text.end());
}

// A 3 x 2 RGBA TIFF in big-endian byte order ("MM"), with one half-transparent pixel.
Bytes TiffBytes(const std::filesystem::path& scratch) {
    TIFF* tiff = TIFFOpen(scratch.c_str(), "wb");
    EXPECT_NE(tiff, nullptr);
    for (const auto& [tag, value] : {std::pair{TIFFTAG_IMAGEWIDTH, 3}, {TIFFTAG_IMAGELENGTH, 2}, {TIFFTAG_BITSPERSAMPLE, 8},
                                     {TIFFTAG_SAMPLESPERPIXEL, 4}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
                                     {TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG}, {TIFFTAG_COMPRESSION, COMPRESSION_LZW}})
        TIFFSetField(tiff, tag, value);
    const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    std::uint8_t rows[2][12] = {{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255},
                                {200, 100, 50, 128, 0, 0, 0, 0, 255, 255, 255, 255}};
    for (std::uint32_t y = 0; y < 2; ++y) TIFFWriteScanline(tiff, rows[y], y, 0);
    TIFFClose(tiff);
    Bytes bytes = FileBytes(scratch);
    std::filesystem::remove(scratch);
    return bytes;
}

Bytes Zlib(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    compress(out.data(), &size, data.data(), static_cast<uLong>(data.size()));
    out.resize(size);
    return out;
}

std::string PlistWithImage(const std::string& name, const Bytes& compressed) {
    return PlistText({{"textureFileName", Text(name)}, {"textureImageData", Text(EncodeBase64(compressed))}});
}

// .pex readers take embedded data before the named file.
std::string PexWithImage(const std::string& name, const Bytes& compressed) {
    return "<particleEmitterConfig><texture name=\"" + name + "\" data=\"" + EncodeBase64(compressed) +
           "\"/></particleEmitterConfig>";
}

TEST(EmbeddedData, Base64AndGzipRoundTripAndInflateRefusesBadOrHugeData) {
    for (std::size_t size : {0u, 1u, 2u, 3u, 4u, 1000u}) {
        Bytes data(size);
        for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 3);
        EXPECT_EQ(DecodeBase64(EncodeBase64(data)), data);
        EXPECT_EQ(Inflate(Gzip(data)), data);
        EXPECT_EQ(Inflate(Zlib(data)), data);
    }
    // Line breaks inside the text are skipped; '=' ends it.
    EXPECT_EQ(DecodeBase64("QU\nJD\r\nRA==junk"), (Bytes{'A', 'B', 'C', 'D'}));
    EXPECT_THROW(Inflate(Bytes{1, 2, 3, 4, 5}), std::runtime_error);
    const Bytes zeros(1 << 20);
    EXPECT_THROW(Inflate(Gzip(zeros), 1000), std::runtime_error);
    Bytes cut = Gzip(zeros);
    cut.resize(cut.size() / 2);
    EXPECT_THROW(Inflate(cut), std::runtime_error);
}

// A .plist takes the named file when it exists, a .pex its embedded data; embedded data is written
// beside the file, never over another file, and the same image again reuses its file.
TEST(EmbeddedTexture, PngIsWrittenBesideTheFileWithoutOverwritingAndTheNamedFileWinsOnlyInPlist) {
    TempFolder folder;
    WritePng(folder.Path() / "source.png", 5, 4);
    const Bytes png = FileBytes(folder.Path() / "source.png");
    WritePng(folder.Path() / "spark.png", 2, 2);
    const std::string before = ReadFileBytes(folder.Path() / "spark.png");

    const ImportedEmitters plist = ImportText(folder, "n.plist", PlistWithImage("spark.png", Gzip(png)));
    EXPECT_EQ(plist.emitters[0]->texture.Image()->Width(), 2u);
    const ImportedEmitters first = ImportText(folder, "a.pex", PexWithImage("spark.png", Gzip(png)));
    EXPECT_EQ(ReadFileBytes(folder.Path() / "spark.png"), before);
    EXPECT_EQ(FileBytes(folder.Path() / "spark-1.png"), png);
    ASSERT_NE(first.emitters[0]->texture.Image(), nullptr);
    EXPECT_EQ(first.emitters[0]->texture.Image()->Width(), 5u);
    const ImportedEmitters second = ImportText(folder, "b.pex", PexWithImage("spark.png", Gzip(png)));
    EXPECT_EQ(std::filesystem::path(second.emitters[0]->texture.FileName()).filename(), "spark-1.png");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "spark-2.png"));
}

TEST(EmbeddedTexture, TiffNamedPngIsDecodedBySignature) {
    TempFolder folder;
    const Bytes tiff = TiffBytes(folder.Path() / "scratch.tif");
    ASSERT_EQ(SniffImage(tiff), ImageSignature::kTiff);
    // .pex data, zlib instead of gzip: both are read.
    const ImportedEmitters imported = ImportText(folder, "t.pex", PexWithImage("fire.png", Zlib(tiff)));
    const Texture* image = imported.emitters[0]->texture.Image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(SniffImage(FileBytes(folder.Path() / "fire.png")), ImageSignature::kPng);
    ASSERT_EQ(std::pair(image->Width(), image->Height()), std::pair(3u, 2u));
    EXPECT_EQ(std::vector(image->colour->Row(0), image->colour->Row(0) + 3),
              (std::vector<std::uint32_t>{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}));
    // Straight alpha as the file holds it (within rounding of libtiff's premultiplication).
    const std::uint32_t half = image->colour->Row(1)[0];
    EXPECT_EQ(half >> 24, 128u);
    EXPECT_NEAR(static_cast<int>((half >> 16) & 0xFF), 200, 2);
}

TEST(EmbeddedTexture, OtherImagesAreReportedAndBrokenOnesRefused) {
    TempFolder folder;
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F'};
    const ImportedEmitters imported = ImportText(folder, "j.plist", PlistWithImage("photo.jpg", Gzip(jpeg)));
    EXPECT_EQ(imported.emitters[0]->texture.Image(), nullptr);
    EXPECT_TRUE(Reports(imported.report, "neither PNG nor TIFF"));

    // A broken PNG, a broken TIFF, and no image at all: refused, and nothing written.
    const Bytes broken[] = {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'},
                            {'M', 'M', 0, 42, 0, 0, 0, 8, 0xFF, 0xFF}};
    for (const Bytes& bytes : broken) {
        EXPECT_THROW(ImportText(folder, "p.plist", PlistWithImage("p.png", Gzip(bytes))), std::runtime_error);
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / "p.png"));
    }
    EXPECT_THROW(ImportText(folder, "r.plist", PlistWithImage("r.png", Bytes{1, 2, 3})), std::runtime_error);
}

}  // namespace
}  // namespace orv::test
