#pragma once

#include <string>
#include <string_view>

namespace orv {

// The body of a JSON string literal for UTF-8 text: quotes, backslashes and control characters
// escaped, everything else (non-ASCII included) kept as it is. Text without those characters is
// returned unchanged, so ordinary names are written exactly as before.
std::string EscapeJsonString(std::string_view utf8);

}  // namespace orv
