// The PNG decoder over the public PNG test suite and damaged copies of it, the PNG writer read back
// through the decoder, and the transparent-pixel bleed.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "image/png_loader.h"
#include "image/png_writer.h"
#include "image/transparent_bleed.h"
#include "tests/image/sha256.h"
#include "tests/support/temp_folder.h"
#include "vesk/err_code_exception.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
const fs::path kSuite = ORV_TESTDATA_DIR "/pngsuite/png";

// Red, green, blue, alpha bytes, rows top to bottom: the form of the suite's published digests.
std::vector<std::uint8_t> RgbaBytes(const FrameBuffer& image) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t i = 0; i < image.Width() * image.Height(); ++i) {
        const std::uint32_t pixel = image.At(i % image.Width(), i / image.Width());
        for (const int shift : {16, 8, 0, 24}) bytes.push_back(static_cast<std::uint8_t>(pixel >> shift));
    }
    return bytes;
}

// The code and message of the CErrCodeException that the call throws, {0, ""} when it throws
// none; any other exception escapes and fails the test.
std::pair<std::uint32_t, std::string> Thrown(const std::function<void()>& call) {
    try {
        call();
    } catch (const vesk::CErrCodeException& error) {
        return {error.code, error.Message()};
    }
    return {0, ""};
}

// What loading a file of these bytes throws, as Thrown.
std::pair<std::uint32_t, std::string> LoadError(const std::string& bytes) {
    static const test::TempFolder folder;
    const fs::path file = folder.Path() / "damaged.png";
    test::WriteFileBytes(file, bytes);
    return Thrown([&] { LoadPng(file.u16string()); });
}

TEST(PngSuite, ValidFilesDecodeToThePublishedPixelsAndBrokenOnesAreRefused) {
    if (!fs::is_directory(kSuite)) GTEST_SKIP() << "no PNG test suite at " << kSuite;
    // The published digests, and the 16-bit files' that were not: these were computed apart from the
    // decoder, from each sample's high byte and the transparent colour matched on all 16 bits.
    std::stringstream digests;
    digests << std::ifstream(kSuite.parent_path() / "expected-rgba.txt").rdbuf()
            << "basn0g16.png 5f42df4fd50dbea319bd9a4c26f7d5e37ce60f71fa35c28039abcd812609a6bc\n"
               "basn2c16.png 7c4b73e829f02793549b4480e25f0c0b332abcb24ac059dbad855fd1d726c17a\n"
               "basn4a16.png e96f0631f384c4542828119375d5836cf263ace118100fd4ff0c5d3624d2c454\n"
               "basi6a16.png f6912d034804dc6b009afea0108cd07b524f79ac84d670f92ce077eec63bead7\n"
               "tbwn0g16.png 9b13bcf30183dec6d30f0d9a9c602331402151a8d9089433d3f2085db09f00e5\n"
               "tbbn2c16.png 053eb9d28b7ac85c3639b5169a175df61856cef7ffdaa7ad218cafdde9646d08\n";
    std::map<std::string, std::string> expected;
    for (std::string name, digest; digests >> name >> digest;) expected[name] = digest;
    std::size_t files = 0, refused = 0, compared = 0;
    for (const auto& entry : fs::directory_iterator(kSuite)) {
        const std::string name = entry.path().filename().string();
        const bool broken = name[0] == 'x';  // deliberately broken
        EXPECT_EQ(LoadError(test::ReadFileBytes(entry.path())).first, broken ? 1u : 0u) << name;
        ++files;
        refused += broken;
        if (broken || expected.count(name) == 0) continue;
        EXPECT_EQ(test::Sha256Hex(RgbaBytes(*LoadPng(entry.path().u16string())->colour)), expected[name])
            << name;
        ++compared;
    }
    EXPECT_EQ(refused, 14u);
    EXPECT_GT(files - refused, 150u);
    EXPECT_EQ(compared, expected.size());
}

// Makes every chunk's CRC right again, so that damage reaches the chunk parsers and the inflater.
void FixChunkCrcs(std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t c = 8, size; c + 12 <= bytes.size(); c += size + 12) {
        size = std::size_t{data[c]} << 24 | data[c + 1] << 16 | data[c + 2] << 8 | data[c + 3];
        if (size > bytes.size() - c - 12) break;
        const uLong crc = crc32(0, data + c + 4, static_cast<uInt>(size + 4));
        for (int i = 0; i < 4; ++i) bytes[c + 8 + size + i] = static_cast<char>(crc >> (24 - 8 * i));
    }
}

TEST(PngSuite, TruncatedOrDamagedCopiesNeverCrash) {
    if (!fs::is_directory(kSuite)) GTEST_SKIP() << "no PNG test suite at " << kSuite;
    for (const char* name : {"basn2c08.png", "basi3p02.png", "basn0g16.png", "basi6a16.png", "tbrn2c08.png",
                             "basi4a08.png", "tbbn3p08.png"}) {
        const std::string whole = test::ReadFileBytes(kSuite / name);
        ASSERT_FALSE(whole.empty()) << name;
        for (std::size_t length = 0; length < whole.size(); length += 1 + length / 64)
            EXPECT_EQ(LoadError(whole.substr(0, length)).first, 1u) << name << " cut at " << length;
        for (std::size_t at = 8; at < whole.size(); at += 1 + at / 128) {
            std::string bytes = whole;
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << (at % 8)));
            for (const bool fixCrcs : {false, true}) {
                if (fixCrcs) FixChunkCrcs(bytes);
                EXPECT_LE(LoadError(bytes).first, 1u) << name << " byte " << at;  // 0 loaded, 1 refused
            }
        }
    }
}

// Sparse sprites on a transparent ground, a gradient and noise of every alpha value with colour
// under alpha 0: the kinds of rows that each row filter and each deflate strategy handle differently.
void DrawPattern(FrameBuffer& image) {
    std::uint32_t noise = 12345;
    for (std::uint32_t y = 0; y < image.Height(); ++y) {
        for (std::uint32_t x = 0; x < image.Width(); ++x) {
            noise = noise * 1103515245u + 12345u;
            const std::uint32_t gradient = (x * 255 / 202) << 24 | (y * 8) << 16 | x << 8 | 0x40;
            const std::uint32_t sprites = (x / 16 + y / 16) % 3 == 0 ? 0xC0FF8020 : 0;
            image.At(x, y) = y < 30 ? gradient : y < 60 ? sprites : noise >> 8 | (noise & 0xFF000000);
        }
    }
}

TEST(PngCodec, EveryCompressionReadsBackExactlyAndTheDefaultWritesTheSameBytesAsEver) {
    const test::TempFolder folder;
    // A bottom-up view of an odd width whose row padding holds garbage: only the rows may reach the file.
    std::vector<std::uint32_t> memory(206 * 97, 0xDEADBEEF);
    Texture texture;
    FrameBuffer& image = texture.colour.emplace();
    image.View(memory.data() + 96 * 206, 203, 97, -206);
    DrawPattern(image);
    std::map<PngCompression, std::string> files;
    for (const PngCompression compression :
         {PngCompression::kDefault, PngCompression::kFast, PngCompression::kSmall}) {
        const std::string name(PngCompressionName(compression));
        const fs::path file = folder.Path() / (u"\u706b\u82b1-" + fs::path(name).u16string());  // non-ASCII
        ASSERT_TRUE(SavePng(file.u16string(), texture, compression));
        EXPECT_EQ(RgbaBytes(*LoadPng(file.u16string())->colour), RgbaBytes(image)) << name;
        files[compression] = test::ReadFileBytes(file);
    }
    // The digest of this frame as the writer produced it before the compression choice existed
    // (8-bit RGBA, not interlaced, with significant bits).
    EXPECT_EQ(test::Sha256Hex({reinterpret_cast<const std::uint8_t*>(files[PngCompression::kDefault].data()),
                               files[PngCompression::kDefault].size()}),
              "896c4f0061e32890ec5c4f36ab0f8073c2493e40d394e51a1d0878bda7f8540c");
    // The choice reaches the encoder: each setting packs the rows its own way (that the fast files
    // differ from the default ones is the render job's test).
    EXPECT_NE(files[PngCompression::kSmall], files[PngCompression::kFast]);
}

// A few kilobytes of file may declare gigabytes of pixels: such a picture is refused from its
// header, before any pixel memory is taken, and the message says why. The widest picture taken
// is written and read.
TEST(PngCodec, OversizedPicturesAreRefusedFromTheirHeader) {
    const test::TempFolder folder;
    const fs::path file = folder.Path() / "big.png";
    Texture widest;
    widest.colour.emplace(16384, 1);
    ASSERT_TRUE(SavePng(file.u16string(), widest));
    const std::string taken = test::ReadFileBytes(file);
    EXPECT_EQ(LoadError(taken).first, 0u);
    for (const auto& [width, height] :
         {std::pair{20000u, 20000u}, {16385u, 1u}, {1u, 16385u}, {16384u, 4097u}}) {
        std::string bytes = taken;  // the header's width and height, big-endian
        for (int i = 0; i < 8; ++i)
            bytes[16 + i] = static_cast<char>((i < 4 ? width : height) >> (24 - i % 4 * 8));
        FixChunkCrcs(bytes);
        const auto [code, message] = LoadError(bytes);
        EXPECT_EQ(code, 1u);
        EXPECT_PRED_FORMAT2(::testing::IsSubstring,
                            std::to_string(width) + " x " + std::to_string(height) + " pixels", message);
    }
}

TEST(PngCodec, FailuresAreReportedWithTheirCodes) {
    const test::TempFolder folder;
    const fs::path missing = folder.Path() / "missing";
    EXPECT_EQ(Thrown([&] { LoadPng((missing / "a.png").u16string()); }).first, 2u);
    EXPECT_EQ(Thrown([&] { LoadPng(folder.Path().u16string() + u"/a\xD800.png"); }).first, 2u);
    Texture frame;
    frame.colour.emplace(800, 600);
    EXPECT_EQ(Thrown([&] { SavePng((missing / "a.png").u16string(), frame); }).first, 2u);
    EXPECT_FALSE(fs::exists(missing));
    // A full disk is never reported as written, whether the data is lost mid-image or in the last flush.
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(Thrown([&] { SavePng(u"/dev/full", frame); }).first, 1u);
        frame.colour.emplace(1, 1);
        EXPECT_EQ(Thrown([&] { SavePng(u"/dev/full", frame); }).first, 1u);
    }
    frame.colour.emplace();  // no pixels: nothing written
    EXPECT_FALSE(SavePng((folder.Path() / "e.png").u16string(), frame));
    EXPECT_FALSE(fs::exists(folder.Path() / "e.png"));
}

// Most example textures already carry their neighbours' colour under alpha 0, and what bleeding
// changes shows only faintly at sprite edges, so the golden frames would hardly see a fault here.
TEST(TransparentBleed, TakesOneVisibleNeighbourRightLeftBelowAbove) {
    // A partly transparent pixel counts as visible; a pixel bled earlier never feeds a later one.
    const std::uint32_t red = 0xFFFF0000, blue = 0xFF0000FF, green = 0x0100FF00, none = 0x00777777;
    const std::uint32_t r0 = 0x00FF0000, b0 = 0x000000FF, g0 = 0x0000FF00;  // their colours under alpha 0
    const std::uint32_t pixels[12] = {none, none, none, none, red, none, blue, blue, none, green, none, none};
    const std::uint32_t bled[12] = {r0, 0, b0, b0, red, b0, blue, blue, g0, green, g0, b0};
    FrameBuffer image(4, 3);
    for (std::uint32_t i = 0; i < 12; ++i) image.At(i % 4, i / 4) = pixels[i];
    BleedTransparentPixels(image);
    for (std::uint32_t i = 0; i < 12; ++i) EXPECT_EQ(image.At(i % 4, i / 4), bled[i]) << i;
}

}  // namespace
}  // namespace orv
