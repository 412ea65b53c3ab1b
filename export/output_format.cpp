#include "export/output_format.h"

#include "vesk/name_table.h"

namespace orv {
namespace {

constexpr vesk::NameTable<OutputFormat, 5> kNames{{{
    {OutputFormat::kPngSequence, "png"},
    {OutputFormat::kSheet, "sheet"},
    {OutputFormat::kAnimatedPng, "apng"},
    {OutputFormat::kAnimatedWebp, "webp"},
    {OutputFormat::kAnimatedGif, "gif"},
}}};

}  // namespace

std::string_view OutputFormatName(OutputFormat format) {
    return kNames.Name(format);
}

std::optional<OutputFormat> OutputFormatFromName(std::string_view name) {
    return kNames.FromName(name);
}

}  // namespace orv
