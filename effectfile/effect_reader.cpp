#include "effectfile/effect_reader.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "effectfile/json_parser.h"
#include "engine/fixed_decimal_text.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

// The raw value of a row as read, limited to what its slider can show.
std::int32_t LimitToSlider(const ParamDescriptor& row, std::int32_t raw) {
    const std::int64_t position = std::int64_t{raw} + row.zeroOffset;
    if (position < row.sliderMin) return row.MinRaw();
    if (position > row.sliderMax) return row.MaxRaw();
    return raw;
}

std::optional<std::u16string> GetWideText(std::string_view key, const JsonValue& object) {
    const auto text = GetText(key, object);
    std::u16string wide;
    if (!text || !vesk::MultiByteToWide(wide, *text, true)) return std::nullopt;
    return wide;
}

// A grid needs at least one column and one row, whatever the file says.
std::uint32_t SplitCount(std::string_view text) {
    return static_cast<std::uint32_t>(std::max(ParseFixed(text, 0), 1));
}

void ReadTexture(const JsonValue& object, TextureSettings& texture) {
    texture.SetAnimation(GetFlag("is_animation", object));
    if (auto fileName = GetWideText("filename", object)) texture.SetFileName(std::move(*fileName));
    if (const auto text = GetText("split_x", object)) texture.SetSplitX(SplitCount(*text));
    if (const auto text = GetText("split_y", object)) texture.SetSplitY(SplitCount(*text));
    const JsonValue* frames = object.Find("frames");
    if (frames && frames->IsArray()) {
        std::vector<std::uint32_t> durations;
        for (const JsonValue& item : frames->items) {
            if (item.kind == JsonValue::Kind::kString || item.kind == JsonValue::Kind::kNumber) {
                durations.push_back(static_cast<std::uint32_t>(ParseFixed(item.text, 0)));
            }
        }
        texture.SetFrameDurations(std::move(durations));
    }
}

}  // namespace

std::optional<std::string_view> GetText(std::string_view key, const JsonValue& object) {
    const JsonValue* member = object.Find(key);
    if (!member || (member->kind != JsonValue::Kind::kString && member->kind != JsonValue::Kind::kNumber)) {
        return std::nullopt;
    }
    return std::string_view(member->text);
}

bool GetFlag(std::string_view key, const JsonValue& object) {
    const JsonValue* member = object.Find(key);
    return member && member->kind == JsonValue::Kind::kBoolean && member->boolean;
}

void ReadEmitter(const JsonValue& object, Emitter& emitter) {
    EmitterParams& params = emitter.params;
    if (auto name = GetWideText("name", object)) params.name = std::move(*name);

    if (const auto type = GetText("type", object)) {
        if (*type == "gravity") params.type = kGravity;
        if (*type == "radial") params.type = kRadial;
    }
    if (const auto mode = GetText("blending_mode", object)) {
        if (*mode == "add") params.blendingMode = kAdditive;
        if (*mode == "normal") params.blendingMode = kNormal;
    }
    params.enableColor = GetFlag("enable_color", object);
    params.colorConstant = GetFlag("color_constant", object);
    params.textureDirectionBefore = GetFlag("texture_direction_before", object);
    if (const auto sort = GetText("sort_type", object)) {
        std::uint32_t sortType = kSortNone;
        if (*sort == "duration_desc") sortType = kSortAgeAscending;
        if (*sort == "duration_asc") sortType = kSortAgeDescending;
        if (*sort == "scale_desc") sortType = kSortScaleAscending;
        if (*sort == "scale_asc") sortType = kSortScaleDescending;
        SetSortType(params, sortType);
    }

    for (std::size_t row = 0; row < kEmitterParamCount; ++row) {
        const ParamDescriptor& descriptor = Param(row);
        std::int32_t raw = 0;
        if (const auto text = GetText(descriptor.key, object)) {
            raw = LimitToSlider(descriptor, ParseFixed(*text, descriptor.decimals));
        }
        SetParam(emitter, row, raw);
    }

    const JsonValue* texture = object.Find("texture");
    if (texture && texture->IsObject()) ReadTexture(*texture, emitter.texture);
}

std::optional<std::uint64_t> ReadSeed(const JsonValue& root) {
    const auto text = GetText("seed", root);
    if (!text) return std::nullopt;
    return ParseSeed(*text);
}

std::optional<std::uint64_t> ParseSeed(std::string_view text) {
    // Digits only: from_chars alone would take a minus sign.
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return seed;
}

std::optional<EmitterList> ReadEffect(vesk::CStream& stream, BackgroundValues& background,
                                      EmitListener* listener, std::optional<std::uint64_t>* seed) {
    const std::uint32_t size = stream.GetSize();
    std::string buffer(size, '\0');
    if (stream.Read(buffer.data(), size) != size) throw std::runtime_error("read error");

    const JsonValue root = ParseJson(buffer);
    if (!root.IsObject()) return std::nullopt;
    if (seed != nullptr) *seed = ReadSeed(root);

    for (std::size_t row = kBgR; row <= kBgA; ++row) {
        if (const auto text = GetText(Param(row).key, root)) {
            background[row - kBgR] = ParseFixed(*text, Param(row).decimals);
        }
    }

    const JsonValue* emitters = root.Find("emitter");
    if (!emitters || !emitters->IsArray()) return std::nullopt;
    EmitterList list;
    for (const JsonValue& item : emitters->items) {
        if (!item.IsObject()) continue;
        auto emitter = std::make_unique<Emitter>(listener);
        ResetEmitterToDefaults(*emitter);
        ReadEmitter(item, *emitter);
        list.push_back(std::move(emitter));
    }
    return list;
}

}  // namespace orv
