#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/effect.h"
#include "interop/conversion_report.h"

namespace orv {

enum class ParticleFormat { kOrv, kPlist, kPex, kLibgdx };

// The format a file name's extension names (.orv, .plist, .pex, .p; any case), if any.
std::optional<ParticleFormat> FormatOfPath(std::u16string_view path);
// .plist, .pex or .p: a file the importer reads.
bool IsImportedFormat(std::u16string_view path);

// The frame the emitters' positions are measured in: engine files place their emitter on a
// canvas, orv relative to the frame's centre.
struct FrameSize {
    std::uint32_t width = 800;
    std::uint32_t height = 600;
};

struct ImportedEmitters {
    std::vector<std::unique_ptr<Emitter>> emitters;  // with textures loaded, not yet restarted
    ConversionReport report;
};

// Reads a .plist, .pex or .p file into new emitters (listener `listener`). Textures named by the
// file are loaded from beside it; an embedded image is written there as a PNG first. Throws
// std::runtime_error with a message for the user when the file cannot be read or is not a valid
// file of its format; nothing outside the file's folder is touched then.
ImportedEmitters ImportParticleFile(const std::filesystem::path& path, EmitListener* listener, FrameSize frame);

// Writes one emitter as a .plist or .pex file (by `format`), named `name`, its texture named
// by its file name and, with `embedTexture`, embedded as gzip'd PNG. The previous file is
// replaced only once the new one is complete. What the engines cannot express goes to `report`.
// Throws std::runtime_error when the file cannot be written.
void ExportEmitter(const Emitter& emitter, const std::string& name, ParticleFormat format, bool embedTexture,
                   const std::filesystem::path& path, FrameSize frame, ConversionReport& report);

// Writes the effect's emitter at `index`, or with no index every emitter, as .plist or .pex by
// the extension of `path`: one emitter to `path` itself, several each to EmitterFilePath(path,
// its list name). Returns the files written. Throws std::runtime_error for another extension or
// a file that cannot be written (files written before stay).
std::vector<std::filesystem::path> ExportEffect(const Effect& effect, std::optional<std::size_t> index,
                                                const std::filesystem::path& path, bool embedTexture, FrameSize frame,
                                                ConversionReport& report);

// Where an effect's emitters go when each gets its own file: "EFFECT-EMITTER.ext" beside
// `path` (EFFECT being the title of `path`), with characters a file name cannot hold replaced.
std::filesystem::path EmitterFilePath(const std::filesystem::path& path, std::string_view emitterName);

}  // namespace orv
