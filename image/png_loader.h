#pragma once

#include <string>

#include "image/texture.h"

namespace orv {

// Decodes a PNG file of any colour type, bit depth and interlacing into a colour texture (kind 1)
// in 0xAARRGGBB with straight alpha; 16-bit samples are reduced to 8 bits and every transparency
// chunk becomes alpha. Throws vesk::CErrCodeException: code 2 when the file cannot be opened,
// code 1 for anything that is not a PNG this decoder can read completely (wrong signature, size
// of 65536 or more, corrupt or truncated data).
TexturePtr LoadPng(const std::u16string& path);

}  // namespace orv
