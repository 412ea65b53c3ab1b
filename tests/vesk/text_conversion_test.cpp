#include "vesk/text_conversion.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s.push_back(static_cast<char>(c));
    return s;
}

TEST(WideToUtf8, ConvertsAllPlanes) {
    std::string out = "junk";
    ASSERT_TRUE(WideToUtf8(out, u"A\u00e9\u30c6\U0001F600\uFFFF"));
    EXPECT_EQ(out, Bytes({'A', 0xC3, 0xA9, 0xE3, 0x83, 0x86, 0xF0, 0x9F, 0x98, 0x80, 0xEF, 0xBF, 0xBF}));
}

TEST(WideToUtf8, EmptyInputGivesEmptyOutput) {
    std::string out = "junk";
    ASSERT_TRUE(WideToUtf8(out, u""));
    EXPECT_EQ(out, "");
}

TEST(WideToUtf8, StopsAtFirstNul) {
    std::string out;
    std::u16string in(u"ab");
    in.push_back(0);
    in += u"cd";
    in.push_back(char16_t(0xD800));  // malformed, but after the NUL: ignored
    ASSERT_TRUE(WideToUtf8(out, in));
    EXPECT_EQ(out, "ab");
}

TEST(WideToUtf8, RejectsLoneSurrogates) {
    const std::u16string bad[] = {
        std::u16string(1, char16_t(0xD800)),                       // lone high at end
        std::u16string(1, char16_t(0xDC00)),                       // lone low
        std::u16string{u'a', char16_t(0xD83D), u'b'},              // high followed by non-low
        std::u16string{char16_t(0xDE00), char16_t(0xD83D)},        // reversed pair
        std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)},  // high, high, low
    };
    for (const auto& in : bad) {
        std::string out = "unchanged";
        EXPECT_FALSE(WideToUtf8(out, in));
        EXPECT_EQ(out, "unchanged");
    }
}

TEST(MultiByteToWide, ConvertsValidUtf8) {
    std::u16string out = u"junk";
    ASSERT_TRUE(MultiByteToWide(out, Bytes({'A', 0xC3, 0xA9, 0xE3, 0x83, 0x86, 0xF0, 0x9F, 0x98, 0x80}), true));
    EXPECT_EQ(out, u"A\u00e9\u30c6\U0001F600");
    // Boundary code points.
    ASSERT_TRUE(MultiByteToWide(out, Bytes({0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xED, 0x9F, 0xBF,
                                            0xEE, 0x80, 0x80, 0xF0, 0x90, 0x80, 0x80, 0xF4, 0x8F, 0xBF, 0xBF}),
                                true));
    EXPECT_EQ(out, u"\u007f\u0080\u07ff\u0800\ud7ff\ue000\U00010000\U0010FFFF");
}

TEST(MultiByteToWide, AnsiIsUtf8Here) {
    std::u16string out;
    ASSERT_TRUE(MultiByteToWide(out, Bytes({0xE8, 0xAA, 0xAD}), false));
    EXPECT_EQ(out, u"\u8aad");
    std::u16string keep = u"keep";
    EXPECT_FALSE(MultiByteToWide(keep, Bytes({0x93, 0xC7}), false));  // Shift-JIS bytes
    EXPECT_EQ(keep, u"keep");
}

TEST(MultiByteToWide, EmptyAndNul) {
    std::u16string out = u"junk";
    ASSERT_TRUE(MultiByteToWide(out, "", true));
    EXPECT_EQ(out, u"");
    std::string in("xy");
    in.push_back('\0');
    in.push_back(static_cast<char>(0xFF));
    ASSERT_TRUE(MultiByteToWide(out, in, true));
    EXPECT_EQ(out, u"xy");
}

TEST(MultiByteToWide, RejectsMalformedUtf8) {
    const std::string bad[] = {
        Bytes({0x80}),                    // stray continuation
        Bytes({'a', 0xBF, 'b'}),          // stray continuation in the middle
        Bytes({0xC0, 0x80}),              // overlong NUL
        Bytes({0xC1, 0xBF}),              // overlong
        Bytes({0xE0, 0x80, 0xAF}),        // overlong 3-byte
        Bytes({0xE0, 0x9F, 0xBF}),        // overlong 3-byte (U+07FF)
        Bytes({0xF0, 0x8F, 0xBF, 0xBF}),  // overlong 4-byte (U+FFFF)
        Bytes({0xED, 0xA0, 0x80}),        // U+D800 encoded
        Bytes({0xED, 0xBF, 0xBF}),        // U+DFFF encoded
        Bytes({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}),  // CESU-8 pair
        Bytes({0xF4, 0x90, 0x80, 0x80}),  // U+110000
        Bytes({0xF5, 0x80, 0x80, 0x80}),  // lead byte out of range
        Bytes({0xFE}),
        Bytes({0xFF}),
        Bytes({0xC3}),                    // truncated at end
        Bytes({0xE3, 0x83}),              // truncated at end
        Bytes({0xF0, 0x9F, 0x98}),        // truncated at end
        Bytes({0xC3, 'a'}),               // continuation missing
        Bytes({0xE3, 0x83, 'a'}),
        Bytes({0xF0, 0x9F, 0x98, 0xC3, 0xA9}),
    };
    for (const auto& in : bad) {
        std::u16string out = u"unchanged";
        EXPECT_FALSE(MultiByteToWide(out, in, true)) << ::testing::PrintToString(in);
        EXPECT_EQ(out, u"unchanged");
    }
}

TEST(TextConversion, RoundTripEveryScalarValue) {
    std::u16string wide;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (c >= 0x10000) {
            wide.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(c));
        }
    }
    std::string utf8;
    ASSERT_TRUE(WideToUtf8(utf8, wide));
    std::u16string back;
    ASSERT_TRUE(MultiByteToWide(back, utf8, true));
    EXPECT_TRUE(back == wide);
}

}  // namespace
