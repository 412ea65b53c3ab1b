#include "render/blend_tables.h"

#include <bit>
#include <cmath>
#include <memory>

namespace orv {

namespace {

std::uint8_t TruncateToByte(double value) {
    const double truncated = std::trunc(value);
    if (!(truncated > 0.0)) return 0;
    return truncated >= 255.0 ? 255 : static_cast<std::uint8_t>(truncated);
}

void BuildDivision(BlendTables& tables) {
    tables.divMultiplier[0] = 0;
    tables.divShift[0] = 0;
    tables.divIncrement[0] = 0;
    for (unsigned divisor = 1; divisor < 256; ++divisor) {
        const int highBit = std::bit_width(divisor) - 1;
        const double q = std::ldexp(1.0, highBit + 16) / divisor;
        const double fraction = q - std::trunc(q);
        if (fraction == 0.0) {
            tables.divShift[divisor] = static_cast<std::uint8_t>(highBit);
            tables.divMultiplier[divisor] = 1;
            tables.divIncrement[divisor] = 0;
        } else if (fraction < 0.5) {
            tables.divShift[divisor] = static_cast<std::uint8_t>(highBit + 16);
            tables.divMultiplier[divisor] = static_cast<std::uint16_t>(std::trunc(q));
            tables.divIncrement[divisor] = 1;
        } else {
            tables.divShift[divisor] = static_cast<std::uint8_t>(highBit + 16);
            tables.divMultiplier[divisor] = static_cast<std::uint16_t>(std::trunc(q + 0.5));
            tables.divIncrement[divisor] = 0;
        }
    }
}

}  // namespace

void BuildBlendTables(BlendTables& tables) {
    for (unsigned ea = 0; ea < 256; ++ea) {
        for (unsigned da = 0; da < 256; ++da) {
            const unsigned i = ea * 256 + da;
            const double s = ea / 255.0;
            const double d = da / 255.0;
            if (da == 0) {
                tables.overWeight[i] = 255;
            } else {
                const double q = s / d;
                tables.overWeight[i] = TruncateToByte(255.0 * (q / ((1.0 - s) + q)));
            }
            tables.outAlpha[i] = static_cast<std::uint8_t>(255 - ((255 - da) * (255 - ea)) / 255);
            tables.bothWeight[i] = TruncateToByte((d * s) * 255.0);
            tables.sourceOnlyWeight[i] = TruncateToByte((s - d * s) * 255.0);
            tables.destOnlyWeight[i] = TruncateToByte((d - d * s) * 255.0);
        }
    }
    BuildDivision(tables);
}

const BlendTables& GetBlendTables() {
    // Built by the first caller under the guarantee of static initialisation; ~330 KiB, so it
    // lives on the heap rather than in a thread's stack or the data segment.
    static const std::unique_ptr<const BlendTables> tables = [] {
        auto built = std::make_unique<BlendTables>();
        BuildBlendTables(*built);
        return std::unique_ptr<const BlendTables>(std::move(built));
    }();
    return *tables;
}

}  // namespace orv
