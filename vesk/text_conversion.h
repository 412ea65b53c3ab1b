#pragma once

#include <string>
#include <string_view>

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
