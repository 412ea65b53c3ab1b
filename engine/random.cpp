#include "engine/random.h"

namespace orv {

namespace {

Xorshift128 g_generator;

// One SplitMix64 output; advances `state`.
std::uint64_t SplitMix64(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

Xorshift128 GeneratorFromSeed(std::uint64_t seed) {
    if (seed == 0) return Xorshift128();
    std::uint64_t state = seed;
    const std::uint64_t first = SplitMix64(state);
    const std::uint64_t second = SplitMix64(state);
    const auto low = [](std::uint64_t word) { return static_cast<std::uint32_t>(word); };
    const auto high = [](std::uint64_t word) { return static_cast<std::uint32_t>(word >> 32); };
    std::uint32_t w = high(second);
    if (first == 0 && low(second) == 0 && w == 0) w = Xorshift128::kStartW;
    return Xorshift128(low(first), high(first), low(second), w);
}

}  // namespace

void SeedRandom(std::uint64_t seed) {
    g_generator = GeneratorFromSeed(seed);
}

Xorshift128 RandomState() {
    return g_generator;
}

void SetRandomState(const Xorshift128& state) {
    g_generator = state;
}

std::uint32_t NextRandom() {
    return g_generator.Next();
}

double RandomUnit() {
    return NextRandom() / 4294967295.0;
}

double RandomSigned() {
    return 2.0 * RandomUnit() - 1.0;
}

void ResetRandomForTesting() {
    g_generator = Xorshift128();
}

}  // namespace orv
