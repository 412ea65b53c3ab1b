#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace vesk {

// Reads the ASCII decimal digits that start at `pos`, at most `maxDigits` of them, into `value`
// (value * 10 + digit each) and moves `pos` past them. The value never exceeds `cap`: a longer
// run saturates there instead of wrapping. Returns how many digits were read.
template <class Char>
std::size_t ReadDigits(std::basic_string_view<Char> text, std::size_t& pos, std::uint64_t& value,
                       std::uint64_t cap, std::size_t maxDigits = std::numeric_limits<std::size_t>::max()) {
    std::size_t count = 0;
    for (; count < maxDigits && pos < text.size(); ++pos, ++count) {
        const Char c = text[pos];
        if (c < Char('0') || c > Char('9')) break;
        const auto digit = static_cast<std::uint64_t>(c - Char('0'));
        value = value > (cap - digit) / 10 ? cap : value * 10 + digit;
    }
    return count;
}

}  // namespace vesk
