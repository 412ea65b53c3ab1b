#include "export/colour_quantizer.h"

#include <leptonica/allheaders.h>

#include <memory>
#include <new>
#include <vector>
#include <stdexcept>

namespace orv {
namespace {

struct PixDestroy {
    void operator()(PIX* pix) const noexcept { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<PIX, PixDestroy>;

}  // namespace

QuantizedColours QuantizeColours(const std::vector<std::uint32_t>& colours, int maxColours) {
    QuantizedColours result;
    if (colours.empty()) return result;

    // One row holding every colour: the quantizer sees only the pixels that are to be shown.
    const PixPtr source(pixCreate(static_cast<l_int32>(colours.size()), 1, 32));
    if (!source) throw std::bad_alloc();
    l_uint32* words = pixGetData(source.get());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::uint32_t colour = colours[i];
        words[i] = ((colour >> 16 & 0xffu) << L_RED_SHIFT) | ((colour >> 8 & 0xffu) << L_GREEN_SHIFT) |
                   ((colour & 0xffu) << L_BLUE_SHIFT);
    }
    // 8-bit output, 6 significant bits per channel (the finest it offers), every pixel counted (no
    // subsampling), no special black-and-white path.
    const PixPtr quantized(pixMedianCutQuantGeneral(source.get(), 0, 8, maxColours, 6, 1, 0));
    PIXCMAP* map = quantized ? pixGetColormap(quantized.get()) : nullptr;
    if (map == nullptr) throw std::runtime_error("the colours cannot be reduced to a palette");

    const l_uint32* indices = pixGetData(quantized.get());
    result.indices.resize(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        result.indices[i] = static_cast<std::uint8_t>(GET_DATA_BYTE(indices, static_cast<l_int32>(i)));
    }

    // The median cut gives each box the centre of its histogram cells; the exact mean of the
    // colours mapped to an entry is closer to all of them, and a colour alone in its box
    // (typically the ground) comes out exact.
    const auto count = static_cast<std::size_t>(pixcmapGetCount(map));
    struct Sum {
        std::uint64_t red = 0, green = 0, blue = 0, pixels = 0;
    };
    std::vector<Sum> sums(count);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        Sum& sum = sums[result.indices[i]];
        sum.red += colours[i] >> 16 & 0xffu;
        sum.green += colours[i] >> 8 & 0xffu;
        sum.blue += colours[i] & 0xffu;
        ++sum.pixels;
    }
    const auto mean = [](std::uint64_t total, std::uint64_t pixels) {
        return static_cast<std::uint8_t>((total + pixels / 2) / pixels);
    };
    result.palette.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Sum& sum = sums[i];
        if (sum.pixels == 0) continue;
        result.palette[i] = {mean(sum.red, sum.pixels), mean(sum.green, sum.pixels), mean(sum.blue, sum.pixels)};
    }
    return result;
}

}  // namespace orv
