#include "effectfile/json_parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/effectfile/test_support.h"

namespace orv {
namespace {

std::string SyntaxErrorOf(std::string_view text) {
    try {
        ParseJson(text);
    } catch (const JsonSyntaxError& error) {
        return error.what();
    }
    return "no error";
}

// Names were written without escaping, so raw control characters occur inside strings; invalid
// UTF-8 in strings is kept (the reader decides whether it converts).
TEST(JsonParser, DecodesEscapesPairsSurrogatesAndKeepsRawControlsAndBytes) {
    const std::string text =
        R"(["a\"b\\c\/\b\f\n\r\t", "\u00e9\u3042", "\ud834\udd1e", "\ud800x", "\udc00", )"
        "\"a\tb\nc\", \"\xFF\xC0\"]";
    std::vector<std::string> texts;
    for (const JsonValue& item : ParseJson(text).items) texts.push_back(item.text);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"a\"b\\c/\b\f\n\r\t", "\xC3\xA9\xE3\x81\x82", "\xF0\x9D\x84\x9E",
                                        "\xEF\xBF\xBDx", "\xEF\xBF\xBD", "a\tb\nc", "\xFF\xC0"}));
}

// Numbers keep their source text, their shape checked only when they are converted; text after
// the first complete value is ignored.
TEST(JsonParser, KeepsNumberTextsAndTheLastOfRepeatedKeys) {
    const JsonValue value = ParseJson(R"({"k": 1, "a": 2.50, "k": -0.0e5, "c": "2.5", "d": 1.2.3} trailing)");
    EXPECT_EQ(value.members.size(), 4u);
    EXPECT_EQ(value.Find("K"), nullptr);
    EXPECT_EQ(std::tuple(value.Find("k")->text, value.Find("a")->text, value.Find("d")->text),
              std::tuple("-0.0e5", "2.50", "1.2.3"));
    EXPECT_EQ(std::pair(value.Find("a")->kind, value.Find("c")->kind),
              std::pair(JsonValue::Kind::kNumber, JsonValue::Kind::kString));
}

TEST(JsonParser, ErrorNamesTheLineAndQuotesItsRest) {
    const std::string text =
        "{\n\"a\": 1,\n\"b\": 2,\n\"c\": 3,\n\"d\": 4,\n\"e\": 5,\n\"f\" 6, \"g\"\r\n\"h\": 7}";
    EXPECT_EQ(SyntaxErrorOf(text), "syntax error at line 7 near: 6, \"g\"");
    // Line feeds inside strings count; control characters are left out of the quote.
    EXPECT_EQ(SyntaxErrorOf("[\"x\ny\",\n\t@\tz\x01!\nmore"), "syntax error at line 3 near: @z!");
    EXPECT_EQ(SyntaxErrorOf(""), "syntax error at line 1 near: ");
    EXPECT_EQ(SyntaxErrorOf("[tru]"), "syntax error at line 1 near: tru]");
    // The quote is short, and bytes that are not UTF-8 become '?'.
    EXPECT_LT(SyntaxErrorOf("[" + std::string(100000, '#') + "]").size(), 300u);
    EXPECT_EQ(SyntaxErrorOf("[\xFF\xE3\x81\x82]"), "syntax error at line 1 near: ?\xE3\x81\x82]");
}

TEST(JsonParser, DeepNestingIsASyntaxErrorNotACrash) {
    const auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    EXPECT_NO_THROW(ParseJson(nested(kMaxJsonDepth)));
    std::string objects;
    for (int i = 0; i < 100000; ++i) objects += "{\"a\":[";
    for (const std::string& text :
         {nested(kMaxJsonDepth + 1), std::string(100000, '['), std::string(100000, '{'), objects})
        EXPECT_THROW(ParseJson(text), JsonSyntaxError);
}

// The test files that the format accepts on purpose, without their "n_" and ".json": number shapes
// are not checked, text after the first value is ignored, and strings may hold raw control characters.
const std::string kAcceptedOnPurpose =
    " array_comma_after_close array_extra_close array_just_minus multidigit_number_then_00 number_++"
    " number_+1 number_-01 number_-1.0. number_-2. number_.-1 number_.2e-3 number_0.1.2 number_0.3e+"
    " number_0.3e number_0.e1 number_0_capital_E+ number_0_capital_E number_0e+ number_0e number_1.0e+"
    " number_1.0e- number_1.0e number_1eE2 number_2.e+3 number_2.e-3 number_2.e3 number_9.e+"
    " number_expression number_invalid+- number_neg_int_starting_with_zero"
    " number_neg_real_without_int_part number_real_without_fractional_part number_starting_with_dot"
    " number_with_leading_zero object_trailing_comment object_trailing_comment_open"
    " object_trailing_comment_slash_open object_trailing_comment_slash_open_incomplete"
    " object_with_trailing_garbage string_unescaped_ctrl_char string_unescaped_newline"
    " string_unescaped_tab string_with_trailing_garbage structure_array_trailing_garbage"
    " structure_array_with_extra_array_close structure_close_unopened_array structure_double_array"
    " structure_number_with_trailing_garbage structure_object_followed_by_closing_object"
    " structure_object_with_trailing_garbage structure_trailing_# ";

TEST(JsonParser, JsonTestSuite) {
    const std::filesystem::path folder =
        std::filesystem::path(ORV_TESTDATA_DIR) / "jsontestsuite" / "test_parsing";
    if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no JSONTestSuite at " << folder;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const std::string text = test::ReadFileBytes(entry.path());
        bool accepted = true;
        try {
            ParseJson(text);
        } catch (const JsonSyntaxError&) {
            accepted = false;
        }
        ++files;
        if (name.starts_with("y_")) {
            EXPECT_TRUE(accepted) << name;
        } else if (name.starts_with("n_")) {
            const std::string stem = " " + name.substr(2, name.size() - 7) + " ";
            EXPECT_EQ(accepted, kAcceptedOnPurpose.find(stem) != std::string::npos) << name;
        }
    }
    EXPECT_GT(files, 300);
}

}  // namespace
}  // namespace orv
