#pragma once

#include <cstdint>
#include <string_view>

#include "engine/settings.h"

namespace orv {

// What the settings dialog edits, independent of any widget.
struct OptionChoices {
    std::uint32_t width = 800;
    std::uint32_t height = 600;
    std::uint32_t framesPerSecond = 60;
    std::uint32_t drawType = 0;
    std::uint32_t interpolateType = 0;
    bool sse2 = false;
    std::uint32_t drawingThreads = 0;  // 0: one per hardware thread
};

// Which settings a confirmed settings dialog changed, so the caller knows what to refresh.
struct SettingsChange {
    bool fpsChanged = false;
    bool sizeChanged = false;
    bool any = false;
};

// Longest text the width and height edits accept.
inline constexpr int kMaxDimensionDigits = 4;

// The frame-rate list "60 FPS", "30 FPS", "20 FPS", "15 FPS": the item showing a rate (item 0
// for any rate not in the list) and the rate of an item (60 for any other item).
int FrameRateListIndex(std::uint32_t framesPerSecond);
std::uint32_t FrameRateFromListIndex(int index);

// The dialog's starting values. A draw type the list does not offer shows as 0.
OptionChoices OptionChoicesFromSettings(const Settings& settings);

// A width or height edit's text: its leading digits when they read more than 0, else `current`.
std::uint32_t ParseDimension(std::u16string_view text, std::uint32_t current);

// Stores every choice that differs from `settings` (a draw or interpolation type other than 0
// or 1 is not stored) and reports what changed. The caller makes a changed SSE2 flag active and
// saves when anything changed.
SettingsChange ApplyOptionChoices(Settings& settings, const OptionChoices& choices);

}  // namespace orv
