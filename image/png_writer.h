#pragma once

#include <string>

#include "image/png_compression.h"
#include "image/texture.h"

namespace orv {

// Writes the texture's colour image as a non-interlaced 8-bit RGBA PNG, alpha copied unchanged,
// replacing an existing file. Returns false, creating nothing, when there is no colour image or
// it is empty; true only once every byte has reached the file. Throws vesk::CErrCodeException:
// code 2 when the file cannot be opened for writing, code 1 when libpng or the file system
// reports an error while writing (the partly written file stays on disk).
bool SavePng(const std::u16string& path, const Texture& texture,
             PngCompression compression = PngCompression::kDefault);

}  // namespace orv
