#include <gtest/gtest.h>

#include <cstdint>

#include "render/blend_tables.h"
#include "render/pixel_operations.h"

namespace orv {
namespace {

constexpr SpriteTint kWhiteTint{255, 255, 255, 255};

TEST(OpaqueOperations, WhiteOverBlackLosesOneLevelPerMultiply) {
    EXPECT_EQ(OpaqueNormal<false>(kWhiteTint, 0xFF000000u, 0xFFFFFFFFu), 0xFFFDFDFDu);
    EXPECT_EQ(OpaqueNormal<true>(kWhiteTint, 0xFF000000u, 0xFFFFFFFFu), 0xFFFCFCFCu);
}

TEST(OpaqueOperations, AdditiveSaturatesBeforeInterpolating) {
    EXPECT_EQ(OpaqueAdd<false>(kWhiteTint, 0xFFA0A0A0u, 0xFF808080u), 0xFFFEFEFEu);
}

TEST(OpaqueOperations, ZeroTintAlphaRaisesAlphaOnly) {
    const SpriteTint clear{0, 255, 255, 255};
    EXPECT_EQ(OpaqueNormal<false>(clear, 0x00123456u, 0xFFFFFFFFu), 0xFF123456u);
    EXPECT_EQ(OpaqueAdd<true>(clear, 0x40123456u, 0xFFFFFFFFu), 0xFF123456u);
}

TEST(OpaqueOperations, SaturatingAddIsPerChannelMinimum) {
    for (std::uint32_t d = 0; d < 256; d += 3) {
        for (std::uint32_t m = 0; m < 256; ++m) {
            // The channel under test sits between neighbours that stress carries across bytes.
            for (int at : {0, 8, 16}) {
                const std::uint32_t dw = (0xFFFFFFu & ~(0xFFu << at)) | (d << at);
                const std::uint32_t mw = (0xFF80FFu & ~(0xFFu << at)) | (m << at);
                const std::uint32_t sum = SaturatingAdd(dw, mw);
                ASSERT_EQ((sum >> at) & 0xFF, std::min<std::uint32_t>(d + m, 255))
                    << d << "+" << m << " at " << at;
            }
        }
    }
}

TEST(BlendTables, QuotedEntries) {
    const BlendTables& t = GetBlendTables();
    EXPECT_EQ(t.outAlpha[128 * 256 + 128], 192);
    EXPECT_EQ(t.overWeight[200 * 256 + 0], 255);
    EXPECT_EQ(t.divShift[3], 17);
    EXPECT_EQ(t.divMultiplier[3], 43691);
    EXPECT_EQ(t.divIncrement[3], 0);
    EXPECT_EQ(t.divShift[128], 7);
    EXPECT_EQ(t.divMultiplier[128], 1);
    EXPECT_EQ(t.divIncrement[128], 0);
    EXPECT_EQ(t.divMultiplier[0], 0);
    EXPECT_EQ(&t, &GetBlendTables());
}

TEST(BlendTables, DivisionIdentityHoldsForEveryNumeratorAndDivisor) {
    const BlendTables& t = GetBlendTables();
    for (std::uint32_t divisor = 1; divisor < 256; ++divisor) {
        const std::uint32_t inc = t.divIncrement[divisor], mul = t.divMultiplier[divisor],
                            shift = t.divShift[divisor];
        for (std::uint32_t n = 0; n < 65536; ++n) {
            ASSERT_EQ(((n + inc) * mul) >> shift, n / divisor) << n << " / " << divisor;
        }
    }
}

TEST(TransparentOperations, NormalOntoTransparentPixelTakesTheSourceAlpha) {
    // da = 0: weight 255, so colour d + floor((m - d) * 255 / 256), alpha ea.
    const std::uint32_t out = TransparentNormal<false>(kWhiteTint, 0x00102030u, 0xFFF0E0D0u);
    EXPECT_EQ(out >> 24, 254u);
    EXPECT_EQ((out >> 16) & 0xFF, 0x10u + (0xF0u - 0x10u) * 255 / 256);
    EXPECT_EQ((out >> 8) & 0xFF, 0x20u + (0xE0u - 0x20u) * 255 / 256);
    EXPECT_EQ(out & 0xFF, 0x30u + (0xD0u - 0x30u) * 255 / 256);
}

TEST(TransparentOperations, NormalOntoOpaquePixelStaysOpaque) {
    for (std::uint32_t a : {0u, 1u, 77u, 128u, 255u}) {
        const SpriteTint tint{a, 255, 255, 255};
        EXPECT_EQ(TransparentNormal<true>(tint, 0xFF336699u, 0x80FFFFFFu) >> 24, 255u);
    }
}

TEST(TransparentOperations, InvisibleAddOntoEmptyPixelStaysEmpty) {
    const SpriteTint clear{0, 255, 255, 255};
    EXPECT_EQ(TransparentAdd<false>(clear, 0x00000000u, 0xFFFFFFFFu), 0x00000000u);
    EXPECT_EQ(TransparentAdd<true>(clear, 0x00000000u, 0x12345678u), 0x00000000u);
}

}  // namespace
}  // namespace orv
