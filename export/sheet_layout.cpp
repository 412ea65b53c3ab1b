#include "export/sheet_layout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace orv {
namespace {

std::uint64_t CeilDivide(std::uint64_t value, std::uint64_t divisor) {
    return (value + divisor - 1) / divisor;
}

// The fewest columns whose square holds every frame.
std::uint64_t SquareColumns(std::uint64_t frameCount) {
    auto columns = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(frameCount)));
    while (columns * columns < frameCount) ++columns;
    while (columns > 1 && (columns - 1) * (columns - 1) >= frameCount) --columns;
    return std::max<std::uint64_t>(columns, 1);
}

}  // namespace

SheetLayout::SheetLayout(std::uint64_t frameCount, std::uint32_t cellWidth, std::uint32_t cellHeight,
                         std::uint32_t requestedColumns, std::uint32_t maxSide)
    : frameCount_(frameCount), cellWidth_(cellWidth), cellHeight_(cellHeight) {
    if (cellWidth == 0 || cellHeight == 0 || cellWidth > maxSide || cellHeight > maxSide) {
        std::string text = "a frame of ";
        text.append(std::to_string(cellWidth)).append(" x ").append(std::to_string(cellHeight));
        text.append(" pixels does not fit on a sheet page of at most ").append(std::to_string(maxSide));
        throw std::runtime_error(text.append(" pixels a side"));
    }
    const std::uint64_t wanted = requestedColumns != 0 ? requestedColumns : SquareColumns(frameCount);
    const std::uint64_t fitting = maxSide / cellWidth;
    columns_ = static_cast<std::uint32_t>(std::max<std::uint64_t>(1, std::min({wanted, fitting, frameCount})));
    rowsPerPage_ = static_cast<std::uint32_t>(
        std::max<std::uint64_t>(1, std::min<std::uint64_t>(maxSide / cellHeight, CeilDivide(frameCount, columns_))));
}

std::uint64_t SheetLayout::PageCount() const {
    return CeilDivide(frameCount_, FramesPerPage());
}

std::uint64_t SheetLayout::FramesOn(std::uint32_t page) const {
    const std::uint64_t before = std::uint64_t{page} * FramesPerPage();
    return before < frameCount_ ? std::min(FramesPerPage(), frameCount_ - before) : 0;
}

std::uint32_t SheetLayout::PageWidth(std::uint32_t page) const {
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(FramesOn(page), columns_)) * cellWidth_;
}

std::uint32_t SheetLayout::PageHeight(std::uint32_t page) const {
    return static_cast<std::uint32_t>(CeilDivide(FramesOn(page), columns_)) * cellHeight_;
}

PixelRect SheetLayout::Cell(std::uint64_t frame) const {
    const std::uint64_t onPage = frame % FramesPerPage();
    return {static_cast<std::uint32_t>(onPage % columns_) * cellWidth_,
            static_cast<std::uint32_t>(onPage / columns_) * cellHeight_, cellWidth_, cellHeight_};
}

}  // namespace orv
