#include "image/png_error_handling.h"

namespace orv {

void JumpOnPngError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

}  // namespace orv
