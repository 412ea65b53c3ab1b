#include "cli/render_command.h"

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "cli/interrupt_request.h"
#include "cli/terminal_progress.h"
#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "engine/settings.h"
#include "export/frame_file_name.h"
#include "export/output_folder.h"
#include "export/render_job.h"
#include "render/blend_tables.h"
#include "vesk/path_utils.h"
#include "vesk/text_conversion.h"

#ifdef _WIN32
#include <io.h>
#define ORV_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define ORV_ISATTY(fd) isatty(fd)
#endif

namespace orv {
namespace {

// Joins message pieces by appending: GCC 12 at -O3 raises a false -Wrestrict on
// "literal" + temporary string.
std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) text.append(part);
    return text;
}

void Message(const std::string& text) {
    std::fprintf(stderr, "orv-render: %s\n", text.c_str());
}

SettingsSnapshot SettingsFor(const RenderOptions& options) {
    SettingsSnapshot settings;
    settings.frameWidth = options.width;
    settings.frameHeight = options.height;
    settings.interpolateType = options.interpolateType;
    settings.sse2 = options.sse2 && ProcessorHasSse2();
    // One count serves the drawing and the encoders: --threads 1 is the one-thread render.
    settings.drawingThreads = options.threads;
    if (options.sse2Requested && !settings.sse2) {
        Message("this processor has no SSE2; drawing with the plain code path");
    }
    return settings;
}

// An emitter whose texture is missing draws nothing; the render still runs, as in the editor.
void WarnAboutTextures(const Effect& effect) {
    for (std::size_t i = 0; i < effect.Count(); ++i) {
        const TextureSettings& texture = effect.EmitterAt(i).texture;
        if (texture.Image() != nullptr) continue;
        const std::string name = Concat({"emitter \"", vesk::Utf8ForDisplay(effect.NameAt(i)), "\""});
        if (texture.FileName().empty()) {
            Message(Concat({"warning: ", name, " has no texture and draws nothing"}));
        } else {
            Message(Concat({"warning: ", name, ": texture \"", vesk::Utf8ForDisplay(texture.FileName()),
                            "\" cannot be loaded; the emitter draws nothing"}));
        }
    }
}

bool PrepareOutputFolder(const std::u16string& outputBase) {
    const OutputFolderResult result = CreateOutputFolder(outputBase);
    if (result.outcome == OutputFolderResult::Outcome::kReady) return true;
    const std::string why = result.outcome == OutputFolderResult::Outcome::kInvalidName
                                ? "the name is not valid text"
                            : result.reason.empty() ? "a file of that name is in the way"
                                                    : result.reason;
    Message(Concat({"cannot create the output folder \"", vesk::Utf8ForDisplay(result.folder), "\": ", why}));
    return false;
}

}  // namespace

int RunRenderCommand(const RenderOptions& options) {
    std::u16string effectPath;
    std::u16string outputBase;
    if (!vesk::MultiByteToWide(effectPath, options.effectPath, true) ||
        !vesk::MultiByteToWide(outputBase, options.outputBase, true)) {
        Message("file names must be valid UTF-8");
        return kExitUsage;
    }

    const SettingsSnapshot settings = SettingsFor(options);
    GetBlendTables();  // built now rather than inside the first frame

    // The editor opens files by absolute path; textures are resolved against the effect's folder.
    const std::u16string fullEffectPath = vesk::GetFullPath(effectPath);
    Effect effect;
    const LoadOutcome load = LoadEffect(effect, fullEffectPath.empty() ? effectPath : fullEffectPath, false);
    if (!load.loaded) {
        const std::string reason = load.message ? vesk::Utf8ForDisplay(load.message->text) : "read error";
        Message(Concat({"cannot load effect \"", options.effectPath, "\": ", reason}));
        return kExitFailure;
    }
    WarnAboutTextures(effect);
    if (options.seed) effect.SetSeed(options.seed);

    if (!PrepareOutputFolder(outputBase)) return kExitFailure;

    RenderJobConfig config;
    config.framesPerSecond = options.framesPerSecond;
    config.seconds = options.seconds;
    config.outputBasePath = outputBase;
    config.settings = settings;
    config.warmUpSteps = options.StartSteps();
    config.loop = options.loop;
    config.firstFrame = options.firstFrame;
    if (options.lastFrame) config.lastFrame = *options.lastFrame;
    const std::uint64_t lastFrame = options.lastFrame.value_or(options.FrameCount() - 1);
    const std::uint64_t totalFrames = lastFrame + 1 - options.firstFrame;
    config.threads = options.threads;
    config.compression = options.compression;
    config.format = options.format;
    config.sheet = options.sheet;
    config.webpQuality = options.webpQuality;

    std::unique_ptr<RenderProgress> display;
    if (!options.quiet && ORV_ISATTY(2)) {
        display = std::make_unique<TerminalProgress>(stderr, totalFrames);
    } else {
        display = std::make_unique<SilentProgress>();
    }
    // Drawn here, in frame order; written by the encoder threads.
    const InterruptRequest interrupt;
    const RenderResult result = RenderEffect(effect, config, *display, [&] { return interrupt.Requested(); });
    const std::optional<std::string>& failure = result.failure;
    const std::uint64_t written = result.framesWritten;
    const std::string tally = Concat({std::to_string(written), " of ", std::to_string(totalFrames), " frames written"});

    if (failure) {
        Message(Concat({*failure, " (", tally, ")"}));
        return kExitFailure;
    }
    if (interrupt.Requested() && written < totalFrames) {
        Message(Concat({"interrupted: ", tally}));
        return kExitInterrupted;
    }
    if (!options.quiet && !result.files.empty()) {
        std::string names;
        for (const std::u16string& file : result.files) {
            if (!names.empty()) names += ", ";
            names += vesk::Utf8ForDisplay(file);
        }
        std::printf("orv-render: wrote %llu frames to %s\n", static_cast<unsigned long long>(written), names.c_str());
    } else if (!options.quiet && written > 0) {
        const std::u16string folder = vesk::GetDirectoryPart(outputBase);
        const std::u16string title = vesk::GetFileTitlePart(outputBase);
        std::printf("orv-render: wrote %llu frames, %s to %s\n", static_cast<unsigned long long>(written),
                    vesk::Utf8ForDisplay(FrameFileName(folder, title, options.firstFrame)).c_str(),
                    vesk::Utf8ForDisplay(FrameFileName(folder, title, options.firstFrame + written - 1)).c_str());
    }
    return kExitSuccess;
}

}  // namespace orv
