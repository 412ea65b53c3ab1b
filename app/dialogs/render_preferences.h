#pragma once

#include <string>

#include "export/output_format.h"
#include "image/png_compression.h"

namespace orv {

// The render dialog's choices that the editor remembers between runs, beside the settings record:
// what is written, how the frames are compressed and how many threads write them, whether they
// make a seamless loop and the start offset as typed.
struct RenderPreferences {
    unsigned threads = 0;  // 0: one per hardware thread; 1: each frame drawn and written in turn
    PngCompression compression = PngCompression::kDefault;
    OutputFormat format = OutputFormat::kPngSequence;
    bool loop = false;
    std::u16string start;  // seconds as typed; empty: none for a plain render, automatic for a loop
};

// Longest start offset text the dialog takes.
inline constexpr int kMaxStartLength = 16;

// Most writer threads the dialog offers; each holds a frame in memory.
inline constexpr unsigned kMaxRenderThreads = 256;

// Read from and written to the per-user store ("RenderThreads", "PngCompression", "RenderFormat"
// by its command-line name, "RenderLoop", "RenderStart"); a missing or unreadable value keeps its
// default.
RenderPreferences LoadRenderPreferences();
void SaveRenderPreferences(const RenderPreferences& preferences);

}  // namespace orv
