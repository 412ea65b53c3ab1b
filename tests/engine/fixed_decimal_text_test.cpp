#include "engine/fixed_decimal_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct Case {
    std::int32_t raw;
    int decimals;
    const char* text;
};

// The sign is written also below one.
TEST(FixedPoint, FormatsWithTheSignAlsoBelowOne) {
    const Case cases[] = {{-5, 1, "-0.5"},      {-15, 1, "-1.5"},          {5, 1, "0.5"},
                          {-3, 0, "-3"},        {300, 3, "0.300"},         {-7, 3, "-0.007"},
                          {-1005, 2, "-10.05"}, {2700, 1, "270.0"},        {0, 2, "0.00"},
                          {1234, 4, "1234"},    {kMin, 3, "-2147483.648"}, {kMin, 0, "-2147483648"}};
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(c.raw, c.decimals), c.text) << c.raw << " " << c.decimals;
}

// Digit by digit, cut and not rounded; saturated instead of wrapped ("4294967296" would wrap to
// 0, "3000000" with 3 decimals overflows only by the missing fraction digits).
TEST(FixedPoint, ParsesDigitByDigitAndSaturates) {
    // clang-format off
    const Case cases[] = {{25, 1, "2.5"}, {20, 1, "2"}, {25, 1, "2.57"}, {25, 1, "2.59"}, {-5, 1, "-0.5"},
                          {10, 1, "1e3"}, {0, 1, "abc"}, {0, 1, ""}, {0, 1, "+1"}, {0, 1, "-"},
                          {300, 3, "0.3"}, {100, 0, "100"}, {4, 0, "4.9"}, {20, 1, "2."}, {200, 2, "2.x"},
                          {5, 1, ".5"}, {-5, 1, "-.5"}, {kMax, 0, "2147483647"}, {kMax, 0, "2147483648"},
                          {kMin, 0, "-2147483648"}, {kMin, 0, "-2147483649"}, {kMax, 0, "4294967296"},
                          {kMax, 3, "3000000"}, {kMin, 3, "-2147483.648"}};
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ParseFixed(c.text, c.decimals), c.raw) << c.text << " " << c.decimals;
    EXPECT_EQ(ParseFixed("99999999999999999999999999", 3), kMax);
}

}  // namespace
}  // namespace orv
