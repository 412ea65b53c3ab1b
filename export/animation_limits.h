#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orv {

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
