#include "interop/tiff_decoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace orv {
namespace {

constexpr std::uint32_t kSizeLimit = 65536;

// The bytes libtiff reads through its client callbacks.
struct MemoryFile {
    const Bytes& bytes;
    toff_t position = 0;
};

tmsize_t ReadMemory(thandle_t handle, void* buffer, tmsize_t size) {
    auto& file = *static_cast<MemoryFile*>(handle);
    if (size < 0 || file.position >= file.bytes.size()) return 0;
    const auto count = static_cast<tmsize_t>(
        std::min<toff_t>(static_cast<toff_t>(size), file.bytes.size() - file.position));
    std::memcpy(buffer, file.bytes.data() + file.position, static_cast<std::size_t>(count));
    file.position += static_cast<toff_t>(count);
    return count;
}

tmsize_t WriteNothing(thandle_t, void*, tmsize_t) { return 0; }

toff_t SeekMemory(thandle_t handle, toff_t offset, int whence) {
    auto& file = *static_cast<MemoryFile*>(handle);
    toff_t base = 0;
    if (whence == SEEK_CUR) base = file.position;
    if (whence == SEEK_END) base = file.bytes.size();
    file.position = base + offset;
    return file.position;
}

int CloseNothing(thandle_t) { return 0; }
toff_t MemorySize(thandle_t handle) { return static_cast<MemoryFile*>(handle)->bytes.size(); }
int MapNothing(thandle_t, void**, toff_t*) { return 0; }
void UnmapNothing(thandle_t, void*, toff_t) {}

// libtiff's messages would go to standard error; the caller reports its own.
int Silence(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

}  // namespace

TexturePtr DecodeTiff(const Bytes& bytes) {
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options) throw std::bad_alloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Silence, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Silence, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(kMaxEmbeddedBytes) * 4);
    MemoryFile file{bytes};
    const std::unique_ptr<TIFF, TiffCloser> tiff(TIFFClientOpenExt("embedded", "rm", &file, ReadMemory, WriteNothing,
                                                                   SeekMemory, CloseNothing, MemorySize, MapNothing,
                                                                   UnmapNothing, options.get()));
    if (!tiff) throw std::runtime_error("the embedded TIFF image does not decode");
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0 || width >= kSizeLimit || height >= kSizeLimit) {
        throw std::runtime_error("the embedded TIFF image has an unusable size");
    }
    if (std::size_t{width} * height * 4 > kMaxEmbeddedBytes * 4) {
        throw std::runtime_error("the embedded TIFF image is too large");
    }
    std::vector<std::uint32_t> abgr(std::size_t{width} * height);
    if (!TIFFReadRGBAImageOriented(tiff.get(), width, height, abgr.data(), ORIENTATION_TOPLEFT, 0)) {
        throw std::runtime_error("the embedded TIFF image does not decode");
    }
    auto texture = std::make_unique<Texture>();
    FrameBuffer& image = texture->colour.emplace(width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint32_t* row = image.Row(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = abgr[std::size_t{y} * width + x];
            const std::uint32_t alpha = TIFFGetA(pixel);
            std::uint32_t red = TIFFGetR(pixel), green = TIFFGetG(pixel), blue = TIFFGetB(pixel);
            // libtiff hands out associated (premultiplied) alpha; orv keeps straight alpha.
            if (alpha != 0 && alpha != 255) {
                red = std::min<std::uint32_t>(255, (red * 255 + alpha / 2) / alpha);
                green = std::min<std::uint32_t>(255, (green * 255 + alpha / 2) / alpha);
                blue = std::min<std::uint32_t>(255, (blue * 255 + alpha / 2) / alpha);
            }
            row[x] = alpha << 24 | red << 16 | green << 8 | blue;
        }
    }
    texture->kind = Texture::kColour;
    return texture;
}

}  // namespace orv
