#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace vesk {

// The fixed names of an enumeration's values, both ways (command-line and settings words). A
// value without a name reads as the first entry's name.
template <typename Enum, std::size_t N>
struct NameTable {
    std::array<std::pair<Enum, std::string_view>, N> entries;

    constexpr std::string_view Name(Enum value) const {
        for (const auto& [entry, name] : entries) {
            if (entry == value) return name;
        }
        return entries[0].second;
    }

    constexpr std::optional<Enum> FromName(std::string_view text) const {
        for (const auto& [entry, name] : entries) {
            if (name == text) return entry;
        }
        return std::nullopt;
    }
};

}  // namespace vesk
