#pragma once

#include "image/texture.h"
#include "interop/embedded_data.h"

namespace orv {

// Decodes a TIFF image held in memory into a colour texture (0xAARRGGBB, straight alpha), through
// libtiff's RGBA interface, so every photometric and compression libtiff knows is read. Throws
// std::runtime_error when the data does not decode or the image is 65536 pixels or more wide or
// high.
TexturePtr DecodeTiff(const Bytes& bytes);

}  // namespace orv
