#pragma once

#include <string>

#include "engine/emitter.h"

namespace orv {

// Loads the PNG file at `path` as the emitter's texture: the transparent pixels take their
// neighbours' colour, the picture replaces the previous one and `path` becomes the texture's file
// name. When the path is empty, no file exists there or it does not decode, the emitter keeps
// its picture and file name; nothing is reported. Returns whether the texture was replaced.
// Shared by the texture dialog, dropped files and effect loading.
bool LoadEmitterTexture(Emitter& emitter, const std::u16string& path);
// The same for texture settings that are not an emitter's yet (an edit being prepared).
bool LoadTexture(TextureSettings& texture, const std::u16string& path);

}  // namespace orv
