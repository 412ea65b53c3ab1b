#include "export/render_job.h"

#include <exception>
#include <thread>
#include <utility>

#include "engine/seamless_loop.h"
#include "engine/frame_drawer.h"
#include "export/encoder_pool.h"
#include "export/frame_sink.h"
#include "vesk/path_utils.h"
#include "vesk/text_conversion.h"

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

// Frames that must arrive in order go through one encoder thread beside the drawing, or none
// when the render runs on one thread.
unsigned SinkEncoderThreads(const FrameSink& sink, unsigned threads) {
    const unsigned encoders = EncoderThreadsFor(threads);
    // One encoder thread of a sequence would only hand each frame over and wait: the sequential
    // job does the same work.
    if (sink.WritesFilePerFrame()) return encoders == 1 ? 0 : encoders;
    return encoders == 1 ? 0 : 1;
}

RenderResult RenderFrames(Effect& effect, const RenderJobConfig& config, RenderProgress& progress,
                          const StopRequested& stopRequested, std::uint64_t frameCount) {
    const SettingsSnapshot& settings = config.settings;

    const double dt = config.framesPerSecond != 0 ? 1.0 / config.framesPerSecond : 0.0;

    // Frames before the range are stepped like the rest without being drawn, so the range's frames
    // are the very frames of the whole sequence. The pool counts the range's frames from 0.
    const std::uint64_t first = config.firstFrame;
    const std::uint64_t end = config.lastFrame < frameCount ? config.lastFrame + 1 : frameCount;
    const std::uint64_t rangeCount = first < end ? end - first : 0;

    FrameSinkSetup setup;
    setup.folder = vesk::GetDirectoryPart(config.outputBasePath);
    setup.title = vesk::GetFileTitlePart(config.outputBasePath);
    setup.firstFrame = first;
    setup.frameCount = rangeCount;
    setup.width = settings.frameWidth;
    setup.height = settings.frameHeight;
    setup.framesPerSecond = config.framesPerSecond;
    setup.compression = config.compression;
    setup.sheet = config.sheet;
    setup.webpQuality = config.webpQuality;

    RenderResult result;
    if (rangeCount == 0) return result;  // nothing is simulated for an empty range
    if (config.format != OutputFormat::kPngSequence && setup.title.empty()) {
        // Only a sequence can name its files by number alone.
        result.failure = "cannot write into \"" + vesk::Utf8ForDisplay(setup.folder) +
                         "\": the output base names a folder, not a file";
        return result;
    }
    const std::unique_ptr<FrameSink> sink = MakeFrameSink(config.format, setup);
    EncoderPool pool(
        SinkEncoderThreads(*sink, config.threads),
        [&](std::uint64_t index, const FrameBuffer& frame) { return sink->Write(index, frame); },
        [&](std::uint64_t written) {
            result.framesWritten = written;
            progress.SetPosition(static_cast<int>(written * kProgressMaximum / rangeCount));
        });
    if (!pool.AllocateFrames(settings.frameWidth, settings.frameHeight)) {
        result.failure = AllocationFailure(settings);
        return result;
    }

    FrameDrawer drawing(settings.drawingThreads);
    std::optional<SeamlessLoop> loop;
    bool stopped = false;
    if (config.loop) {
        const std::uint64_t warmUp = config.warmUpSteps.value_or(DefaultLoopWarmUpSteps(effect, dt));
        loop.emplace(effect, settings, dt, warmUp, frameCount, stopRequested);
        stopped = loop->Stopped();
    } else {
        effect.RestartAllEmitters(settings);
        const std::uint64_t warmUp = config.warmUpSteps.value_or(0);
        for (std::uint64_t step = 0; step < warmUp && !stopped; ++step) {
            effect.SimulateFrame(dt, settings);
            stopped = stopRequested();
        }
    }
    for (std::uint64_t step = 0; step < first && !stopped; ++step) {
        if (loop) {
            loop->SimulateFrame();
        } else {
            effect.SimulateFrame(dt, settings);
        }
        stopped = stopRequested();
    }
    std::uint64_t submitted = 0;
    if (!stopped && !stopRequested()) {
        for (std::uint64_t i = 0; i < rangeCount; ++i) {
            std::optional<FrameBuffer> frame = pool.TakeFrame();
            if (!frame) break;  // a frame failed
            if (loop) {
                loop->RenderFrame(*frame, drawing);
            } else {
                effect.RenderFrame(dt, *frame, settings, drawing);
            }
            pool.Submit(i, std::move(*frame));
            submitted = i + 1;
            if (stopRequested()) break;
        }
    }
    pool.Finish();

    if (const auto& failure = pool.FirstFailure()) {
        sink->RemoveFrames(pool.WrittenPastFailure());
        result.failure = failure->text;
    } else if (submitted == rangeCount) {
        result.failure = sink->Commit();
        if (!result.failure) result.files = sink->Files();
    }
    // A file of the whole range that was not put in place holds none of the frames.
    if (!sink->WritesFilePerFrame() && result.files.empty()) result.framesWritten = 0;
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
