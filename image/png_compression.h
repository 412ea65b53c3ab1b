#pragma once

#include <optional>
#include <string_view>

namespace orv {

// How hard the PNG writer compresses. Every choice stores the same pixels; only the time spent and
// the file size differ.
enum class PngCompression {
    kDefault,  // libpng's own defaults: the files every earlier version wrote, byte for byte
    kFast,     // several times faster to write, files about the size of the default ones
    kSmall,    // the smallest files on sparse effects over a plain ground, still faster than the default
};

// The names used on the command line and in the settings: "default", "fast", "small".
std::string_view PngCompressionName(PngCompression compression);
std::optional<PngCompression> PngCompressionFromName(std::string_view name);

}  // namespace orv
