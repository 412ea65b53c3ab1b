#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace orv {

// Parses XML text (with or without a declaration, any line ends) into `document`. Throws
// std::runtime_error naming `format` and the offset of the first error.
void ParseXml(pugi::xml_document& document, std::string_view text, std::string_view format);

// Text with the characters XML gives a meaning (& < > ") written as entities, for element text
// and attribute values alike.
std::string XmlEscaped(std::string_view text);

// Case-insensitive comparison of XML names.
bool SameName(std::string_view a, std::string_view b);

}  // namespace orv
