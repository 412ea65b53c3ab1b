// libFuzzer target: any bytes given to the reader either load or are refused with a message, and
// whatever loads writes out as text that reads back to the same text.
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>

#include "tests/effectfile/test_support.h"

namespace {

// The effect text of what `text` holds, or nothing when it does not load.
bool Rewrite(const std::string& text, std::string& out) {
    orv::Effect effect;
    try {
        if (!orv::test::LoadText(text, effect)) return false;
        out = orv::test::EffectText(effect);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string first;
    if (!Rewrite(std::string(reinterpret_cast<const char*>(data), size), first)) return 0;
    std::string second, third;
    if (!Rewrite(first, second) || !Rewrite(second, third) || second != third) std::abort();
    return 0;
}
