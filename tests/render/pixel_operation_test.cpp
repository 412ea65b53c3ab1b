#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "render/blend_tables.h"
#include "render/pixel_operations.h"

namespace orv {
namespace {

constexpr SpriteTint kWhiteTint{255, 255, 255, 255};
constexpr SpriteTint kClear{0, 255, 255, 255};

TEST(PixelOperations, WorkedExamples) {
    using Operation = std::uint32_t (*)(const SpriteTint&, std::uint32_t, std::uint32_t);
    // The operation, the tint, the target and source pixels, the result.
    using Case = std::tuple<Operation, SpriteTint, std::uint32_t, std::uint32_t, std::uint32_t>;
    const Case cases[] = {
        // Each multiply loses one level: 255 * 254 / 256 = 253, tinted once more 252.
        {&OpaqueNormal<false>, kWhiteTint, 0xFF000000u, 0xFFFFFFFFu, 0xFFFDFDFDu},
        {&OpaqueNormal<true>, kWhiteTint, 0xFF000000u, 0xFFFFFFFFu, 0xFFFCFCFCu},
        // The sum saturates to 255 before the interpolation: 160 + 95 * 254 / 256.
        {&OpaqueAdd<false>, kWhiteTint, 0xFFA0A0A0u, 0xFF808080u, 0xFFFEFEFEu},
        // Tint alpha 0 leaves the colour and still makes the pixel opaque (the tinted forms of this
        // and of the next but one are pinned by the golden frames' fading particles).
        {&OpaqueNormal<false>, kClear, 0x00123456u, 0xFFFFFFFFu, 0xFF123456u},
        // Onto da = 0 the weight is 255: d + floor((m - d) * 255 / 256), alpha ea = 254.
        {&TransparentNormal<false>, kWhiteTint, 0x00102030u, 0xFFF0E0D0u, 0xFEEFDFCFu},
        // Nothing onto nothing stays nothing.
        {&TransparentAdd<false>, kClear, 0x00000000u, 0xFFFFFFFFu, 0x00000000u},
    };
    for (const auto& [operation, tint, d, s, expected] : cases)
        EXPECT_EQ(operation(tint, d, s), expected) << std::hex << d << " " << s;
    // Normal blending onto an opaque pixel of a target with alpha leaves it opaque.
    for (std::uint32_t a : {0u, 1u, 128u, 255u})
        EXPECT_EQ(TransparentNormal<true>({a, 255, 255, 255}, 0xFF336699u, 0x80FFFFFFu) >> 24, 255u) << a;
}

// The quoted entries, and the identity every division entry must keep; division by 0 gives 0.
TEST(BlendTables, QuotedEntriesAndTheDivisionIdentityForEveryNumeratorAndDivisor) {
    const BlendTables& t = GetBlendTables();
    EXPECT_EQ(t.outAlpha[128 * 256 + 128], 192);
    for (const auto& [divisor, shift, multiplier] : {std::tuple(0, 0, 0), {3, 17, 43691}, {128, 7, 1}}) {
        EXPECT_EQ(std::tuple(t.divShift[divisor], t.divMultiplier[divisor], t.divIncrement[divisor]),
                  std::tuple(shift, multiplier, 0))
            << divisor;
    }
    for (std::uint32_t divisor = 1; divisor < 256; ++divisor) {
        const std::uint32_t inc = t.divIncrement[divisor], mul = t.divMultiplier[divisor],
                            shift = t.divShift[divisor];
        for (std::uint32_t n = 0; n < 65536; ++n) {
            ASSERT_EQ(((n + inc) * mul) >> shift, n / divisor) << n << " / " << divisor;
        }
    }
}

}  // namespace
}  // namespace orv
