#include <stdexcept>

#include "export/frame_file_name.h"
#include "export/frame_file_writer.h"
#include "export/frame_sink.h"

namespace orv {
namespace {

// One PNG file per frame, named by the frame's number in the whole render: the files of every
// earlier version, byte for byte.
class PngSequenceSink final : public FrameSink {
public:
    explicit PngSequenceSink(const FrameSinkSetup& setup) : setup_(setup) {}

    bool WritesFilePerFrame() const override { return true; }

    void RemoveFrames(const std::vector<std::uint64_t>& indices) override {
        for (const std::uint64_t index : indices) RemoveFrameFile(NameOf(index));
    }

protected:
    void Take(std::uint64_t index, const FrameBuffer& frame) override {
        if (auto failure = WriteFrameFile(NameOf(index), frame, setup_.compression)) {
            throw std::runtime_error(*failure);
        }
    }
    void Finish() override {}

private:
    std::u16string NameOf(std::uint64_t index) const {
        return FrameFileName(setup_.folder, setup_.title, setup_.firstFrame + index);
    }

    const FrameSinkSetup setup_;
};

}  // namespace

std::unique_ptr<FrameSink> MakePngSequenceSink(const FrameSinkSetup& setup) {
    return std::make_unique<PngSequenceSink>(setup);
}

}  // namespace orv
