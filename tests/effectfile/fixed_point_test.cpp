#include "effectfile/fixed_point.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(FixedPoint, FormatsWithTheSignAlsoBelowOne) {
    EXPECT_EQ(FormatFixed(-5, 1), "-0.5");
    EXPECT_EQ(FormatFixed(-15, 1), "-1.5");
    EXPECT_EQ(FormatFixed(5, 1), "0.5");
    EXPECT_EQ(FormatFixed(-3, 0), "-3");
    EXPECT_EQ(FormatFixed(300, 3), "0.300");
    EXPECT_EQ(FormatFixed(-7, 3), "-0.007");
    EXPECT_EQ(FormatFixed(-1005, 2), "-10.05");
    EXPECT_EQ(FormatFixed(2700, 1), "270.0");
    EXPECT_EQ(FormatFixed(0, 2), "0.00");
    EXPECT_EQ(FormatFixed(1234, 4), "1234");
    EXPECT_EQ(FormatFixed(kMin, 3), "-2147483.648");
    EXPECT_EQ(FormatFixed(kMin, 0), "-2147483648");
}

TEST(FixedPoint, ParsesDigitByDigit) {
    EXPECT_EQ(ParseFixed("2.5", 1), 25);
    EXPECT_EQ(ParseFixed("2", 1), 20);
    EXPECT_EQ(ParseFixed("2.57", 1), 25);
    EXPECT_EQ(ParseFixed("2.59", 1), 25);  // cut, not rounded
    EXPECT_EQ(ParseFixed("-0.5", 1), -5);
    EXPECT_EQ(ParseFixed("1e3", 1), 10);
    EXPECT_EQ(ParseFixed("abc", 1), 0);
    EXPECT_EQ(ParseFixed("", 1), 0);
    EXPECT_EQ(ParseFixed("+1", 1), 0);
    EXPECT_EQ(ParseFixed("-", 1), 0);
    EXPECT_EQ(ParseFixed("0.3", 3), 300);
    EXPECT_EQ(ParseFixed("100", 0), 100);
    EXPECT_EQ(ParseFixed("4.9", 0), 4);
    EXPECT_EQ(ParseFixed("2.", 1), 20);
    EXPECT_EQ(ParseFixed("2.x", 2), 200);
    EXPECT_EQ(ParseFixed(".5", 1), 5);
    EXPECT_EQ(ParseFixed("-.5", 1), -5);
}

TEST(FixedPoint, SaturatesInsteadOfWrapping) {
    EXPECT_EQ(ParseFixed("2147483647", 0), kMax);
    EXPECT_EQ(ParseFixed("2147483648", 0), kMax);
    EXPECT_EQ(ParseFixed("-2147483648", 0), kMin);
    EXPECT_EQ(ParseFixed("-2147483649", 0), kMin);
    EXPECT_EQ(ParseFixed("99999999999999999999999999", 3), kMax);
    EXPECT_EQ(ParseFixed("4294967296", 0), kMax);  // would wrap to 0
    EXPECT_EQ(ParseFixed("3000000", 3), kMax);     // overflows only by the missing fraction digits
    EXPECT_EQ(ParseFixed("-2147483.648", 3), kMin);
}

TEST(FixedPoint, EveryRawValueSurvivesFormatAndParse) {
    for (const std::int32_t raw : {0, 1, -1, 9, -9, 10, -10, 999, -999, 1000, -1001, 123456, kMax, kMin}) {
        for (int decimals = 0; decimals <= 3; ++decimals) {
            EXPECT_EQ(ParseFixed(FormatFixed(raw, decimals), decimals), raw) << raw << " " << decimals;
        }
    }
}

}  // namespace
}  // namespace orv
