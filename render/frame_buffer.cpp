#include "render/frame_buffer.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace orv {

void AlignedFree::operator()(std::uint32_t* block) const noexcept {
    std::free(block);
}

PixelBlock AllocatePixels(std::size_t count) {
    if (count > std::numeric_limits<std::size_t>::max() / 4 - 16) return nullptr;
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t bytes = (count * 4 + 15) & ~std::size_t{15};
    return PixelBlock(static_cast<std::uint32_t*>(std::aligned_alloc(16, bytes == 0 ? 16 : bytes)));
}

bool FrameBuffer::Create(std::uint32_t width, std::uint32_t height) {
    Reset();
    if (width == 0 || height == 0) return true;
    const std::uint64_t count = (std::uint64_t{width} + 3u) / 4u * 4u * height;
    if (count > std::numeric_limits<std::size_t>::max() / 8) return false;
    PixelBlock block = AllocatePixels(static_cast<std::size_t>(count));
    if (!block) return false;
    try {
        rows_.resize(height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    block_ = std::move(block);
    width_ = width;
    height_ = height;
    BuildRows(block_.get(), StrideFor(width));
    return true;
}

void FrameBuffer::Adopt(PixelBlock block, std::uint32_t width, std::uint32_t height) {
    Reset();
    if (!block || width == 0 || height == 0) return;
    block_ = std::move(block);
    width_ = width;
    height_ = height;
    rows_.resize(height);
    BuildRows(block_.get(), width);
}

void FrameBuffer::View(std::uint32_t* first, std::uint32_t width, std::uint32_t height,
                       std::ptrdiff_t pitch) {
    Reset();
    if (first == nullptr || width == 0 || height == 0) return;
    width_ = width;
    height_ = height;
    rows_.resize(height);
    BuildRows(first, pitch);
}

void FrameBuffer::Reset() {
    rows_.clear();
    block_.reset();
    width_ = height_ = 0;
    pitch_ = 0;
}

void FrameBuffer::BuildRows(std::uint32_t* first, std::ptrdiff_t pitch) {
    pitch_ = pitch;
    for (std::uint32_t y = 0; y < height_; ++y) rows_[y] = first + static_cast<std::ptrdiff_t>(y) * pitch;
}

}  // namespace orv
