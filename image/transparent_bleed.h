#pragma once

#include "render/frame_buffer.h"

namespace orv {

// Gives every fully transparent pixel the colour of a visible neighbour (right, left, below,
// above, in that order of preference) while keeping its alpha at 0, so that bilinear sampling at
// a sprite's edge blends towards the sprite's own colour instead of black. Pixels without a
// visible neighbour become 0. Reaches exactly one pixel into the transparent area.
void BleedTransparentPixels(FrameBuffer& image);

}  // namespace orv
