#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk {

// Text conversion between UTF-16 (std::u16string) and byte strings.
// Both functions read their input up to its first NUL. On malformed input they return false and
// leave `out` unchanged. Rejected: truncated or overlong UTF-8 sequences, stray continuation
// bytes, surrogate code points encoded in UTF-8, code points above U+10FFFF, and unpaired
// surrogates in UTF-16.

// UTF-16 -> UTF-8.
bool WideToUtf8(std::string& out, std::u16string_view text);

// Byte string -> UTF-16. `isUtf8` selects UTF-8 or the system "ANSI" code page; on this platform
// the ANSI code page is UTF-8, so both read UTF-8.
bool MultiByteToWide(std::u16string& out, std::string_view text, bool isUtf8);

// The UTF-8 form of a text shown in a message, or "?" when it has none.
std::string Utf8ForDisplay(std::u16string_view text);

// Appends the UTF-8 form of one code point (at most U+10FFFF, not a surrogate).
void AppendUtf8(std::string& out, char32_t code);

// The length of the well-formed UTF-8 sequence at the start of `text` (1 to 4), or 0 when none
// starts there; `code` receives its code point.
std::size_t DecodeUtf8(std::string_view text, char32_t& code);

}  // namespace vesk
