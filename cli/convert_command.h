#pragma once

#include <string>
#include <vector>

#include "interop/particle_files.h"

namespace orv {

struct ConvertOptions {
    std::string input;
    std::string output;
    bool embedTexture = false;
    FrameSize frame;
};

struct ParsedConvertLine {
    enum class Action { kConvert, kHelp, kVersion, kUsageError };
    Action action = Action::kConvert;
    ConvertOptions options;
    std::string error;  // for kUsageError
};

// orv-convert [--embed] [--width W --height H] IN OUT; the formats come from the extensions.
ParsedConvertLine ParseConvertLine(const std::vector<std::string>& arguments);
std::string ConvertHelpText();

// Converts IN to OUT and prints on standard output every value that was approximated, clamped or
// dropped. An effect of several emitters written as .plist or .pex gives one file per emitter,
// OUT-EMITTER.ext. Returns the exit status: 0, or 1 when a file cannot be read or written
// (one line on standard error says which and why).
int RunConvertCommand(const ConvertOptions& options);

}  // namespace orv
