#include <zlib.h>

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/atlas_json.h"
#include "export/frame_file_name.h"
#include "export/frame_sink.h"
#include "export/frame_trim.h"
#include "export/png_stream.h"
#include "export/sheet_layout.h"
#include "export/sink_file.h"
#include "export/spill_file.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

// A trimmed frame set aside until every frame is in (the cells' size is the largest trimmed
// frame's, known only at the end): deflated, in the spill file.
struct TrimmedFrame {
    PixelRect inSource;
    std::uint64_t offset = 0;
    std::size_t size = 0;
};

std::vector<std::uint8_t> DeflateRect(const FrameBuffer& frame, const PixelRect& rect) {
    std::vector<std::uint32_t> pixels;
    pixels.reserve(std::size_t{rect.width} * rect.height);
    for (std::uint32_t y = rect.y; y < rect.y + rect.height; ++y) {
        pixels.insert(pixels.end(), frame.Row(y) + rect.x, frame.Row(y) + rect.x + rect.width);
    }
    const uLong size = static_cast<uLong>(pixels.size() * sizeof(std::uint32_t));
    uLongf packedSize = compressBound(size);
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(pixels.data()), size, 1) != Z_OK) {
        throw std::bad_alloc();
    }
    packed.resize(packedSize);
    packed.shrink_to_fit();
    return packed;
}

std::vector<std::uint32_t> Inflate(const TrimmedFrame& frame, const std::vector<std::uint8_t>& deflated) {
    std::vector<std::uint32_t> pixels(std::size_t{frame.inSource.width} * frame.inSource.height);
    uLongf size = static_cast<uLongf>(pixels.size() * sizeof(std::uint32_t));
    if (uncompress(reinterpret_cast<Bytef*>(pixels.data()), &size, deflated.data(),
                   static_cast<uLong>(deflated.size())) != Z_OK) {
        throw std::runtime_error("a kept frame cannot be unpacked");
    }
    return pixels;
}

// A page being written: its image grows a row of cells at a time.
struct OpenPage {
    std::uint32_t number = 0;
    std::unique_ptr<SinkFile> image;
    std::unique_ptr<PngChunkWriter> png;
    std::unique_ptr<PngImageData> data;
    std::vector<AtlasFrame> frames;
};

// PNG atlas pages with the frames in a grid, each page with its JSON atlas. A page is written a row
// of cells at a time, so only one row of cells is held as pixels; trimmed frames wait deflated in
// a spill file on disk until the last one gives the cells' size. The pages and their atlases are
// temporaries until every frame is in.
class SheetSink final : public FrameSink {
public:
    explicit SheetSink(const FrameSinkSetup& setup) : setup_(setup) {
        if (setup.sheet.trim) {
            spill_.emplace(setup.folder);
        } else {
            StartLayout(setup.width, setup.height);
        }
    }

    std::vector<std::u16string> Files() const override {
        std::vector<std::u16string> names;
        for (const auto& file : finished_) names.push_back(file->Name());
        return names;
    }

protected:
    void Take(std::uint64_t index, const FrameBuffer& frame) override {
        if (setup_.sheet.trim) {
            const PixelRect bounds = OpaqueBounds(frame);
            const std::vector<std::uint8_t> deflated = DeflateRect(frame, bounds);
            trimmed_.push_back({bounds, spill_->Append(deflated), deflated.size()});
            return;
        }
        Place(index, {0, 0, frame.Width(), frame.Height()}, [&](std::uint32_t y) { return frame.Row(y); });
    }

    void Finish() override {
        if (setup_.sheet.trim) {
            std::uint32_t width = 1;
            std::uint32_t height = 1;
            for (const TrimmedFrame& frame : trimmed_) {
                width = std::max(width, frame.inSource.width);
                height = std::max(height, frame.inSource.height);
            }
            StartLayout(width, height);
            for (std::uint64_t i = 0; i < trimmed_.size(); ++i) {
                const TrimmedFrame& trimmed = trimmed_[i];
                const std::vector<std::uint32_t> pixels = Inflate(trimmed, spill_->Read(trimmed.offset, trimmed.size));
                const PixelRect& rect = trimmed.inSource;
                Place(i, rect, [&](std::uint32_t y) { return pixels.data() + std::size_t{y - rect.y} * rect.width; });
            }
        }
        for (const auto& file : finished_) file->Commit();
    }

private:
    void StartLayout(std::uint32_t cellWidth, std::uint32_t cellHeight) {
        layout_.emplace(setup_.frameCount, cellWidth, cellHeight, setup_.sheet.columns, setup_.sheet.maxPageSide);
        strip_.assign(std::size_t{layout_->Columns()} * cellWidth * cellHeight, 0);
    }

    std::u16string PageName(std::uint32_t page, std::u16string_view extension) const {
        std::u16string name = setup_.folder + setup_.title;
        if (page != 0) {
            name += u'-';
            for (const char digit : std::to_string(page)) name += static_cast<char16_t>(digit);
        }
        return name.append(extension);
    }

    // Copies a frame's part `inSource` (whose rows `rowOf` gives, from inSource.y on) into its
    // cell; a full row of cells, or the page's last frame, goes on to the page's image.
    template <typename RowOf>
    void Place(std::uint64_t index, const PixelRect& inSource, RowOf rowOf) {
        const std::uint32_t pageNumber = layout_->PageOf(index);
        if (!page_ || page_->number != pageNumber) OpenNewPage(pageNumber);
        const PixelRect cell = layout_->Cell(index);
        const std::size_t stripWidth = std::size_t{layout_->Columns()} * layout_->CellWidth();
        for (std::uint32_t y = 0; y < inSource.height; ++y) {
            const std::uint32_t* source = rowOf(inSource.y + y);
            std::copy(source, source + inSource.width, strip_.begin() + y * stripWidth + cell.x);
        }
        page_->frames.push_back({vesk::Utf8ForDisplay(FrameFileName(u"", setup_.title, setup_.firstFrame + index)),
                                 {cell.x, cell.y, inSource.width, inSource.height},
                                 inSource});

        const std::uint64_t onPage = index % layout_->FramesPerPage();
        const bool lastOnPage = onPage + 1 == layout_->FramesOn(pageNumber);
        if (lastOnPage || cell.x + cell.width == stripWidth) {
            // A page narrower than the strip takes the left part of each row.
            for (std::uint32_t y = 0; y < layout_->CellHeight(); ++y) page_->data->Row(strip_.data() + y * stripWidth);
            std::fill(strip_.begin(), strip_.end(), 0);
        }
        if (lastOnPage) ClosePage();
    }

    void OpenNewPage(std::uint32_t number) {
        page_.emplace();
        page_->number = number;
        page_->image = std::make_unique<SinkFile>(PageName(number, u".png"));
        page_->png = std::make_unique<PngChunkWriter>(*page_->image);
        page_->png->Begin(layout_->PageWidth(number), layout_->PageHeight(number));
        page_->data = std::make_unique<PngImageData>(
            layout_->PageWidth(number), setup_.compression,
            [png = page_->png.get()](const std::uint8_t* bytes, std::size_t size) { png->Chunk("IDAT", bytes, size); });
    }

    void ClosePage() {
        page_->data->End();
        page_->png->End();
        AtlasPage meta;
        const std::u16string imageName = page_->image->Name();
        meta.image = vesk::Utf8ForDisplay(imageName.substr(setup_.folder.size()));
        meta.width = layout_->PageWidth(page_->number);
        meta.height = layout_->PageHeight(page_->number);
        meta.sourceWidth = setup_.width;
        meta.sourceHeight = setup_.height;
        meta.framesPerSecond = setup_.framesPerSecond;
        const std::string json = AtlasJson(page_->frames, meta);
        auto atlas = std::make_unique<SinkFile>(PageName(page_->number, u".json"));
        atlas->Write(json.data(), json.size());
        finished_.push_back(std::move(page_->image));
        finished_.push_back(std::move(atlas));
        page_.reset();
    }

    const FrameSinkSetup setup_;
    std::optional<SheetLayout> layout_;
    std::vector<std::uint32_t> strip_;  // one row of cells, the page's width of the widest page
    std::optional<OpenPage> page_;
    std::optional<SpillFile> spill_;
    std::vector<TrimmedFrame> trimmed_;
    std::vector<std::unique_ptr<SinkFile>> finished_;  // pages and atlases, put in place at the end
};

}  // namespace

std::unique_ptr<FrameSink> MakeSheetSink(const FrameSinkSetup& setup) {
    return std::make_unique<SheetSink>(setup);
}

}  // namespace orv
