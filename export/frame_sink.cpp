#include "export/frame_sink.h"

#include <exception>

namespace orv {

std::optional<std::string> FrameSink::Write(std::uint64_t index, const FrameBuffer& frame) {
    try {
        Take(index, frame);
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

std::optional<std::string> FrameSink::Commit() {
    try {
        Finish();
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

void FrameSink::RemoveFrames(const std::vector<std::uint64_t>&) {}

std::unique_ptr<FrameSink> MakeFrameSink(OutputFormat format, const FrameSinkSetup& setup) {
    switch (format) {
        case OutputFormat::kPngSequence:
            break;
        case OutputFormat::kSheet:
            return MakeSheetSink(setup);
        case OutputFormat::kAnimatedPng:
            return MakeAnimatedPngSink(setup);
        case OutputFormat::kAnimatedWebp:
            return MakeAnimatedWebpSink(setup);
        case OutputFormat::kAnimatedGif:
            return MakeAnimatedGifSink(setup);
    }
    return MakePngSequenceSink(setup);
}

}  // namespace orv
