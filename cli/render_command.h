#pragma once

#include "cli/render_options.h"

namespace orv {

// Exit statuses of orv-render.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // unreadable effect, no output folder, unwritable frame
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;  // the shell's 128 + SIGINT, also after SIGTERM

// Sets the process-wide settings from the options, loads the effect as the editor's Open does
// and runs the render job to its end. Messages go to standard error; the closing summary to
// standard output. Returns the exit status.
int RunRenderCommand(const RenderOptions& options);

}  // namespace orv
