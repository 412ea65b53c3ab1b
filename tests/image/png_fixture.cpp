#include "tests/image/png_fixture.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>

namespace orv::test {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void ThrowOnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

bool WriteSteps(png_structp png, png_infop info, std::FILE* file, const PngFixture& fixture,
                png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, fixture.width, fixture.height, fixture.bit_depth, fixture.colour_type,
                 fixture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!fixture.palette.empty()) {
        png_set_PLTE(png, info, fixture.palette.data(), static_cast<int>(fixture.palette.size()));
    }
    if (!fixture.palette_alpha.empty()) {
        png_set_tRNS(png, info, fixture.palette_alpha.data(), static_cast<int>(fixture.palette_alpha.size()),
                     nullptr);
    } else if (fixture.transparent_colour) {
        png_set_tRNS(png, info, nullptr, 0, &*fixture.transparent_colour);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

}  // namespace

void WritePngFixture(const std::filesystem::path& path, const PngFixture& fixture) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) throw std::runtime_error("cannot create " + path.string());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ThrowOnPngError, nullptr);
    png_infop info = png_create_info_struct(png);
    const std::size_t row_bytes = fixture.rows.size() / fixture.height;
    std::vector<png_bytep> rows(fixture.height);
    std::vector<std::uint8_t> samples = fixture.rows;
    for (std::uint32_t y = 0; y < fixture.height; ++y) rows[y] = samples.data() + y * row_bytes;
    const bool written = WriteSteps(png, info, file.get(), fixture, rows.data());
    png_destroy_write_struct(&png, &info);
    if (!written) throw std::runtime_error("libpng refused the fixture " + path.string());
}

std::vector<std::uint8_t> ReadRgbaWithLibpng(const std::filesystem::path& path, std::uint32_t& width,
                                             std::uint32_t& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    width = image.width;
    height = image.height;
    return pixels;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TempFolder::TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("orv-image-test-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace orv::test
