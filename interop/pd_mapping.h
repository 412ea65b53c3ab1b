#pragma once

#include <cstdint>

#include "engine/emitter.h"
#include "interop/conversion_report.h"
#include "interop/pd_config.h"

namespace orv {

// Where an engine file's coordinates are turned into orv's: the frame whose centre the emitter's
// offsets are measured from, and whether the file's y axis points up (orv's points down).
struct PdFrame {
    std::uint32_t width = 800;
    std::uint32_t height = 600;
    bool yUp = true;
};

// Sets the emitter's raw values, name, type, blending and flags from a Particle Designer emitter
// (keys missing from the file read as 0, as the engines read them) and derives its simulation
// values. Every value that could not be carried over exactly goes to `report`. The texture is
// not touched. Throws std::runtime_error for values no engine would accept (a non-numeric
// number, an emitter type other than 0 or 1).
void PdToEmitter(const PdConfig& config, const PdFrame& frame, Emitter& emitter, ConversionReport& report);

// The emitter as Particle Designer keys, written for a y-up engine (yCoordFlipped 1), with
// `name` as its configName. What the engines cannot express goes to `report`.
PdConfig EmitterToPd(const Emitter& emitter, const std::string& name, const PdFrame& frame, ConversionReport& report);

// Whether the file's y axis points up: yCoordFlipped −1 means y-down data; a missing key means
// `missingMeansUp` (plist files are y-up, old .pex files y-down).
bool PdYAxisUp(const PdConfig& config, bool missingMeansUp);

}  // namespace orv
