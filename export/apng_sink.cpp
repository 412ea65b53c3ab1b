#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

#include "export/animation_timing.h"
#include "export/frame_sink.h"
#include "export/png_stream.h"
#include "export/sink_file.h"

namespace orv {
namespace {

// Sequence numbers and the frame count are 31-bit fields.
constexpr std::uint32_t kMaxSequence = std::numeric_limits<std::int32_t>::max();

// One animated PNG: the first frame is the default image (IDAT), so a viewer without animation
// shows it; every frame covers the whole canvas, replaces it (blend "source") and is shown
// 1 / fps seconds; the animation loops forever. libpng cannot write the animation chunks, so the
// whole file is written chunk by chunk here around zlib's deflate data, each frame streamed row by
// row: only one row of pixels and zlib's window are held beside the frame being written.
class AnimatedPngSink final : public FrameSink {
public:
    explicit AnimatedPngSink(const FrameSinkSetup& setup)
        : setup_(setup), file_(setup.folder + setup.title + u".png"), png_(file_) {
        CheckFrameCount(setup.frameCount, kMaxSequence / 2, "PNG");
        png_.Begin(setup.width, setup.height);
        std::vector<std::uint8_t> control;
        AppendBigEndian32(control, static_cast<std::uint32_t>(setup.frameCount));
        AppendBigEndian32(control, 0);  // plays: 0 loops forever
        png_.Chunk("acTL", control.data(), control.size());
    }

    std::vector<std::u16string> Files() const override { return {file_.Name()}; }

protected:
    void Take(std::uint64_t index, const FrameBuffer& frame) override {
        WriteFrameControl();
        std::vector<std::uint8_t> chunk;
        PngImageData data(setup_.width, setup_.compression, [&](const std::uint8_t* bytes, std::size_t size) {
            chunk.clear();
            // The default image is plain image data; later frames number their data chunks.
            if (index != 0) AppendBigEndian32(chunk, NextSequence());
            chunk.insert(chunk.end(), bytes, bytes + size);
            png_.Chunk(index == 0 ? "IDAT" : "fdAT", chunk.data(), chunk.size());
        });
        for (std::uint32_t y = 0; y < frame.Height(); ++y) data.Row(frame.Row(y));
        data.End();
    }

    void Finish() override {
        png_.End();
        file_.Commit();
    }

private:
    std::uint32_t NextSequence() {
        if (sequence_ > kMaxSequence) throw std::runtime_error("too many chunks for an animated PNG");
        return sequence_++;
    }

    void WriteFrameControl() {
        std::vector<std::uint8_t> control;
        AppendBigEndian32(control, NextSequence());
        AppendBigEndian32(control, setup_.width);
        AppendBigEndian32(control, setup_.height);
        AppendBigEndian32(control, 0);  // x offset
        AppendBigEndian32(control, 0);  // y offset
        // Delay 1 / fps seconds, as two 16-bit numbers.
        const std::uint16_t delayNumerator = 1;
        const auto delayDenominator = static_cast<std::uint16_t>(setup_.framesPerSecond);
        control.insert(control.end(), {static_cast<std::uint8_t>(delayNumerator >> 8),
                                       static_cast<std::uint8_t>(delayNumerator),
                                       static_cast<std::uint8_t>(delayDenominator >> 8),
                                       static_cast<std::uint8_t>(delayDenominator)});
        // Dispose "none": the next frame replaces every pixel anyway; blend "source": the frame's
        // own alpha is kept rather than laid over the previous frame.
        control.insert(control.end(), {0, 0});
        png_.Chunk("fcTL", control.data(), control.size());
    }

    const FrameSinkSetup setup_;
    SinkFile file_;
    PngChunkWriter png_;
    std::uint32_t sequence_ = 0;
};

}  // namespace

std::unique_ptr<FrameSink> MakeAnimatedPngSink(const FrameSinkSetup& setup) {
    return std::make_unique<AnimatedPngSink>(setup);
}

}  // namespace orv
