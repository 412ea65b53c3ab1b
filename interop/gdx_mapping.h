#pragma once

#include <filesystem>

#include "engine/emitter.h"
#include "interop/conversion_report.h"
#include "interop/gdx_particle_file.h"

namespace orv {

// Sets the emitter's raw values, name, blending and flags from a libgdx emitter (y up, times in
// milliseconds, sizes in world units taken as pixels) and derives its simulation values. Curves
// become their start and end values; what orv cannot express goes to `report`. The texture is
// not touched.
void GdxToEmitter(const GdxEmitter& source, Emitter& emitter, ConversionReport& report);

}  // namespace orv
