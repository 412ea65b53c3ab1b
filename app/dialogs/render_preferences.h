#pragma once

#include "export/output_format.h"
#include "image/png_compression.h"

namespace orv {

// The render dialog's choices that the editor remembers between runs, beside the settings record:
// what is written, how the frames are compressed and how many threads write them.
struct RenderPreferences {
    unsigned threads = 0;  // 0: one per hardware thread; 1: each frame drawn and written in turn
    PngCompression compression = PngCompression::kDefault;
    OutputFormat format = OutputFormat::kPngSequence;
};

// Most writer threads the dialog offers; each holds a frame in memory.
inline constexpr unsigned kMaxRenderThreads = 256;

// Read from and written to the per-user store ("RenderThreads", "PngCompression", "RenderFormat"
// by its command-line name); a missing or unreadable value keeps its default.
RenderPreferences LoadRenderPreferences();
void SaveRenderPreferences(const RenderPreferences& preferences);

}  // namespace orv
