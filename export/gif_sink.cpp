#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/animation_timing.h"
#include "export/colour_quantizer.h"
#include "export/frame_sink.h"
#include "export/sink_file.h"

namespace orv {
namespace {

// Pixels whose alpha is below this become the transparent index; the rest keep their colour.
constexpr std::uint32_t kOpaqueAlpha = 128;
// The colours a frame's quantized palette may hold, leaving one of 256 entries for transparency.
constexpr int kMaxColours = 255;

struct ColorMapFree {
    void operator()(ColorMapObject* map) const noexcept { GifFreeMapObject(map); }
};

// One animated GIF through giflib, looping forever. GIF holds 256 colours a frame, so each frame
// gets its own palette of up to 255 colours, quantized from the pixels that stay visible; alpha
// below 128 becomes the transparent index after them. Each frame is quantized and written as it comes:
// only one frame's visible colours and their indices are held beside it.
class AnimatedGifSink final : public FrameSink {
public:
    explicit AnimatedGifSink(const FrameSinkSetup& setup)
        : setup_(setup), file_(setup.folder + setup.title + u".gif") {
        CheckFrameCount(setup.frameCount, std::uint64_t{INT32_MAX} / 100 * setup.framesPerSecond - 1, "GIF");
        if (setup.width > 65535 || setup.height > 65535) Fail("GIF frames are at most 65535 pixels a side");
        int error = 0;
        gif_ = EGifOpen(this, &AnimatedGifSink::WriteBytes, &error);
        if (gif_ == nullptr) Fail(GifErrorString(error));
        EGifSetGifVersion(gif_, true);
        Check(EGifPutScreenDesc(gif_, static_cast<int>(setup.width), static_cast<int>(setup.height), 8, 0, nullptr));
        // The application extension that makes viewers loop: "NETSCAPE2.0", sub-block 1, count 0.
        const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        const GifByteType loop[] = {1, 0, 0};
        Check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE));
        Check(EGifPutExtensionBlock(gif_, sizeof application, application));
        Check(EGifPutExtensionBlock(gif_, sizeof loop, loop));
        Check(EGifPutExtensionTrailer(gif_));
    }

    ~AnimatedGifSink() override {
        if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
    }

    std::vector<std::u16string> Files() const override { return {file_.Name()}; }

protected:
    void Take(std::uint64_t index, const FrameBuffer& frame) override {
        std::vector<std::uint32_t> shown;
        shown.reserve(std::size_t{frame.Width()} * frame.Height());
        for (std::uint32_t y = 0; y < frame.Height(); ++y) {
            for (std::uint32_t x = 0; x < frame.Width(); ++x) {
                const std::uint32_t pixel = frame.At(x, y);
                if ((pixel >> 24) >= kOpaqueAlpha) shown.push_back(pixel);
            }
        }
        const QuantizedColours colours = QuantizeColours(shown, kMaxColours);
        shown = {};
        // The transparent entry follows the frame's colours; the table takes the next power of two.
        const auto transparent = static_cast<GifPixelType>(colours.palette.size());
        const std::unique_ptr<ColorMapObject, ColorMapFree> palette(
            GifMakeMapObject(1 << GifBitSize(transparent + 1), nullptr));
        if (!palette) throw std::bad_alloc();
        for (std::size_t i = 0; i < colours.palette.size(); ++i) {
            const PaletteColour& colour = colours.palette[i];
            palette->Colors[i] = GifColorType{colour.red, colour.green, colour.blue};
        }

        GraphicsControlBlock control{};
        // Each frame replaces the whole picture: cleared to transparent before the next one.
        control.DisposalMode = DISPOSE_BACKGROUND;
        // GIF delays are whole hundredths of a second.
        control.DelayTime = static_cast<int>(FrameStart(index + 1, setup_.framesPerSecond, 100) -
                                             FrameStart(index, setup_.framesPerSecond, 100));
        control.TransparentColor = transparent;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        Check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension));
        Check(EGifPutImageDesc(gif_, 0, 0, static_cast<int>(frame.Width()), static_cast<int>(frame.Height()), false,
                               palette.get()));
        std::vector<GifPixelType> line(frame.Width());
        std::size_t next = 0;
        for (std::uint32_t y = 0; y < frame.Height(); ++y) {
            const std::uint32_t* row = frame.Row(y);
            for (std::uint32_t x = 0; x < frame.Width(); ++x) {
                line[x] = (row[x] >> 24) < kOpaqueAlpha ? transparent : colours.indices[next++];
            }
            Check(EGifPutLine(gif_, line.data(), static_cast<int>(line.size())));
        }
    }

    void Finish() override {
        int error = 0;
        const int status = EGifCloseFile(gif_, &error);
        gif_ = nullptr;  // freed whatever the outcome
        if (status != GIF_OK) Fail(GifErrorString(error));
        file_.Commit();
    }

private:
    // giflib is C: an exception must not pass through it. A failed write is kept and reported
    // once giflib returns its error.
    static int WriteBytes(GifFileType* gif, const GifByteType* bytes, int size) {
        auto* self = static_cast<AnimatedGifSink*>(gif->UserData);
        try {
            self->file_.Write(bytes, static_cast<std::size_t>(size));
        } catch (const std::exception& error) {
            if (!self->writeFailure_) self->writeFailure_ = error.what();
            return 0;
        }
        return size;
    }

    void Check(int status) {
        if (status == GIF_OK) return;
        if (writeFailure_) throw std::runtime_error(*writeFailure_);
        Fail(GifErrorString(gif_->Error));
    }

    [[noreturn]] void Fail(const char* reason) const {
        throw std::runtime_error(FileFailure(file_.Name(), reason != nullptr ? reason : "giflib failed"));
    }

    const FrameSinkSetup setup_;
    SinkFile file_;
    GifFileType* gif_ = nullptr;  // giflib's own, closed by EGifCloseFile
    std::optional<std::string> writeFailure_;
};

}  // namespace

std::unique_ptr<FrameSink> MakeAnimatedGifSink(const FrameSinkSetup& setup) {
    return std::make_unique<AnimatedGifSink>(setup);
}

}  // namespace orv
