#include "export/render_job.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <utility>

#include "export/frame_file_name.h"
#include "image/png_writer.h"
#include "image/texture.h"
#include "vesk/err_code_exception.h"
#include "vesk/path_utils.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

constexpr int kProgressMaximum = 1000;

// The writer only says "cannot open" or "write failed"; the system's error number, when it set
// one, tells the user which (missing folder, no permission, disk full).
std::string WriteFailure(const std::u16string& fileName, const char* codecReason, int systemError) {
    // Appended piece by piece: GCC 12 at -O3 raises a false -Wrestrict on "literal" + temporary.
    std::string text = "cannot write frame \"";
    text += vesk::Utf8ForDisplay(fileName);
    text += "\": ";
    text += systemError != 0 ? std::strerror(systemError) : codecReason;
    return text;
}

}  // namespace

CRenderThread::CRenderThread(Effect& effect, RenderProgress& progress, RenderJobConfig config)
    : effect_(effect), progress_(progress), config_(std::move(config)) {}

// The worker reads this object's members: it must end before they go.
CRenderThread::~CRenderThread() {
    Stop();
}

void CRenderThread::Run() {
    StartedSignal().Set();
    framesWritten_ = 0;
    failure_.reset();

    // Both factors are 32 bits wide; their product may not be.
    const std::uint64_t frameCount = std::uint64_t{config_.seconds} * config_.framesPerSecond;
    progress_.SetRange(0, kProgressMaximum);
    progress_.SetPosition(0);

    try {
        failure_ = RenderFrames(frameCount);
    } catch (const std::exception& error) {
        // Nothing may escape a worker thread; the run ends like a failed write.
        failure_ = std::string("rendering failed: ") + error.what();
    }

    progress_.Finish();
    RequestStop();
}

std::optional<std::string> CRenderThread::RenderFrames(std::uint64_t frameCount) {
    const SettingsSnapshot& settings = config_.settings;
    effect_.RestartAllEmitters(settings);

    // One frame for the whole sequence, held as the colour picture the PNG writer takes.
    Texture frame;
    frame.kind = Texture::kColour;
    frame.colour.emplace();
    if (!frame.colour->Create(settings.frameWidth, settings.frameHeight)) {
        std::string text = "cannot allocate a frame of ";
        text += std::to_string(settings.frameWidth);
        text += " x ";
        text += std::to_string(settings.frameHeight);
        text += " pixels";
        return text;
    }

    const std::u16string folder = vesk::GetDirectoryPart(config_.outputBasePath);
    const std::u16string title = vesk::GetFileTitlePart(config_.outputBasePath);
    const double dt = config_.framesPerSecond != 0 ? 1.0 / config_.framesPerSecond : 0.0;

    if (IsStopRequested()) return std::nullopt;
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        effect_.RenderFrame(dt, *frame.colour, settings);

        const std::u16string fileName = FrameFileName(folder, title, i);
        errno = 0;
        try {
            if (!SavePng(fileName, frame)) return WriteFailure(fileName, "the frame is empty", 0);
        } catch (const vesk::CErrCodeException& error) {
            const int systemError = errno;
            return WriteFailure(fileName, error.Message(), systemError);
        }
        ++framesWritten_;

        progress_.SetPosition(static_cast<int>((i + 1) * kProgressMaximum / frameCount));
        if (IsStopRequested()) break;
    }
    return std::nullopt;
}

}  // namespace orv
