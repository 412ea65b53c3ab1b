#pragma once

#include <string>

#include "image/texture.h"

namespace orv {

// Decodes a PNG file of any colour type, bit depth and interlacing into a colour texture (kind 1)
// in 0xAARRGGBB with straight alpha; 16-bit samples are reduced to 8 bits and every transparency
// chunk becomes alpha. Throws vesk::CErrCodeException: code 2 when the file cannot be opened,
// code 1 for anything that is not a PNG this decoder can read completely (wrong signature,
// corrupt or truncated data) and, before any pixel memory is taken, for a picture of more than
// 16384 pixels a side or 2^26 pixels in all (its message then names the size).
TexturePtr LoadPng(const std::u16string& path);

}  // namespace orv
