#include "image/png_compression.h"

#include <array>
#include <utility>

namespace orv {
namespace {

constexpr std::array<std::pair<PngCompression, std::string_view>, 3> kNames = {{
    {PngCompression::kDefault, "default"},
    {PngCompression::kFast, "fast"},
    {PngCompression::kSmall, "small"},
}};

}  // namespace

std::string_view PngCompressionName(PngCompression compression) {
    for (const auto& [value, name] : kNames) {
        if (value == compression) return name;
    }
    return kNames[0].second;
}

std::optional<PngCompression> PngCompressionFromName(std::string_view name) {
    for (const auto& [value, text] : kNames) {
        if (text == name) return value;
    }
    return std::nullopt;
}

}  // namespace orv
