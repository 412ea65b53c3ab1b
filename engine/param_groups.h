#pragma once

#include <cstddef>

namespace orv {

// Groups of parameter rows that the emitter's type and flags switch on and off together: the
// panel enables or shows them, the effect file keeps only those that are in use.

// Red, green and blue rows of the four colour columns (the alpha rows always count).
bool IsColourRow(std::size_t row);
// Red, green and blue rows of the finish colour and its variance.
bool IsFinishColourRow(std::size_t row);
// start_rot, its variance, rot_per_sec and its variance.
bool IsRotationRow(std::size_t row);
// Rows used only by the gravity type, and only by the radial type.
bool IsGravityRow(std::size_t row);
bool IsRadialRow(std::size_t row);

}  // namespace orv
