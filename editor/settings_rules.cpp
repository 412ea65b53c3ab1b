#include "editor/settings_rules.h"

namespace orv {

namespace {

std::uint32_t ScreenSide(const std::optional<std::uint32_t>& stored, std::uint32_t fallback) {
    if (!stored || *stored == 0 || *stored > kMaxScreenSide) return fallback;
    return *stored;
}

}  // namespace

Settings SettingsFromStored(const StoredSettingValues& stored, bool processorHasSse2) {
    Settings settings = Settings::Defaults();
    settings.sse2Enable = processorHasSse2;
    settings.screenWidth = ScreenSide(stored.screenWidth, settings.screenWidth);
    settings.screenHeight = ScreenSide(stored.screenHeight, settings.screenHeight);
    if (stored.fsp) settings.fsp = *stored.fsp;
    if (stored.drawType) settings.drawType = *stored.drawType;
    if (stored.interpolateType) settings.interpolateType = *stored.interpolateType;
    if (stored.sse2Enable) settings.sse2Enable = *stored.sse2Enable != 0;
    if (!processorHasSse2) settings.sse2Enable = false;
    if (stored.drawingThreads && *stored.drawingThreads <= kMaxDrawingThreads) {
        settings.drawingThreads = *stored.drawingThreads;
    }
    return settings;
}

std::uint32_t PreviewFps(std::uint32_t fsp) {
    switch (fsp) {
        case 60:
        case 30:
        case 20:
        case 15:
            return fsp;
        default:
            return 60;
    }
}

std::uint32_t TimerPeriodMs(std::uint32_t fsp) {
    return 1000 / PreviewFps(fsp);
}

}  // namespace orv
