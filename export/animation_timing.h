#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orv {

// When frame `frame` starts, in units of 1 / `unitsPerSecond` s (milliseconds for WebP, hundredths
// for GIF): rounding each start rather than adding rounded durations keeps the animation's length
// exact when 1 / fps is no whole number of units.
inline std::uint64_t FrameStart(std::uint64_t frame, std::uint32_t framesPerSecond, std::uint32_t unitsPerSecond) {
    return (frame * unitsPerSecond + framesPerSecond / 2) / framesPerSecond;
}

// Refuses, before anything is drawn, a frame count that the format's fields cannot hold.
inline void CheckFrameCount(std::uint64_t frameCount, std::uint64_t limit, const char* format) {
    if (frameCount <= limit) return;
    std::string text = "an animated ";
    text += format;
    text += " holds at most ";
    text += std::to_string(limit);
    text += " frames, not ";
    text += std::to_string(frameCount);
    throw std::runtime_error(text);
}

}  // namespace orv
