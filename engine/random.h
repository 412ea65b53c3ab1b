#pragma once

#include <cstdint>

namespace orv {

// Marsaglia's xorshift128. Every particle draws its randomness from the one process-wide instance
// below, seeded once with fixed words, so an effect replays identically from program start.
class Xorshift128 {
public:
    static constexpr std::uint32_t kStartX = 123456789u;
    static constexpr std::uint32_t kStartY = 362436069u;
    static constexpr std::uint32_t kStartZ = 521288629u;
    static constexpr std::uint32_t kStartW = 88675123u;

    // The program-start words.
    Xorshift128() = default;
    // Words that are all zero would make every draw zero; the caller never passes them.
    Xorshift128(std::uint32_t x, std::uint32_t y, std::uint32_t z, std::uint32_t w) : x_(x), y_(y), z_(z), w_(w) {}

    bool operator==(const Xorshift128&) const = default;

    std::uint32_t Next() {
        const std::uint32_t t = x_ ^ (x_ << 11);
        x_ = y_;
        y_ = z_;
        z_ = w_;
        w_ = w_ ^ (w_ >> 19) ^ t ^ (t >> 8);
        return w_;
    }

private:
    std::uint32_t x_ = kStartX;
    std::uint32_t y_ = kStartY;
    std::uint32_t z_ = kStartZ;
    std::uint32_t w_ = kStartW;
};

// One draw of the process-wide generator.
std::uint32_t NextRandom();

// One draw as r / 4294967295.0, 0 to 1 inclusive.
double RandomUnit();

// One draw as 2 * RandomUnit() - 1, -1 to 1 inclusive.
double RandomSigned();

// Sets the process-wide generator from an effect's seed, so the effect's frames no longer depend
// on the draws made before. Seed 0 gives the program-start words, so a render with seed 0 matches
// one in a fresh process without a seed. Any other seed gives the words of two SplitMix64 outputs
// of it: the first output's low and high halves become x and y, the second's z and w. SplitMix64
// is a bijection of its state, so distinct seeds spread over the whole state space; should the
// four words ever all be zero, w takes the program-start w instead (xorshift must not be all
// zero).
void SeedRandom(std::uint64_t seed);

// The process-wide generator's words, and setting them back: several simulations of one effect
// that must each draw their own stream (the copies of a seamless loop) take turns with the one
// generator, each putting its words in before it steps and taking them out after.
Xorshift128 RandomState();
void SetRandomState(const Xorshift128& state);

// Puts the process-wide generator back to its seed. Only tests call this: the program never
// reseeds, which is what makes an effect's frames depend on every draw made before them.
void ResetRandomForTesting();

}  // namespace orv
