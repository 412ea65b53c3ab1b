#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/emitter.h"

namespace orv {

// What the texture dialog edits, as text and numbers, independent of any widget.
struct TextureChoices {
    std::u16string path;
    std::u16string durationsText;  // frame durations in milliseconds, comma-separated
    bool isAnimation = false;
    std::uint32_t splitX = 1;  // 1..32
    std::uint32_t splitY = 1;  // 1..32
};

inline constexpr std::uint32_t kMaxSplit = 32;
// Longest texts the dialog's edits accept.
inline constexpr std::size_t kMaxTexturePathLength = 2599;
inline constexpr std::size_t kMaxDurationsTextLength = 1023;

// "100,100,250" for the list 100, 100, 250; empty for an empty list.
std::u16string FormatFrameDurations(const std::vector<std::uint32_t>& durations);

// The pieces between commas, each read as the number its leading digits spell (0 without any);
// an empty piece before a comma counts, a trailing empty piece does not: "100,,200" gives
// 100, 0, 200 and "100,200," gives 100, 200.
std::vector<std::uint32_t> ParseFrameDurations(std::u16string_view text);

// The dialog's starting values from an emitter's texture settings. A split above 32 shows as 1.
TextureChoices ChoicesFromTexture(const TextureSettings& texture);

// What OK does to an emitter's texture: file name, animation flag, splits and durations are
// stored, then the picture at the path is loaded; a path that does not load changes the file name
// only.
void ApplyTextureChoices(TextureSettings& texture, const TextureChoices& choices);

}  // namespace orv
