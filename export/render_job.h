#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/effect.h"
#include "engine/settings.h"
#include "export/render_progress.h"
#include "vesk/thread.h"

namespace orv {

struct RenderJobConfig {
    std::uint32_t framesPerSecond = 30;
    std::u16string outputBasePath;  // folder and title of the files; its extension is dropped
    std::uint32_t seconds = 10;
    SettingsSnapshot settings;  // frame size and code path, taken by whoever starts the job
};

// Renders an effect into a numbered PNG sequence on its own thread: every emitter restarted,
// then seconds x fps frames, each stepped by 1 / fps seconds, drawn into a frame of the
// snapshot's size and written as folder + title + six-digit index + ".png".
//
// While the job runs it steps the effect's emitters and the shared random generator, so nobody
// else may step them until the job has been joined. A stop request is honoured between frames.
// A frame that cannot be written ends the run at once; the frames before it stay on disk.
class CRenderThread : public vesk::CThread {
public:
    CRenderThread(Effect& effect, RenderProgress& progress, RenderJobConfig config);
    ~CRenderThread() override;  // joins

    // After the run: the failure that ended it, if any (file name and reason), UTF-8 text.
    const std::optional<std::string>& Failure() const { return failure_; }
    std::uint64_t FramesWritten() const { return framesWritten_.load(); }

protected:
    void Run() override;

private:
    // Runs the frame loop; returns the failure that ended it, if any.
    std::optional<std::string> RenderFrames(std::uint64_t frameCount);

    Effect& effect_;
    RenderProgress& progress_;
    const RenderJobConfig config_;
    std::optional<std::string> failure_;
    std::atomic<std::uint64_t> framesWritten_{0};
};

}  // namespace orv
