#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace orv {

// Frees a pixel block that came from AllocatePixels.
struct AlignedFree {
    void operator()(std::uint32_t* block) const noexcept;
};
using PixelBlock = std::unique_ptr<std::uint32_t[], AlignedFree>;

// A block of `count` pixels aligned to 16 bytes, or null when it cannot be allocated.
PixelBlock AllocatePixels(std::size_t count);

// The one 32-bit image of the program: 0xAARRGGBB words, straight (not premultiplied) alpha.
// Owned rows are padded to a multiple of 4 pixels and start on 16-byte boundaries, which the
// SSE2 spans rely on. Every pixel access goes through the row table, so a buffer can also view
// foreign memory laid out in any row order (a bottom-up bitmap, a QImage).
class FrameBuffer {
public:
    FrameBuffer() = default;
    // Throws std::bad_alloc when the pixels cannot be allocated, so a caller never goes on to
    // write into a buffer that has no rows.
    FrameBuffer(std::uint32_t width, std::uint32_t height) {
        if (!Create(width, height)) throw std::bad_alloc();
    }
    FrameBuffer(FrameBuffer&&) noexcept = default;
    FrameBuffer& operator=(FrameBuffer&&) noexcept = default;
    FrameBuffer(const FrameBuffer&) = delete;
    FrameBuffer& operator=(const FrameBuffer&) = delete;

    // Pixels per owned row: width rounded up to a multiple of 4.
    static std::uint32_t StrideFor(std::uint32_t width) { return (width + 3u) & ~3u; }

    // Allocates width x height pixels with undefined contents. On allocation failure (or a size
    // whose byte count does not fit) the buffer is left empty (0 x 0) and false is returned.
    bool Create(std::uint32_t width, std::uint32_t height);

    // Takes over a block of width x height pixels with packed rows (stride = width).
    void Adopt(PixelBlock block, std::uint32_t width, std::uint32_t height);

    // Views memory the buffer does not own: row i starts at first + i * pitch pixels, so a
    // negative pitch walks a bottom-up image. The memory must outlive the view.
    void View(std::uint32_t* first, std::uint32_t width, std::uint32_t height, std::ptrdiff_t pitch);

    void Reset();

    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }
    bool Empty() const { return rows_.empty(); }

    // Pixels from the start of one row to the start of the next (negative for a bottom-up view).
    std::ptrdiff_t Pitch() const { return pitch_; }

    std::uint32_t* Row(std::uint32_t y) { return rows_[y]; }
    const std::uint32_t* Row(std::uint32_t y) const { return rows_[y]; }
    std::uint32_t& At(std::uint32_t x, std::uint32_t y) { return rows_[y][x]; }
    std::uint32_t At(std::uint32_t x, std::uint32_t y) const { return rows_[y][x]; }

private:
    void BuildRows(std::uint32_t* first, std::ptrdiff_t pitch);

    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::ptrdiff_t pitch_ = 0;
    PixelBlock block_;
    std::vector<std::uint32_t*> rows_;
};

}  // namespace orv
