#pragma once

#include "render/frame_buffer.h"

namespace orv {

// The texture dialog's preview of a picture: every pixel blended by its alpha onto black, the
// result's alpha bytes 0. Throws std::bad_alloc when the preview cannot be held.
FrameBuffer BlendOntoBlack(const FrameBuffer& image);

}  // namespace orv
