#include "effectfile/effect_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "effectfile/atomic_file_stream.h"
#include "effectfile/json_escape.h"
#include "effectfile/relative_path.h"
#include "engine/fixed_decimal_text.h"
#include "engine/param_groups.h"
#include "engine/param_table.h"
#include "vesk/path_utils.h"
#include "vesk/text_conversion.h"
#include "vesk/translatable.h"

namespace orv {
namespace {

constexpr char kWriteError[] = "write error";

// Every piece goes to the stream in one Write; a piece the stream does not take completely ends
// the save.
void Put(vesk::CStream& stream, std::string_view text) {
    if (stream.Write(text.data(), static_cast<std::uint32_t>(text.size())) != text.size()) {
        throw std::runtime_error(kWriteError);
    }
}

void PutInteger(vesk::CStream& stream, std::int32_t value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    Put(stream, buffer);
}

const char* Flag(bool on) {
    return on ? "true" : "false";
}

const char* BlendingModeText(std::uint32_t mode) {
    switch (mode) {
        case kAdditive:
            return "\"add\",\n";
        case kNormal:
            return "\"normal\",\n";
        default:
            return "\"unknown\",\n";
    }
}

const char* SortTypeText(std::uint32_t sortType) {
    switch (sortType) {
        case kSortAgeAscending:
            return "\"duration_desc\"";
        case kSortAgeDescending:
            return "\"duration_asc\"";
        case kSortScaleAscending:
            return "\"scale_desc\"";
        case kSortScaleDescending:
            return "\"scale_asc\"";
        default:
            return "\"none\"";
    }
}

// Rows hidden by the emitter's type or colour flags are not kept in the file.
bool RowIsMeaningful(const EmitterParams& params, std::size_t row) {
    if (IsGravityRow(row)) return params.type == kGravity;
    if (IsRadialRow(row)) return params.type == kRadial;
    if (IsFinishColourRow(row)) return params.enableColor && !params.colorConstant;
    if (IsColourRow(row)) return params.enableColor;
    return true;
}

// The texture file name as stored: relative to the effect file, with forward slashes, UTF-8.
std::string StoredTextureName(std::u16string_view effectPath, std::u16string_view fileName) {
    std::u16string relative = MakeRelativePath(effectPath, fileName);
#ifdef _WIN32
    std::replace(relative.begin(), relative.end(), u'\\', u'/');
#endif
    std::string utf8;
    if (!vesk::WideToUtf8(utf8, relative)) throw std::runtime_error(kWriteError);
    return utf8;
}

void WriteTexture(const TextureSettings& texture, vesk::CStream& stream, std::u16string_view effectPath) {
    Put(stream, ",\n");
    Put(stream, "\t\t\t\"texture\": {\n");
    Put(stream, "\t\t\t\t\"is_animation\": ");
    Put(stream, Flag(texture.IsAnimation()));
    if (!texture.FileName().empty()) {
        const std::string stored = EscapeJsonString(StoredTextureName(effectPath, texture.FileName()));
        Put(stream, ",\n");
        Put(stream, "\t\t\t\t\"filename\": \"");
        Put(stream, stored);
        Put(stream, "\"");
    }
    if (texture.SplitX() > 1) {
        Put(stream, ",\n");
        Put(stream, "\t\t\t\t\"split_x\": ");
        PutInteger(stream, static_cast<std::int32_t>(texture.SplitX()));
    }
    if (texture.SplitY() > 1) {
        Put(stream, ",\n");
        Put(stream, "\t\t\t\t\"split_y\": ");
        PutInteger(stream, static_cast<std::int32_t>(texture.SplitY()));
    }
    if (!texture.FrameDurations().empty()) {
        Put(stream, ",\n");
        Put(stream, "\t\t\t\t\"frames\": [");
        bool first = true;
        for (const std::uint32_t duration : texture.FrameDurations()) {
            if (!first) Put(stream, ",");
            PutInteger(stream, static_cast<std::int32_t>(duration));
            first = false;
        }
        Put(stream, "]");
    }
    Put(stream, "\n");
    Put(stream, "\t\t\t}\n");
}

void WriteEmitterMembers(const Emitter& emitter, std::u16string_view name, vesk::CStream& stream,
                         std::u16string_view effectPath) {
    const EmitterParams& params = emitter.params;
    std::string utf8Name;
    // A name that is not valid UTF-16 is left out rather than failing the save.
    if (!name.empty() && vesk::WideToUtf8(utf8Name, name)) {
        Put(stream, "\t\t\t\"name\": \"");
        Put(stream, EscapeJsonString(utf8Name));
        Put(stream, "\",\n");
    }
    Put(stream, "\t\t\t\"type\": ");
    Put(stream, params.type == kGravity ? "\"gravity\",\n" : "\"radial\",\n");
    Put(stream, "\t\t\t\"blending_mode\": ");
    Put(stream, BlendingModeText(params.blendingMode));
    Put(stream, "\t\t\t\"enable_color\": ");
    Put(stream, params.enableColor ? "true,\n" : "false,\n");
    Put(stream, "\t\t\t\"color_constant\": ");
    Put(stream, params.colorConstant ? "true,\n" : "false,\n");
    Put(stream, "\t\t\t\"texture_direction_before\": ");
    Put(stream, params.textureDirectionBefore ? "true,\n" : "false,\n");
    Put(stream, "\t\t\t\"sort_type\": ");
    Put(stream, SortTypeText(params.sortType));
    for (std::size_t row = 0; row < kEmitterParamCount; ++row) {
        const std::int32_t raw = params.raw[row];
        if (raw == 0 || !RowIsMeaningful(params, row)) continue;
        Put(stream, ",\n");
        Put(stream, "\t\t\t\"");
        Put(stream, Param(row).key);
        Put(stream, "\": ");
        WriteFixed(stream, raw, Param(row).decimals);
    }
    WriteTexture(emitter.texture, stream, effectPath);
}

}  // namespace

void WriteFixed(vesk::CStream& stream, std::int32_t raw, int decimals) {
    Put(stream, FormatFixed(raw, decimals));
}

void WriteEmitter(const Emitter& emitter, vesk::CStream& stream, std::u16string_view effectPath) {
    WriteEmitterMembers(emitter, emitter.params.name, stream, effectPath);
}

void WriteEffect(const Effect& effect, vesk::CStream& stream, std::u16string_view effectPath) {
    Put(stream, "{\n");
    for (std::size_t row = kBgR; row <= kBgA; ++row) {
        const std::int32_t raw = effect.BackgroundRaw(row);
        if (raw == 0) continue;
        Put(stream, "\t\"");
        Put(stream, Param(row).key);
        Put(stream, "\": ");
        WriteFixed(stream, raw, Param(row).decimals);
        Put(stream, ",\n");
    }
    if (effect.Seed()) {
        Put(stream, "\t\"seed\": ");
        Put(stream, std::to_string(*effect.Seed()));
        Put(stream, ",\n");
    }
    if (effect.Count() == 0) {
        // Still valid JSON after a background member's comma.
        Put(stream, "\t\"emitter\": []\n");
    } else {
        Put(stream, "\t\"emitter\": [\n");
        for (std::size_t i = 0; i < effect.Count(); ++i) {
            Put(stream, "\t\t{\n");
            WriteEmitterMembers(effect.EmitterAt(i), effect.NameAt(i), stream, effectPath);
            Put(stream, i + 1 < effect.Count() ? "\t\t},\n" : "\t\t}\n");
        }
        Put(stream, "\t]\n");
    }
    Put(stream, "}\n");
}

std::optional<EditorMessage> SaveEffect(const Effect& effect, std::u16string_view path) {
    if (path.empty()) return EditorMessage{kWriteErrorCaption, ORV_TR_NOOP16("orv", "ファイル名が指定されていません。")};
    std::filesystem::path target;
    if (!vesk::ToNativePath(path, target)) {
        return MakeEditorMessage(kWriteErrorCaption, "write error: the file name is not valid text");
    }
    try {
        AtomicFileStream stream(target);
        try {
            WriteEffect(effect, stream, path);
        } catch (const std::runtime_error& error) {
            if (stream.LastError().empty()) throw;
            throw std::runtime_error(std::string(kWriteError) + ": cannot write \"" +
                                     vesk::Utf8ForDisplay(path) + "\": " + stream.LastError());
        }
        stream.Commit();
    } catch (const std::exception& error) {
        return MakeEditorMessage(kWriteErrorCaption, error.what());
    }
    return std::nullopt;
}

}  // namespace orv
