#pragma once

#include <cstdint>
#include <string>

#include "image/png_compression.h"
#include "image/texture.h"

namespace orv {

// Codes of the vesk::CErrCodeException that SavePng throws.
inline constexpr std::uint32_t kPngWriteFailed = 1;  // the file exists, partly written
inline constexpr std::uint32_t kPngCannotOpen = 2;   // nothing was created

// Writes the texture's colour image as a non-interlaced 8-bit RGBA PNG, alpha copied unchanged,
// replacing an existing file. Returns false, creating nothing, when there is no colour image or
// it is empty; true only once every byte has reached the file. Throws vesk::CErrCodeException:
// code 2 when the file cannot be opened for writing, code 1 when libpng or the file system
// reports an error while writing (the partly written file stays on disk).
bool SavePng(const std::u16string& path, const Texture& texture,
             PngCompression compression = PngCompression::kDefault);
// The same for a frame that is no texture (the render job's frames).
bool SavePng(const std::u16string& path, const FrameBuffer& image, PngCompression compression);

}  // namespace orv
