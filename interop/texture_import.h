#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "interop/conversion_report.h"
#include "interop/embedded_data.h"

namespace orv {

// A texture an engine file names, found as orv finds its own: relative to the file's folder (or
// absolute), else by the file name alone in that folder (names often hold another machine's
// path, with either separator).
std::optional<std::filesystem::path> FindNamedTexture(std::string_view name, const std::filesystem::path& particleFile);

// Writes an embedded image beside the particle file as a PNG named after `name` (or the particle
// file), so the effect can refer to it: a PNG as it is, a TIFF decoded and encoded. An existing
// file is never overwritten: the name gets a number, unless the existing file holds the same
// bytes, which is then used. Other image types are reported and give no texture. Throws
// std::runtime_error when a PNG or TIFF does not decode or the file cannot be written.
std::optional<std::filesystem::path> PlaceEmbeddedImage(const Bytes& image, std::string_view name,
                                                        const std::filesystem::path& particleFile,
                                                        ConversionReport& report);

}  // namespace orv
