#pragma once

#include <cstdint>
#include <optional>

#include "engine/settings.h"

namespace orv {

// The values found in the settings store, each absent when it was missing or unreadable.
struct StoredSettingValues {
    std::optional<std::uint32_t> screenWidth;
    std::optional<std::uint32_t> screenHeight;
    std::optional<std::uint32_t> fsp;
    std::optional<std::uint32_t> drawType;
    std::optional<std::uint32_t> interpolateType;
    std::optional<std::uint32_t> sse2Enable;
    std::optional<std::uint32_t> drawingThreads;
};

// The settings record built from stored values over the defaults. A width or height of 0 or
// above kMaxScreenSide keeps its default, since the buffers need a usable size. The SSE2 flag is
// only ever on where the processor runs SSE2 code. A drawing thread count above
// kMaxDrawingThreads keeps its default.
Settings SettingsFromStored(const StoredSettingValues& stored, bool processorHasSse2);

// The preview's frame rate for a stored FSP: 60, 30, 20 and 15 as they are, anything else 60.
std::uint32_t PreviewFps(std::uint32_t fsp);

// The preview timer's period in milliseconds: 1000 / PreviewFps(fsp), integer division.
std::uint32_t TimerPeriodMs(std::uint32_t fsp);

}  // namespace orv
