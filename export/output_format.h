#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

// What a render writes.
enum class OutputFormat {
    kPngSequence,    // one PNG file per frame: the default, as every earlier version wrote
    kSheet,          // PNG atlas pages holding the frames in a grid, each with a JSON atlas
    kAnimatedPng,    // one animated PNG
    kAnimatedWebp,   // one animated WebP
    kAnimatedGif,    // one animated GIF
};

// The names used on the command line and in the settings: "png", "sheet", "apng", "webp", "gif".
std::string_view OutputFormatName(OutputFormat format);
std::optional<OutputFormat> OutputFormatFromName(std::string_view name);

// No atlas page is wider or taller than this: the largest texture many graphics cards accept.
inline constexpr std::uint32_t kMaxAtlasSide = 8192;

// The sheet's layout: 0 columns picks the grid closest to square; trimmed frames are cut to their
// non-transparent bounds. Pages are at most `maxPageSide` pixels a side (smaller only in tests).
struct SheetOptions {
    std::uint32_t columns = 0;
    bool trim = false;
    std::uint32_t maxPageSide = kMaxAtlasSide;
};

// Quality of a lossy WebP, 0 to 100; nothing keeps every pixel (lossless).
using WebpQuality = std::optional<int>;

}  // namespace orv
