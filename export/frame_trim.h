#pragma once

#include "export/sheet_layout.h"
#include "render/frame_buffer.h"

namespace orv {

// The smallest rectangle holding every pixel of the frame whose alpha is not 0. A frame without
// any such pixel gives its top-left pixel, so no trimmed frame is empty.
PixelRect OpaqueBounds(const FrameBuffer& frame);

}  // namespace orv
