#pragma once

#include <png.h>

namespace orv {

// libpng's error callback. It never returns: it jumps back to the setjmp of the step that called
// into libpng. Those steps are small C-like functions holding nothing with a destructor, so the
// jump skips no C++ cleanup; the caller turns their false result into an exception.
[[noreturn]] void JumpOnPngError(png_structp png, png_const_charp message);

// Warnings (a bad ancillary chunk, say) do not stop decoding, and no caller shows them.
void IgnorePngWarning(png_structp png, png_const_charp message);

}  // namespace orv
