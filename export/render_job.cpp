#include "export/render_job.h"

#include <exception>
#include <thread>
#include <utility>

#include "export/encoder_pool.h"
#include "export/frame_file_name.h"
#include "export/frame_file_writer.h"
#include "vesk/path_utils.h"

namespace orv {
namespace {

constexpr int kProgressMaximum = 1000;

std::string AllocationFailure(const SettingsSnapshot& settings) {
    std::string text = "cannot allocate a frame of ";
    text += std::to_string(settings.frameWidth);
    text += " x ";
    text += std::to_string(settings.frameHeight);
    text += " pixels";
    return text;
}

RenderResult RenderFrames(Effect& effect, const RenderJobConfig& config, RenderProgress& progress,
                          const StopRequested& stopRequested, std::uint64_t frameCount) {
    const SettingsSnapshot& settings = config.settings;
    effect.RestartAllEmitters(settings);

    const std::u16string folder = vesk::GetDirectoryPart(config.outputBasePath);
    const std::u16string title = vesk::GetFileTitlePart(config.outputBasePath);
    const double dt = config.framesPerSecond != 0 ? 1.0 / config.framesPerSecond : 0.0;

    // Frames before the range are stepped like the rest without being drawn, so the range's frames
    // are the very frames of the whole sequence. The pool counts the range's frames from 0.
    const std::uint64_t first = config.firstFrame;
    const std::uint64_t end = config.lastFrame < frameCount ? config.lastFrame + 1 : frameCount;
    const std::uint64_t rangeCount = first < end ? end - first : 0;

    RenderResult result;
    // One encoder thread would only hand each frame over and wait: the sequential job does the same work.
    const unsigned encoders = EncoderThreadsFor(config.threads);
    EncoderPool pool(
        encoders == 1 ? 0 : encoders,
        [&](std::uint64_t index, const FrameBuffer& frame) {
            return WriteFrameFile(FrameFileName(folder, title, first + index), frame, config.compression);
        },
        [&](std::uint64_t written) {
            result.framesWritten = written;
            progress.SetPosition(static_cast<int>(written * kProgressMaximum / rangeCount));
        });
    if (!pool.AllocateFrames(settings.frameWidth, settings.frameHeight)) {
        result.failure = AllocationFailure(settings);
        return result;
    }

    const std::uint64_t simulated = rangeCount != 0 ? config.warmUpSteps + first : 0;
    bool stopped = false;
    for (std::uint64_t step = 0; step < simulated && !stopped; ++step) {
        effect.SimulateFrame(dt, settings);
        stopped = stopRequested();
    }
    DrawingPool drawing(settings.drawingThreads);
    if (!stopped && !stopRequested()) {
        for (std::uint64_t i = 0; i < rangeCount; ++i) {
            std::optional<FrameBuffer> frame = pool.TakeFrame();
            if (!frame) break;  // a frame failed
            effect.RenderFrame(dt, *frame, settings, drawing);
            pool.Submit(i, std::move(*frame));
            if (stopRequested()) break;
        }
    }
    pool.Finish();

    if (const auto& failure = pool.FirstFailure()) {
        for (const std::uint64_t index : pool.WrittenPastFailure())
            RemoveFrameFile(FrameFileName(folder, title, first + index));
        result.failure = failure->text;
    }
    return result;
}

}  // namespace

unsigned EncoderThreadsFor(unsigned threads) {
    if (threads != 0) return threads;
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware != 0 ? hardware : 1;
}

RenderResult RenderEffect(Effect& effect, const RenderJobConfig& config, RenderProgress& progress,
                          const StopRequested& stopRequested) {
    // Both factors are 32 bits wide; their product may not be.
    const std::uint64_t frameCount = std::uint64_t{config.seconds} * config.framesPerSecond;
    progress.SetRange(0, kProgressMaximum);
    progress.SetPosition(0);

    RenderResult result;
    try {
        result = RenderFrames(effect, config, progress, stopRequested, frameCount);
    } catch (const std::exception& error) {
        // Nothing may escape to a worker thread; the run ends like a failed write.
        result.failure = std::string("rendering failed: ") + error.what();
    }
    progress.Finish();
    return result;
}

CRenderThread::CRenderThread(Effect& effect, RenderProgress& progress, RenderJobConfig config)
    : effect_(effect), progress_(progress), config_(std::move(config)) {}

// The worker reads this object's members: it must end before they go.
CRenderThread::~CRenderThread() {
    Stop();
}

void CRenderThread::Run() {
    StartedSignal().Set();
    result_ = RenderEffect(effect_, config_, progress_, [this] { return IsStopRequested(); });
    RequestStop();
}

}  // namespace orv
