#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/output_format.h"
#include "image/png_compression.h"
#include "render/frame_buffer.h"

namespace orv {

// What every output format needs to know about the render it receives.
struct FrameSinkSetup {
    std::u16string folder;  // ends with a separator, or empty for the current folder
    std::u16string title;   // file title without extension
    std::uint64_t firstFrame = 0;  // number of the range's first frame in the whole render
    std::uint64_t frameCount = 0;  // frames in the range
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t framesPerSecond = 30;
    PngCompression compression = PngCompression::kDefault;
    SheetOptions sheet;
    WebpQuality webpQuality;
};

// Where the render job puts its frames: one implementation per output format, driven by the same
// job. Every format but the PNG sequence builds its files as temporaries in the target folder and
// renames them in Commit; a sink destroyed before Commit removes them, so a failed or stopped
// render leaves no half file in place of a good one.
class FrameSink {
public:
    virtual ~FrameSink() = default;

    // One file per frame, written by several threads in any order and kept when the render stops
    // early (the PNG sequence); otherwise frames must come one at a time in frame order.
    virtual bool WritesFilePerFrame() const { return false; }

    // Takes frame `index` of the range (0 = its first). The failure text names the file and the
    // reason (UTF-8).
    std::optional<std::string> Write(std::uint64_t index, const FrameBuffer& frame);
    // After the range's last frame: finishes the files and puts them in place.
    std::optional<std::string> Commit();
    // After a failure: removes frames written beyond the failed one.
    virtual void RemoveFrames(const std::vector<std::uint64_t>& indices);

    // The files Commit put in place, for the closing summary; the frames of a sequence are not
    // listed.
    virtual std::vector<std::u16string> Files() const { return {}; }

protected:
    // Both throw std::exception with the text for the user on failure.
    virtual void Take(std::uint64_t index, const FrameBuffer& frame) = 0;
    virtual void Finish() = 0;
};

// The sink for a format; creating it may throw std::exception (a temporary file that cannot be
// made), with the text for the user.
std::unique_ptr<FrameSink> MakeFrameSink(OutputFormat format, const FrameSinkSetup& setup);

std::unique_ptr<FrameSink> MakePngSequenceSink(const FrameSinkSetup& setup);
std::unique_ptr<FrameSink> MakeSheetSink(const FrameSinkSetup& setup);
std::unique_ptr<FrameSink> MakeAnimatedPngSink(const FrameSinkSetup& setup);
std::unique_ptr<FrameSink> MakeAnimatedWebpSink(const FrameSinkSetup& setup);
std::unique_ptr<FrameSink> MakeAnimatedGifSink(const FrameSinkSetup& setup);

}  // namespace orv
