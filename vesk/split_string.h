#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// Appends the pieces of `text` cut at `delimiter` to `list` and returns the list's new size.
// An empty piece between two adjacent delimiters is appended; a trailing empty piece
// is not ("1,2," gives "1" and "2"). The search resumes one character past the
// start of each occurrence, so a delimiter of more than one character leaves its remaining
// characters at the start of the next piece. An empty delimiter yields the whole text as one piece.
std::size_t SplitString(std::u16string_view text, std::u16string_view delimiter,
                        std::vector<std::u16string>& list);

}  // namespace vesk
