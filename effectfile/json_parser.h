#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "effectfile/json_value.h"

namespace orv {

// Containers nested deeper than this are refused as a syntax error, so hostile input cannot
// exhaust the stack.
inline constexpr int kMaxJsonDepth = 512;

// A refused text. what() is "syntax error at line N near: " followed by the rest of the failing
// line from the position where parsing stopped.
class JsonSyntaxError : public std::runtime_error {
public:
    JsonSyntaxError(const std::string& message, int line, std::size_t position)
        : std::runtime_error(message), line_(line), position_(position) {}

    int Line() const { return line_; }
    std::size_t Position() const { return position_; }

private:
    int line_;
    std::size_t position_;
};

// Parses the first complete JSON value of `text`; whatever follows it is ignored. Besides
// standard JSON it accepts what files of earlier versions contain: a number is any non-empty run
// of the characters 0-9 + - . e E (its shape is checked only when it is converted), and strings
// may hold raw control characters, because names were once written without escaping. A leading
// UTF-8 byte-order mark is skipped. Bytes inside strings are kept as they are; whether they are
// valid UTF-8 is decided where the text is converted.
JsonValue ParseJson(std::string_view text);

}  // namespace orv
