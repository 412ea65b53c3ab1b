#pragma once

#include <cstdint>

namespace orv {

// Marsaglia's xorshift128. Every particle draws its randomness from the one process-wide instance
// below, seeded once with fixed words, so an effect replays identically from program start.
class Xorshift128 {
public:
    std::uint32_t Next() {
        const std::uint32_t t = x_ ^ (x_ << 11);
        x_ = y_;
        y_ = z_;
        z_ = w_;
        w_ = w_ ^ (w_ >> 19) ^ t ^ (t >> 8);
        return w_;
    }

private:
    std::uint32_t x_ = 123456789u;
    std::uint32_t y_ = 362436069u;
    std::uint32_t z_ = 521288629u;
    std::uint32_t w_ = 88675123u;
};

// One draw of the process-wide generator.
std::uint32_t NextRandom();

// One draw as r / 4294967295.0, 0 to 1 inclusive.
double RandomUnit();

// One draw as 2 * RandomUnit() - 1, -1 to 1 inclusive.
double RandomSigned();

// Puts the process-wide generator back to its seed. Only tests call this: the program never
// reseeds, which is what makes an effect's frames depend on every draw made before them.
void ResetRandomForTesting();

}  // namespace orv
