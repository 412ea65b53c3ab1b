#pragma once

#include <array>
#include <cstdint>

namespace orv {

// Lookup tables of the transparent-target pixel operations: blending with a target that has its
// own alpha needs a per-pixel division by the resulting alpha, which the tables replace by
// lookups and one multiply-shift. Every 64 KiB table is indexed by ea * 256 + da (effective
// source alpha, destination alpha).
struct BlendTables {
    std::array<std::uint8_t, 65536> overWeight;        // source weight of normal blending
    std::array<std::uint8_t, 65536> outAlpha;          // alpha of the result
    std::array<std::uint8_t, 65536> bothWeight;        // additive: covered by both
    std::array<std::uint8_t, 65536> sourceOnlyWeight;  // additive: covered by the source only
    std::array<std::uint8_t, 65536> destOnlyWeight;    // additive: covered by the destination only
    std::array<std::uint16_t, 256> divMultiplier;      // floor(n / D) = ((n + inc) * mul) >> shift
    std::array<std::uint8_t, 256> divShift;
    std::array<std::uint8_t, 256> divIncrement;
};

// The process-wide tables, built on first use (thread-safe) and read-only afterwards. Calling it
// once at start-up keeps the build out of the first frame.
const BlendTables& GetBlendTables();

// Fills `tables`; exposed so that the build can be checked on its own.
void BuildBlendTables(BlendTables& tables);

}  // namespace orv
