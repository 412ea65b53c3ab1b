#include "image/png_loader.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstdint>
#include <string>
#include <vector>

#include "image/file_open.h"
#include "image/png_error_handling.h"
#include "vesk/err_code_exception.h"

namespace orv {

namespace {

constexpr std::uint32_t kNoSupport = 1;
constexpr std::uint32_t kCannotOpen = 2;
// A texture larger than this would take gigabytes before anything is drawn; a few kilobytes of
// compressed file can declare that much.
constexpr std::uint32_t kMaxSide = 16384;
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;
constexpr std::size_t kSignatureSize = 8;

// Code 1 like any other unreadable picture, with a message that names the declared size.
class ImageTooLarge final : public vesk::CErrCodeException {
public:
    ImageTooLarge(std::uint32_t width, std::uint32_t height) : CErrCodeException(kNoSupport) {
        message_ = "image of " + std::to_string(width);
        message_ += " x ";
        message_ += std::to_string(height);
        message_ += " pixels is larger than allowed (";
        message_ += std::to_string(kMaxSide);
        message_ += " pixels a side, ";
        message_ += std::to_string(kMaxPixels);
        message_ += " in all)";
    }
    const char* Message() const override { return message_.c_str(); }

private:
    std::string message_;
};

// The steps below call into libpng, whose error callback jumps back to their setjmp. They keep
// nothing with a destructor in their frames and report the error as a false result.

bool ReadHeaderChunks(png_structp png, png_infop info, std::FILE* file) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_sig_bytes(png, static_cast<int>(kSignatureSize));
    png_read_info(png, info);
    return true;
}

// Every colour type ends as 8-bit blue, green, red, alpha in memory: the FrameBuffer format.
bool RequestBgraRows(png_structp png, png_infop info, int colour_type, bool has_trns) {
    if (setjmp(png_jmpbuf(png))) return false;
    switch (colour_type) {
        case PNG_COLOR_TYPE_PALETTE:
            png_set_palette_to_rgb(png);
            if (has_trns) {
                png_set_tRNS_to_alpha(png);
            } else {
                png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
            }
            break;
        case PNG_COLOR_TYPE_RGB:
            // A transparent colour is honoured here as for palette and grey images.
            if (has_trns) {
                png_set_tRNS_to_alpha(png);
            } else {
                png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
            }
            break;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            break;
        case PNG_COLOR_TYPE_GRAY:
            png_set_expand(png);
            png_set_gray_to_rgb(png);
            png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
            break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            png_set_gray_to_rgb(png);
            break;
        default:
            return false;
    }
    png_set_bgr(png);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool ReadPixels(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool SupportedColourType(int colour_type) {
    return colour_type == PNG_COLOR_TYPE_PALETTE || colour_type == PNG_COLOR_TYPE_RGB ||
           colour_type == PNG_COLOR_TYPE_RGB_ALPHA || colour_type == PNG_COLOR_TYPE_GRAY ||
           colour_type == PNG_COLOR_TYPE_GRAY_ALPHA;
}

}  // namespace

TexturePtr LoadPng(const std::u16string& path) {
    const FilePtr file = OpenFile(path, "rb");
    if (!file) throw vesk::CErrCodeException(kCannotOpen);

    std::array<png_byte, kSignatureSize> signature{};
    if (std::fread(signature.data(), 1, signature.size(), file.get()) != signature.size() ||
        png_sig_cmp(signature.data(), 0, signature.size()) != 0) {
        throw vesk::CErrCodeException(kNoSupport);
    }

    const PngReader reader;
    if (!reader.Valid()) throw vesk::CErrCodeException(kNoSupport);
    png_structp png = reader.Png();
    png_infop info = reader.Info();
    if (!ReadHeaderChunks(png, info, file.get())) throw vesk::CErrCodeException(kNoSupport);

    const int colour_type = png_get_color_type(png, info);
    const bool has_trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (!SupportedColourType(colour_type)) throw vesk::CErrCodeException(kNoSupport);
    const std::uint32_t width = png_get_image_width(png, info);
    const std::uint32_t height = png_get_image_height(png, info);
    if (width > kMaxSide || height > kMaxSide || std::uint64_t{width} * height > kMaxPixels) {
        throw ImageTooLarge(width, height);
    }
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;

    if (!RequestBgraRows(png, info, colour_type, has_trns)) throw vesk::CErrCodeException(kNoSupport);
    // Rows of any other length would overrun the buffer; every request above yields 4 bytes.
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4) throw vesk::CErrCodeException(kNoSupport);

    auto texture = std::make_unique<Texture>();
    FrameBuffer& image = texture->colour.emplace();
    std::vector<png_bytep> rows(height);
    if (!interlaced) {
        // Straight into the padded rows of the buffer.
        if (!image.Create(width, height)) throw vesk::CErrCodeException(kNoSupport);
        for (std::uint32_t y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(image.Row(y));
        if (!ReadPixels(png, rows.data())) throw vesk::CErrCodeException(kNoSupport);
    } else {
        // The passes revisit every row, so the whole image is read into one packed block that
        // the buffer then takes over.
        PixelBlock block = AllocatePixels(std::size_t{width} * height);
        if (!block) throw vesk::CErrCodeException(kNoSupport);
        for (std::uint32_t y = 0; y < height; ++y) {
            rows[y] = reinterpret_cast<png_bytep>(block.get() + std::size_t{y} * width);
        }
        if (!ReadPixels(png, rows.data())) throw vesk::CErrCodeException(kNoSupport);
        image.Adopt(std::move(block), width, height);
    }
    texture->kind = Texture::kColour;
    return texture;
}

}  // namespace orv
