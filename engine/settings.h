#pragma once

#include <cstdint>

namespace orv {

// The six user settings, process-wide. The editor loads them at start and stores them when the
// options dialog changed one; the command-line renderer fills them from its options.
struct Settings {
    std::uint32_t screenWidth = 800;    // frame width: preview buffer and rendered frames
    std::uint32_t screenHeight = 600;   // frame height
    std::uint32_t fsp = 60;             // preview frames per second: 60, 30, 20 or 15
    std::uint32_t drawType = 0;         // 0: particles onto the background; 1: via a transparent work buffer
    std::uint32_t interpolateType = 0;  // 0: nearest, 1: bilinear
    bool sse2Enable = false;            // stored flag; defaults to what the processor reports
    std::uint32_t drawingThreads = 0;   // threads that draw a frame; 0: one per hardware thread

    // The defaults of a machine without stored settings.
    static Settings Defaults();
};

// What drawing a frame needs of the settings, copied by whoever starts the drawing (the editor's
// UI thread, the command line) and handed down, so a render on its worker thread never sees a
// change made meanwhile.
struct SettingsSnapshot {
    std::uint32_t frameWidth = 800;
    std::uint32_t frameHeight = 600;
    std::uint32_t interpolateType = 0;  // 0: nearest, 1: bilinear; other values keep each emitter's own
    bool sse2 = false;                  // the SSE2 code path; only ever true where the processor has it
    std::uint32_t drawType = 0;         // the preview's drawing mode (see Settings::drawType)
    std::uint32_t drawingThreads = 0;   // threads that draw a frame; 0: one per hardware thread
};

// Most threads a frame is drawn on (as many as orv-render's --threads takes); a stored or typed
// count above it is refused.
inline constexpr std::uint32_t kMaxDrawingThreads = 256;
// Largest frame side: the options dialog's edits take four digits, and the 16.16 sprite
// coordinates must hold every pixel position with room to spare.
inline constexpr std::uint32_t kMaxScreenSide = 9999;

// Whether this build can run SSE2 code on this processor.
bool ProcessorHasSse2();

// The process-wide record. Written only by the UI thread while no render job runs, so readers
// need no lock.
Settings& CurrentSettings();

// The flag the drawing code reads; always equal to the stored flag after loading and after the
// options dialog.
bool ActiveSse2();
void SetActiveSse2(bool on);

// The current record and SSE2 flag as a snapshot. Called on the UI thread only.
SettingsSnapshot TakeSettingsSnapshot();

}  // namespace orv
