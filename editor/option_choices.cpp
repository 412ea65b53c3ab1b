#include "editor/option_choices.h"

#include <algorithm>
#include <array>
#include <limits>

#include "vesk/decimal_digits.h"

namespace orv {
namespace {

constexpr std::array<std::uint32_t, 4> kFrameRates = {60, 30, 20, 15};

}  // namespace

int FrameRateListIndex(std::uint32_t framesPerSecond) {
    for (std::size_t i = 1; i < kFrameRates.size(); ++i) {
        if (kFrameRates[i] == framesPerSecond) return static_cast<int>(i);
    }
    return 0;
}

std::uint32_t FrameRateFromListIndex(int index) {
    if (index >= 1 && index < static_cast<int>(kFrameRates.size())) return kFrameRates[index];
    return kFrameRates[0];
}

OptionChoices OptionChoicesFromSettings(const Settings& settings) {
    OptionChoices choices;
    choices.width = settings.screenWidth;
    choices.height = settings.screenHeight;
    choices.framesPerSecond = settings.fsp;
    choices.drawType = settings.drawType <= 1 ? settings.drawType : 0;
    choices.interpolateType = settings.interpolateType;
    choices.sse2 = settings.sse2Enable;
    choices.drawingThreads = settings.drawingThreads;
    return choices;
}

std::uint32_t ParseDimension(std::u16string_view text, std::uint32_t current) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    std::uint64_t value = 0;
    vesk::ReadDigits(text, i, value, std::numeric_limits<std::uint32_t>::max());
    return value > 0 ? static_cast<std::uint32_t>(value) : current;
}

SettingsChange ApplyOptionChoices(Settings& settings, const OptionChoices& choices) {
    SettingsChange change;
    if (choices.framesPerSecond != settings.fsp) {
        settings.fsp = choices.framesPerSecond;
        change.fpsChanged = true;
    }
    if (choices.width != settings.screenWidth || choices.height != settings.screenHeight) {
        settings.screenWidth = choices.width;
        settings.screenHeight = choices.height;
        change.sizeChanged = true;
    }
    bool otherChanged = false;
    if (choices.drawType != settings.drawType) {
        if (choices.drawType <= 1) settings.drawType = choices.drawType;
        otherChanged = true;
    }
    if (choices.interpolateType != settings.interpolateType) {
        if (choices.interpolateType <= 1) settings.interpolateType = choices.interpolateType;
        otherChanged = true;
    }
    if (choices.sse2 != settings.sse2Enable) {
        settings.sse2Enable = choices.sse2;
        otherChanged = true;
    }
    if (choices.drawingThreads != settings.drawingThreads) {
        if (choices.drawingThreads <= kMaxDrawingThreads) settings.drawingThreads = choices.drawingThreads;
        otherChanged = true;
    }
    change.any = change.fpsChanged || change.sizeChanged || otherChanged;
    return change;
}

}  // namespace orv
