#include "vesk/text_conversion.h"

#include <cstdint>

bool WideToUtf8(std::string& out, std::u16string_view text) {
    text = text.substr(0, text.find(u'\0'));
    std::string result;
    result.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c >= 0xDC00 || i + 1 >= text.size()) return false;  // lone low or truncated high
            std::uint32_t low = text[i + 1];
            if (low < 0xDC00 || low > 0xDFFF) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            result.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            result.push_back(static_cast<char>(0xC0 | (c >> 6)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            result.push_back(static_cast<char>(0xE0 | (c >> 12)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            result.push_back(static_cast<char>(0xF0 | (c >> 18)));
            result.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    out = std::move(result);
    return true;
}

bool MultiByteToWide(std::u16string& out, std::string_view text, bool /*isUtf8*/) {
    text = text.substr(0, text.find('\0'));
    std::u16string result;
    result.reserve(text.size());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const std::uint32_t b0 = static_cast<unsigned char>(text[i]);
        std::uint32_t cp;
        std::size_t len;
        if (b0 < 0x80) {
            cp = b0;
            len = 1;
        } else if (b0 < 0xC2) {  // stray continuation byte, or overlong lead C0/C1
            return false;
        } else if (b0 < 0xE0) {
            cp = b0 & 0x1F;
            len = 2;
        } else if (b0 < 0xF0) {
            cp = b0 & 0x0F;
            len = 3;
        } else if (b0 < 0xF5) {
            cp = b0 & 0x07;
            len = 4;
        } else {
            return false;
        }
        if (len > n - i) return false;  // truncated
        for (std::size_t k = 1; k < len; ++k) {
            const std::uint32_t b = static_cast<unsigned char>(text[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000)) return false;  // overlong
        if (cp > 0x10FFFF) return false;
        if (cp >= 0xD800 && cp <= 0xDFFF) return false;  // surrogate encoded in UTF-8
        if (cp >= 0x10000) {
            cp -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    out = std::move(result);
    return true;
}
