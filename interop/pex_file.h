#pragma once

#include <string>
#include <string_view>

#include "interop/pd_config.h"

namespace orv {

// Reads a .pex file (<particleEmitterConfig> with one element per property, its data in
// attributes) into the keys of the .plist model: <gravity x y> becomes gravityx and gravityy,
// <startColor red ...> startColorRed ..., <texture name data> textureFileName and
// textureImageData. Element and attribute names are matched without regard to case; unknown
// elements are ignored. Throws std::runtime_error for malformed XML, another root element or a
// value that is not a number.
PdConfig ReadPex(std::string_view text);

// Every element of the model with Particle Designer's spelling, texture last.
std::string WritePex(const PdConfig& config);

}  // namespace orv
