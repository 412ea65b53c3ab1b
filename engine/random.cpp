#include "engine/random.h"

namespace orv {

namespace {
Xorshift128 g_generator;
}  // namespace

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
