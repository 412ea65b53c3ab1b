#include "image/png_compression.h"

#include "vesk/name_table.h"

namespace orv {
namespace {

constexpr vesk::NameTable<PngCompression, 3> kNames{{{
    {PngCompression::kDefault, "default"},
    {PngCompression::kFast, "fast"},
    {PngCompression::kSmall, "small"},
}}};

}  // namespace

std::string_view PngCompressionName(PngCompression compression) {
    return kNames.Name(compression);
}

std::optional<PngCompression> PngCompressionFromName(std::string_view name) {
    return kNames.FromName(name);
}

}  // namespace orv
