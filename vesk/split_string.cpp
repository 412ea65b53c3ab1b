#include "vesk/split_string.h"

namespace vesk {

std::size_t SplitString(std::u16string_view text, std::u16string_view delimiter,
                        std::vector<std::u16string>& list) {
    if (delimiter.empty()) {
        if (!text.empty()) list.emplace_back(text);
        return list.size();
    }
    std::size_t pos = 0;
    for (;;) {
        const std::size_t found = text.find(delimiter, pos);
        if (found == std::u16string_view::npos) break;
        list.emplace_back(text.substr(pos, found - pos));
        pos = found + 1;
    }
    if (pos < text.size()) list.emplace_back(text.substr(pos));
    return list.size();
}

}  // namespace vesk
