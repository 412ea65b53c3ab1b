#include "interop/xml_document.h"

#include <cctype>
#include <stdexcept>
#include <string>

namespace orv {

void ParseXml(pugi::xml_document& document, std::string_view text, std::string_view format) {
    // Entities are only the predefined ones and the parser keeps no recursion per nesting level
    // that a hostile file could exhaust; DOCTYPE is skipped without being fetched.
    const pugi::xml_parse_result result =
        document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_doctype, pugi::encoding_auto);
    if (!result) {
        throw std::runtime_error("malformed " + std::string(format) + " (" + result.description() + " at byte " +
                                 std::to_string(result.offset) + ")");
    }
}

std::string XmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

}  // namespace orv
