#pragma once

#include <cstdint>

#include "export/output_format.h"

namespace orv {

// A rectangle of pixels.
struct PixelRect {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    bool operator==(const PixelRect&) const = default;
};

// Where a sheet puts its frames: cells of one size in a grid of `columns`, filled row by row; a
// page holds `rowsPerPage` rows and the frames beyond go to the next page.
class SheetLayout {
public:
    // Throws std::runtime_error when a cell does not fit on a page of `maxSide` pixels a side.
    // `requestedColumns` 0 picks the grid closest to square; any count is cut to what fits in the
    // page's width and to the frames.
    SheetLayout(std::uint64_t frameCount, std::uint32_t cellWidth, std::uint32_t cellHeight,
                std::uint32_t requestedColumns, std::uint32_t maxSide = kMaxAtlasSide);

    std::uint32_t Columns() const { return columns_; }
    std::uint64_t FramesPerPage() const { return std::uint64_t{columns_} * rowsPerPage_; }
    std::uint64_t PageCount() const;
    std::uint32_t PageOf(std::uint64_t frame) const { return static_cast<std::uint32_t>(frame / FramesPerPage()); }
    // The frames on a page and the page's size in pixels.
    std::uint64_t FramesOn(std::uint32_t page) const;
    std::uint32_t PageWidth(std::uint32_t page) const;
    std::uint32_t PageHeight(std::uint32_t page) const;
    // The cell of a frame on its page.
    PixelRect Cell(std::uint64_t frame) const;
    std::uint32_t CellWidth() const { return cellWidth_; }
    std::uint32_t CellHeight() const { return cellHeight_; }

private:
    std::uint64_t frameCount_;
    std::uint32_t cellWidth_;
    std::uint32_t cellHeight_;
    std::uint32_t columns_ = 1;
    std::uint32_t rowsPerPage_ = 1;
};

}  // namespace orv
