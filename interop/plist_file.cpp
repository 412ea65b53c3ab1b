#include "interop/plist_file.h"

#include <cmath>
#include <set>
#include <stdexcept>

#include "interop/conversion_report.h"
#include "interop/xml_document.h"

namespace orv {
namespace {

// Keys the engines read as whole numbers; a writer gives them <integer>.
const std::set<std::string, std::less<>> kIntegerKeys = {"maxParticles", "emitterType",  "blendFuncSource",
                                                         "blendFuncDestination", "positionType", "yCoordFlipped"};

PdConfig::Value ReadValue(const pugi::xml_node& element, const std::string& key) {
    const std::string_view kind = element.name();
    if (SameName(kind, "real") || SameName(kind, "integer")) {
        const std::optional<double> number = ParseDecimal(element.child_value());
        if (!number) throw std::runtime_error("plist key \"" + key + "\": \"" + element.child_value() + "\" is not a number");
        return *number;
    }
    if (SameName(kind, "string")) return std::string(element.child_value());
    if (SameName(kind, "true")) return true;
    if (SameName(kind, "false")) return false;
    throw std::runtime_error("plist key \"" + key + "\": unexpected <" + std::string(kind) + ">");
}

}  // namespace

PdConfig ReadPlist(std::string_view text) {
    if (text.substr(0, 6) == "bplist") {
        throw std::runtime_error("binary property lists are not read; save the file as an XML property list");
    }
    pugi::xml_document document;
    ParseXml(document, text, "property list");
    pugi::xml_node dict;
    for (const pugi::xml_node& node : document.children()) {
        if (node.type() != pugi::node_element) continue;
        dict = SameName(node.name(), "dict") ? node : node.child("dict");
        break;
    }
    if (!dict) throw std::runtime_error("not a property list: no root <dict>");

    PdConfig config;
    for (pugi::xml_node node = dict.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element) continue;
        if (!SameName(node.name(), "key")) continue;  // a value without a key: skipped
        const std::string key = node.child_value();
        pugi::xml_node value = node.next_sibling();
        while (value && value.type() != pugi::node_element) value = value.next_sibling();
        if (!value || SameName(value.name(), "key")) throw std::runtime_error("plist key \"" + key + "\" has no value");
        node = value;
        if (SameName(value.name(), "dict") || SameName(value.name(), "array") || SameName(value.name(), "data") ||
            SameName(value.name(), "date")) {
            continue;  // no particle key uses these
        }
        config.Set(key, ReadValue(value, key));
    }
    return config;
}

std::string WritePlist(const PdConfig& config) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [lower, stored] : config.Entries()) {
        out += "\t<key>";
        out += XmlEscaped(stored.key);
        out += "</key>\n\t";
        if (const bool* flag = std::get_if<bool>(&stored.value)) {
            out += *flag ? "<true/>" : "<false/>";
        } else if (const std::string* text = std::get_if<std::string>(&stored.value)) {
            out += "<string>";
            out += XmlEscaped(*text);
            out += "</string>";
        } else {
            const double number = std::get<double>(stored.value);
            if (kIntegerKeys.count(stored.key) != 0 && number == std::trunc(number)) {
                out += "<integer>" + FormatNumber(number) + "</integer>";
            } else {
                out += "<real>" + FormatNumber(number) + "</real>";
            }
        }
        out += "\n";
    }
    out += "</dict>\n</plist>\n";
    return out;
}

}  // namespace orv
