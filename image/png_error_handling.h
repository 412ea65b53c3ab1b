#pragma once

#include <png.h>

namespace orv {

// libpng's error callback. It never returns: it jumps back to the setjmp of the step that called
// into libpng. Those steps are small C-like functions holding nothing with a destructor, so the
// jump skips no C++ cleanup; the caller turns their false result into an exception.
[[noreturn]] void JumpOnPngError(png_structp png, png_const_charp message);

// Warnings (a bad ancillary chunk, say) do not stop decoding, and no caller shows them.
void IgnorePngWarning(png_structp png, png_const_charp message);

// Owns libpng's main and info structures of one read or write, with the error callbacks above.
template <bool Writing>
class PngSession {
public:
    PngSession() {
        png_ = Writing
                   ? png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnPngError, IgnorePngWarning)
                   : png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnPngError, IgnorePngWarning);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
    }
    ~PngSession() {
        if constexpr (Writing) {
            png_destroy_write_struct(&png_, &info_);
        } else {
            png_destroy_read_struct(&png_, &info_, nullptr);
        }
    }
    PngSession(const PngSession&) = delete;
    PngSession& operator=(const PngSession&) = delete;

    bool Valid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

using PngReader = PngSession<false>;
using PngWriter = PngSession<true>;

}  // namespace orv
