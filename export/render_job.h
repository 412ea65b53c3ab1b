#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/effect.h"
#include "engine/settings.h"
#include "export/output_format.h"
#include "export/render_progress.h"
#include "image/png_compression.h"
#include "vesk/thread.h"

namespace orv {

struct RenderJobConfig {
    std::uint32_t framesPerSecond = 30;
    std::u16string outputBasePath;  // folder and title of the files; its extension is dropped
    std::uint32_t seconds = 10;
    SettingsSnapshot settings;  // frame size and code path, taken by whoever starts the job
    // Threads that write frames while the next ones are drawn: 0 = one per hardware thread;
    // 1 = none, every frame drawn and written in turn on the job's own thread.
    unsigned threads = 0;
    PngCompression compression = PngCompression::kDefault;
    // Steps simulated after the restart, before the sequence's first frame (a start offset).
    // Nothing: none for a plain render, DefaultLoopWarmUpSteps for a loop.
    std::optional<std::uint64_t> warmUpSteps = std::nullopt;
    // A seamless loop (SeamlessLoop) of seconds x fps frames after the warm-up, instead of the
    // plain sequence; the range then picks frames of the loop.
    bool loop = false;
    // The frames written, numbered as in the whole sequence; the frames before `firstFrame` are
    // simulated without drawing, those after `lastFrame` not at all. Both are limited to the
    // sequence.
    std::uint64_t firstFrame = 0;
    std::uint64_t lastFrame = std::numeric_limits<std::uint64_t>::max();
    OutputFormat format = OutputFormat::kPngSequence;
    SheetOptions sheet{};
    WebpQuality webpQuality{};  // nothing: lossless
};

// How a render ended.
struct RenderResult {
    std::optional<std::string> failure;  // file name and reason (UTF-8); nothing when it succeeded
    std::uint64_t framesWritten = 0;     // frames first .. first + framesWritten - 1 are on disk
    std::vector<std::u16string> files;   // the files of a format other than the PNG sequence
};

// Asked between frames; true ends the render after the frames already drawn are written.
using StopRequested = std::function<bool()>;

// The encoder threads a job runs with for the `threads` setting (0 asks the machine).
unsigned EncoderThreadsFor(unsigned threads);

// Renders an effect into the configured format (by default a numbered PNG sequence): every emitter
// restarted, the warm-up steps and the frames before the range simulated (for a loop: its copies
// set up, then the frames before the range simulated), then seconds x fps frames (or the range of
// them), each stepped by 1 / fps seconds and drawn, in frame order on the calling thread, into a
// frame of the snapshot's size, and handed to the format's sink (for the sequence, written as
// folder + title + six-digit index + ".png" by the encoder threads). Reports progress 0..1000 once
// at the start, once per frame written (in frame order) and Finish at the end.
//
// While it runs it steps the effect's emitters and the shared random generator, so nobody else may
// step them. A frame that cannot be written ends the run; afterwards exactly the frames of the
// sequence before it are on disk (frames after it that were already written are removed). A stop
// request is honoured between frames with the same guarantee. The other formats are one file (or
// a sheet's pages) put in place only when every frame is in; a failed or stopped render of them
// leaves the target files as they were.
RenderResult RenderEffect(Effect& effect, const RenderJobConfig& config, RenderProgress& progress,
                          const StopRequested& stopRequested);

// The editor's way to run RenderEffect: on a worker thread of its own, stopped by RequestStop.
class CRenderThread : public vesk::CThread {
public:
    CRenderThread(Effect& effect, RenderProgress& progress, RenderJobConfig config);
    ~CRenderThread() override;  // joins

    // After the run: the failure that ended it, if any (file name and reason), UTF-8 text.
    const std::optional<std::string>& Failure() const { return result_.failure; }
    std::uint64_t FramesWritten() const { return result_.framesWritten; }

protected:
    void Run() override;

private:
    Effect& effect_;
    RenderProgress& progress_;
    const RenderJobConfig config_;
    RenderResult result_;
};

}  // namespace orv
