// Runs the decoder over the public PNG test suite: every valid file must decode to the published
// pixels, every deliberately broken one must be refused, and damaged copies must never crash.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "image/png_loader.h"
#include "tests/image/png_fixture.h"
#include "tests/image/sha256.h"
#include "vesk/err_code_exception.h"

namespace orv {
namespace {

const std::filesystem::path kSuite = ORV_TESTDATA_DIR "/pngsuite";

#define SKIP_WITHOUT_SUITE() \
    if (!std::filesystem::is_directory(kSuite / "png")) GTEST_SKIP() << "no PNG test suite at " << kSuite

std::vector<std::filesystem::path> SuiteFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kSuite / "png")) {
        if (entry.path().extension() == ".png") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool Broken(const std::filesystem::path& file) {
    return file.filename().string().front() == 'x';
}

std::vector<std::uint8_t> RgbaBytes(const Texture& texture) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t y = 0; y < texture.Height(); ++y) {
        for (std::uint32_t x = 0; x < texture.Width(); ++x) {
            const std::uint32_t pixel = texture.colour->At(x, y);
            for (const int shift : {16, 8, 0, 24}) bytes.push_back(static_cast<std::uint8_t>(pixel >> shift));
        }
    }
    return bytes;
}

// Outcome of decoding a possibly damaged file: 0 when it decoded, else the error code. Anything
// other than a CErrCodeException escapes and fails the test.
std::uint32_t Outcome(const std::filesystem::path& file) {
    try {
        const TexturePtr texture = LoadPng(file.u16string());
        return texture && texture->colour ? 0 : 99;
    } catch (const vesk::CErrCodeException& error) {
        return error.code;
    }
}

// Recomputes every chunk's CRC so that damage reaches the chunk parsers and the inflater
// instead of being caught by the checksum alone.
void FixChunkCrcs(std::vector<std::uint8_t>& bytes) {
    std::size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const std::size_t length = std::size_t{bytes[at]} << 24 | std::size_t{bytes[at + 1]} << 16 |
                                   std::size_t{bytes[at + 2]} << 8 | bytes[at + 3];
        if (length > bytes.size() - at - 12) return;
        const uLong crc = crc32(0, bytes.data() + at + 4, static_cast<uInt>(length + 4));
        for (int i = 0; i < 4; ++i)
            bytes[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at += length + 12;
    }
}

const char* const kDamageSamples[] = {"basn2c08.png", "basi3p02.png", "basn0g16.png", "basi6a16.png",
                                      "tbrn2c08.png", "basi4a08.png", "tbbn3p08.png"};

TEST(PngSuite, ValidFilesDecodeToThePublishedPixels) {
    SKIP_WITHOUT_SUITE();
    std::map<std::string, std::string> expected;
    std::ifstream list(kSuite / "expected-rgba.txt");
    for (std::string name, digest; list >> name >> digest;) expected[name] = digest;

    int decoded = 0, compared = 0;
    for (const auto& file : SuiteFiles()) {
        if (Broken(file)) continue;
        SCOPED_TRACE(file.filename().string());
        TexturePtr texture;
        ASSERT_NO_THROW(texture = LoadPng(file.u16string()));
        ASSERT_TRUE(texture->colour);
        std::uint32_t width = 0, height = 0;
        const std::vector<std::uint8_t> reference = test::ReadRgbaWithLibpng(file, width, height);
        EXPECT_EQ(texture->Width(), width);
        EXPECT_EQ(texture->Height(), height);
        ++decoded;
        const auto digest = expected.find(file.filename().string());
        if (digest == expected.end()) continue;
        EXPECT_EQ(test::Sha256Hex(RgbaBytes(*texture)), digest->second);
        ++compared;
    }
    EXPECT_GT(decoded, 150);
    EXPECT_EQ(compared, static_cast<int>(expected.size()));
}

TEST(PngSuite, InterlacedFilesMatchTheirPlainTwins) {
    SKIP_WITHOUT_SUITE();
    // Covers the 16-bit files, which have no published digest.
    for (const auto& file : SuiteFiles()) {
        std::string name = file.filename().string();
        if (name.rfind("basi", 0) != 0) continue;
        SCOPED_TRACE(name);
        name[3] = 'n';
        EXPECT_EQ(RgbaBytes(*LoadPng(file.u16string())),
                  RgbaBytes(*LoadPng((file.parent_path() / name).u16string())));
    }
}

TEST(PngSuite, BrokenFilesAreRefusedWithCodeOne) {
    SKIP_WITHOUT_SUITE();
    int refused = 0;
    for (const auto& file : SuiteFiles()) {
        if (!Broken(file)) continue;
        EXPECT_EQ(Outcome(file), 1u) << file.filename().string();
        ++refused;
    }
    EXPECT_EQ(refused, 14);
}

TEST(PngSuite, TruncatedCopiesAreRefused) {
    SKIP_WITHOUT_SUITE();
    const test::TempFolder folder;
    const std::filesystem::path copy = folder.Path() / "cut.png";
    for (const char* name : kDamageSamples) {
        const std::vector<std::uint8_t> whole = test::ReadBytes(kSuite / "png" / name);
        ASSERT_FALSE(whole.empty()) << name;
        for (std::size_t length = 0; length < whole.size(); length += 1 + length / 64) {
            test::WriteBytes(copy, {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)});
            EXPECT_EQ(Outcome(copy), 1u) << name << " cut at " << length;
        }
    }
}

TEST(PngSuite, DamagedBytesNeverCrash) {
    SKIP_WITHOUT_SUITE();
    const test::TempFolder folder;
    const std::filesystem::path copy = folder.Path() / "damaged.png";
    for (const char* name : kDamageSamples) {
        const std::vector<std::uint8_t> whole = test::ReadBytes(kSuite / "png" / name);
        for (std::size_t at = 8; at < whole.size(); at += 1 + at / 128) {
            for (const bool fix_crcs : {false, true}) {
                std::vector<std::uint8_t> bytes = whole;
                bytes[at] ^= static_cast<std::uint8_t>(1u << (at % 8));
                if (fix_crcs) FixChunkCrcs(bytes);
                test::WriteBytes(copy, bytes);
                const std::uint32_t outcome = Outcome(copy);
                EXPECT_TRUE(outcome == 0 || outcome == 1) << name << " byte " << at << " gave " << outcome;
            }
        }
    }
}

}  // namespace
}  // namespace orv
