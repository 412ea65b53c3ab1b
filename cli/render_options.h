#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/output_format.h"
#include "image/png_compression.h"

namespace orv {

// What the command line asked for.
struct RenderOptions {
    std::string effectPath;  // as typed (UTF-8)
    std::string outputBase;  // as typed (UTF-8)
    std::uint32_t seconds = 10;
    std::uint32_t framesPerSecond = 60;
    std::uint32_t width = 800;
    std::uint32_t height = 600;
    std::uint32_t interpolateType = 0;  // 0 nearest, 1 bilinear
    bool sse2 = false;                  // the default follows the processor
    bool sse2Requested = false;         // "--sse2 on" was given
    bool quiet = false;
    std::optional<std::uint64_t> seed;  // overrides the effect file's
    std::optional<double> startSeconds;  // simulated before frame 0, >= 0; none: the default
    bool loop = false;                   // a seamless loop instead of the plain sequence
    // Frames to write, numbered as in the whole render, both within it.
    std::uint64_t firstFrame = 0;
    std::optional<std::uint64_t> lastFrame;

    std::uint64_t FrameCount() const { return std::uint64_t{seconds} * framesPerSecond; }
    // The start offset in whole steps of 1 / fps, rounded to the nearest; none when not given.
    std::optional<std::uint64_t> StartSteps() const;
    unsigned threads = 0;  // frame-writing threads; 0 = one per hardware thread, 1 = sequential
    PngCompression compression = PngCompression::kDefault;
    OutputFormat format = OutputFormat::kPngSequence;
    SheetOptions sheet{};
    WebpQuality webpQuality{};  // nothing: lossless
};

struct ParsedCommandLine {
    enum class Action { kRender, kHelp, kVersion, kUsageError };
    Action action = Action::kUsageError;
    RenderOptions options;
    std::string error;  // for kUsageError: what is wrong, one line
};

// Reads the arguments after the program name. `processorHasSse2` gives the SSE2 default.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool processorHasSse2);

// The text of --help.
std::string HelpText();

}  // namespace orv
