// Text conversion and the error-code messages.
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "vesk/err_code_exception.h"
#include "vesk/split_string.h"
#include "vesk/text_conversion.h"

namespace {

using namespace std::string_literals;

TEST(TextConversion, BoundaryCodePointsBothWaysAndTheFirstNulEndsTheInput) {
    const std::u16string wide = u"A\u007f\u0080\u07ff\u0800\ud7ff\ue000\uffff\U00010000\U0010FFFF";
    const std::string utf8 =
        "A\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xed\x9f\xbf\xee\x80\x80\xef\xbf\xbf\xf0\x90\x80\x80"
        "\xf4\x8f\xbf\xbf";
    std::string narrow = "junk";
    std::u16string back = u"junk";
    EXPECT_TRUE(vesk::WideToUtf8(narrow, wide + u"\0\xD800"s) && narrow == utf8);
    // The ANSI code page is UTF-8 here.
    EXPECT_TRUE(vesk::MultiByteToWide(back, utf8 + "\0\xff"s, false) && back == wide);
    EXPECT_TRUE(vesk::WideToUtf8(narrow, u"\0a"s) && narrow.empty());
    EXPECT_TRUE(vesk::MultiByteToWide(back, "", true) && back.empty());
}

TEST(TextConversion, MalformedInputFailsAndLeavesTheOutput) {
    // Unpaired, reversed and doubled surrogates.
    for (const std::u16string& bad : {u"\xD800"s, u"\xDC00"s, u"a\xD83Dz"s, u"\xDE00\xD83D"s,
                                      u"\xD83D\xD83D\xDE00"s, u"\xDC00\xDC00"s, u"\xD83D\xE000"s}) {
        std::string out = "unchanged";
        EXPECT_FALSE(vesk::WideToUtf8(out, bad));
        EXPECT_EQ(out, "unchanged");
    }
    // Stray continuations, overlong forms, encoded surrogates, past U+10FFFF, bad lead bytes, truncations;
    // one input per word.
    std::istringstream bad(
        "\x80 a\xbfz \xc0\x80 \xc1\xbf \xe0\x80\xaf \xe0\x9f\xbf \xf0\x8f\xbf\xbf \xed\xa0\x80 \xed\xbf\xbf "
        "\xed\xa0\xbd\xed\xb8\x80 \xf4\x90\x80\x80 \xf5\x80\x80\x80 \xfe \xff \xc3 \xe3\x83 \xf0\x9f\x98 "
        "\xc3z \xe3\x83z \xf0\x9f\x98\xc3\xa9");
    for (std::string in; bad >> in;) {
        std::u16string out = u"unchanged";
        EXPECT_FALSE(vesk::MultiByteToWide(out, in, true)) << ::testing::PrintToString(in);
        EXPECT_EQ(out, u"unchanged");
    }
}

TEST(SplitString, KeepsInnerEmptyPiecesButNoTrailingOneAndCountsWhatItAppended) {
    using List = std::vector<std::u16string>;
    const std::tuple<std::u16string, std::u16string, List> cases[] = {
        {u"1,2,,3", u",", {u"1", u"2", u"", u"3"}},
        {u"1,2,", u",", {u"1", u"2"}},
        {u"a;;b", u";;", {u"a", u";b"}},  // the search resumes one past a delimiter's start
        {u"a,b", u"", {u"a,b"}}};
    for (const auto& [text, delimiter, pieces] : cases) {
        List list{u"old"};  // appended to
        EXPECT_EQ(vesk::SplitString(text, delimiter, list), pieces.size() + 1);
        EXPECT_EQ(List(list.begin() + 1, list.end()), pieces);
    }
}

// The messages in between are the table restated.
TEST(ErrCodeException, MessagesAtTheEndOfTheTableAndPastIt) {
    EXPECT_STREQ(vesk::CErrCodeException(6).Message(), "No support compression BMP format.");
    for (const std::uint32_t code : {7u, 0xFFFFFFFFu})
        EXPECT_STREQ(vesk::CErrCodeException(code).Message(), "Unknow error.") << code;
}

}  // namespace
