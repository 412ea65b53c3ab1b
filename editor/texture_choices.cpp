#include "editor/texture_choices.h"

#include <algorithm>
#include <limits>

#include "effectfile/texture_loading.h"
#include "vesk/decimal_digits.h"
#include "vesk/split_string.h"

namespace orv {
namespace {

// The number the piece's leading digits spell. Spaces before them are skipped, since "100, 200"
// is what people type; a sign is not a digit, so "-5" reads 0 rather than a huge unsigned value.
// Longer digit runs saturate instead of wrapping.
std::uint32_t LeadingNumber(std::u16string_view piece) {
    std::size_t i = 0;
    while (i < piece.size() && (piece[i] == u' ' || piece[i] == u'\t')) ++i;
    std::uint64_t value = 0;
    vesk::ReadDigits(piece, i, value, std::numeric_limits<std::uint32_t>::max());
    return static_cast<std::uint32_t>(value);
}

std::u16string NumberText(std::uint32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string FormatFrameDurations(const std::vector<std::uint32_t>& durations) {
    std::u16string text;
    for (std::size_t i = 0; i < durations.size(); ++i) {
        if (i != 0) text += u',';
        text += NumberText(durations[i]);
    }
    return text;
}

std::vector<std::uint32_t> ParseFrameDurations(std::u16string_view text) {
    std::vector<std::u16string> pieces;
    vesk::SplitString(text, u",", pieces);
    std::vector<std::uint32_t> durations;
    durations.reserve(pieces.size());
    for (const std::u16string& piece : pieces) durations.push_back(LeadingNumber(piece));
    return durations;
}

TextureChoices ChoicesFromTexture(const TextureSettings& texture) {
    TextureChoices choices;
    choices.path = texture.FileName();
    choices.durationsText = FormatFrameDurations(texture.FrameDurations());
    choices.isAnimation = texture.IsAnimation();
    if (texture.SplitX() <= kMaxSplit) choices.splitX = texture.SplitX();
    if (texture.SplitY() <= kMaxSplit) choices.splitY = texture.SplitY();
    return choices;
}

void ApplyTextureChoices(TextureSettings& texture, const TextureChoices& choices) {
    texture.SetFileName(choices.path);
    texture.SetAnimation(choices.isAnimation);
    texture.SetSplitX(std::clamp<std::uint32_t>(choices.splitX, 1, kMaxSplit));
    texture.SetSplitY(std::clamp<std::uint32_t>(choices.splitY, 1, kMaxSplit));
    // An emptied list keeps the previous total; a filled one recomputes it.
    texture.SetFrameDurations({});
    if (!choices.durationsText.empty()) texture.SetFrameDurations(ParseFrameDurations(choices.durationsText));
    LoadTexture(texture, choices.path);
}

}  // namespace orv
