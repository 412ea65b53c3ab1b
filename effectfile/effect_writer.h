#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "effectfile/editor_message.h"
#include "engine/effect.h"
#include "engine/emitter.h"
#include "vesk/stream.h"

namespace orv {

// Writes a raw value as fixed-point text with `decimals` fraction digits (see FormatFixed).
// Throws std::runtime_error("write error") when the stream takes fewer bytes.
void WriteFixed(vesk::CStream& stream, std::int32_t raw, int decimals);

// Writes the members of one emitter object, its own name as "name". `effectPath` is the path of
// the file being written; the texture file name is stored relative to it. Throws
// std::runtime_error("write error") on a short write or a texture name that is not valid UTF-16.
void WriteEmitter(const Emitter& emitter, vesk::CStream& stream, std::u16string_view effectPath);

// Writes the whole effect: background, then every emitter under the name its list entry shows.
// Throws like WriteEmitter.
void WriteEffect(const Effect& effect, vesk::CStream& stream, std::u16string_view effectPath);

// Saves the effect to `path`. The previous file is replaced only once the new one is completely
// on disk; on any failure it stays as it was. Returns the message to show ("書き込みエラー"), or
// nothing on success.
std::optional<EditorMessage> SaveEffect(const Effect& effect, std::u16string_view path);

}  // namespace orv
