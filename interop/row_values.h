#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/emitter.h"
#include "interop/conversion_report.h"

namespace orv {

// Stores `value`, in the row's units (degrees, seconds, pixels), as the row's raw value: rounded
// to the row's step and limited to its range. A limited value is reported as clamped under the
// name `source` when `report` is given.
void StoreRowValue(Emitter& emitter, std::size_t row, double value, std::string_view source, ConversionReport* report);

// A raw value in the row's units (degrees, not radians).
double RowUnits(std::size_t row, std::int32_t raw);

// An angle in degrees brought into 0..360.
double WrapDegrees(double degrees);

}  // namespace orv
