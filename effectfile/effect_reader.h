#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "effectfile/json_value.h"
#include "engine/emitter.h"
#include "engine/param_table.h"
#include "vesk/stream.h"

namespace orv {

using EmitterList = std::vector<std::unique_ptr<Emitter>>;

// Background raw values of rows 56..59, indexed by row - kBgR (red, green, blue, alpha).
using BackgroundValues = std::array<std::int32_t, kBackgroundParamCount>;

// The text of member `key` when it is a string or a number; nothing when it is missing or of
// another kind.
std::optional<std::string_view> GetText(std::string_view key, const JsonValue& object);

// The member's value when it is a boolean, otherwise false.
bool GetFlag(std::string_view key, const JsonValue& object);

// Fills an emitter (already reset to defaults) from one emitter object. Numbers outside a row's
// slider range are limited to it; missing numbers become 0. The texture file name is kept as the
// file has it.
void ReadEmitter(const JsonValue& object, Emitter& emitter);

// The effect's "seed" when it is a non-negative integer of at most 64 bits, written in plain
// decimal digits (as a number or a string, like every number the reader takes); nothing
// otherwise, so an unreadable seed is ignored.
std::optional<std::uint64_t> ReadSeed(const JsonValue& root);
// A seed written in plain decimal digits (no sign, no spaces), 0 to 2^64 - 1; nothing otherwise.
std::optional<std::uint64_t> ParseSeed(std::string_view text);

// Reads a whole effect file from the start of `stream`. Overwrites the background values whose
// keys are present, sets `*seed` (when given) to ReadSeed of the file, and returns the file's emitters in file order, each created with `listener`;
// nothing when the file holds no emitter array. Throws std::runtime_error with "read error" or
// "syntax error at line N near: ..." when the file cannot be read or parsed.
std::optional<EmitterList> ReadEffect(vesk::CStream& stream, BackgroundValues& background,
                                      EmitListener* listener, std::optional<std::uint64_t>* seed = nullptr);

}  // namespace orv
