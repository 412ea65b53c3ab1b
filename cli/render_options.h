#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
    unsigned threads = 0;  // frame-writing threads; 0 = one per hardware thread, 1 = sequential
    PngCompression compression = PngCompression::kDefault;
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
