#include "interop/pex_file.h"

#include <array>
#include <stdexcept>

#include "interop/conversion_report.h"
#include "interop/xml_document.h"

namespace orv {
namespace {

// One .pex element: its attributes and the .plist keys they hold. Scalars are `value`
// attributes whose key is the element's own name (the spellings particleLifeSpan and
// FinishParticleSizeVariance match their keys once case is ignored).
struct PexElement {
    const char* element;
    std::array<const char*, 4> attributes;
    std::array<const char*, 4> keys;
};

constexpr std::array<const char*, 4> kValue = {"value", nullptr, nullptr, nullptr};
constexpr std::array<const char*, 4> kXy = {"x", "y", nullptr, nullptr};
constexpr std::array<const char*, 4> kRgba = {"red", "green", "blue", "alpha"};

PexElement Scalar(const char* name) {
    return {name, kValue, {name, nullptr, nullptr, nullptr}};
}

// In the order Particle Designer 2 writes them.
const std::array kElements = {
    Scalar("absolutePosition"),
    Scalar("yCoordFlipped"),
    PexElement{"sourcePosition", kXy, {"sourcePositionx", "sourcePositiony", nullptr, nullptr}},
    PexElement{"sourcePositionVariance",
               kXy,
               {"sourcePositionVariancex", "sourcePositionVariancey", nullptr, nullptr}},
    Scalar("speed"),
    Scalar("speedVariance"),
    Scalar("particleLifeSpan"),
    Scalar("particleLifespanVariance"),
    Scalar("angle"),
    Scalar("angleVariance"),
    PexElement{"gravity", kXy, {"gravityx", "gravityy", nullptr, nullptr}},
    Scalar("radialAcceleration"),
    Scalar("tangentialAcceleration"),
    Scalar("radialAccelVariance"),
    Scalar("tangentialAccelVariance"),
    PexElement{
        "startColor", kRgba, {"startColorRed", "startColorGreen", "startColorBlue", "startColorAlpha"}},
    PexElement{"startColorVariance",
               kRgba,
               {"startColorVarianceRed", "startColorVarianceGreen", "startColorVarianceBlue",
                "startColorVarianceAlpha"}},
    PexElement{
        "finishColor", kRgba, {"finishColorRed", "finishColorGreen", "finishColorBlue", "finishColorAlpha"}},
    PexElement{"finishColorVariance",
               kRgba,
               {"finishColorVarianceRed", "finishColorVarianceGreen", "finishColorVarianceBlue",
                "finishColorVarianceAlpha"}},
    Scalar("maxParticles"),
    Scalar("startParticleSize"),
    Scalar("startParticleSizeVariance"),
    Scalar("finishParticleSize"),
    Scalar("finishParticleSizeVariance"),
    Scalar("duration"),
    Scalar("emitterType"),
    Scalar("maxRadius"),
    Scalar("maxRadiusVariance"),
    Scalar("minRadius"),
    Scalar("minRadiusVariance"),
    Scalar("rotatePerSecond"),
    Scalar("rotatePerSecondVariance"),
    Scalar("blendFuncSource"),
    Scalar("blendFuncDestination"),
    Scalar("rotationStart"),
    Scalar("rotationStartVariance"),
    Scalar("rotationEnd"),
    Scalar("rotationEndVariance"),
};

const PexElement kTexture{
    "texture", {"name", "data", nullptr, nullptr}, {"textureFileName", "textureImageData", nullptr, nullptr}};

pugi::xml_attribute FindAttribute(const pugi::xml_node& node, const char* name) {
    for (const pugi::xml_attribute& attribute : node.attributes()) {
        if (SameName(attribute.name(), name)) return attribute;
    }
    return {};
}

const PexElement* FindElement(std::string_view name) {
    for (const PexElement& element : kElements) {
        if (SameName(element.element, name) && element.attributes != kValue) return &element;
    }
    return nullptr;
}

void ReadNumbers(const pugi::xml_node& node, const PexElement& element, PdConfig& config) {
    for (std::size_t i = 0; i < element.attributes.size() && element.attributes[i]; ++i) {
        const pugi::xml_attribute attribute = FindAttribute(node, element.attributes[i]);
        if (!attribute) continue;
        const std::optional<double> number = ParseDecimal(attribute.value());
        if (!number) {
            throw std::runtime_error("pex <" + std::string(node.name()) + "> " + element.attributes[i] +
                                     "=\"" + attribute.value() + "\" is not a number");
        }
        config.Set(element.keys[i], *number);
    }
}

}  // namespace

PdConfig ReadPex(std::string_view text) {
    pugi::xml_document document;
    ParseXml(document, text, "pex file");
    const pugi::xml_node root = document.document_element();
    if (!root || !SameName(root.name(), "particleEmitterConfig")) {
        throw std::runtime_error("not a pex file: the root element is not <particleEmitterConfig>");
    }
    PdConfig config;
    for (const pugi::xml_node& node : root.children()) {
        if (node.type() != pugi::node_element) continue;
        const std::string_view name = node.name();
        if (SameName(name, kTexture.element)) {
            for (std::size_t i = 0; i < 2; ++i) {
                if (const pugi::xml_attribute attribute = FindAttribute(node, kTexture.attributes[i])) {
                    config.Set(kTexture.keys[i], std::string(attribute.value()));
                }
            }
        } else if (const PexElement* element = FindElement(name)) {
            ReadNumbers(node, *element, config);
        } else if (FindAttribute(node, "value")) {
            const PexElement scalar = Scalar(node.name());
            ReadNumbers(node, scalar, config);
        }
    }
    return config;
}

std::string WritePex(const PdConfig& config) {
    std::string out = "<?xml version=\"1.0\"?>\n<particleEmitterConfig>\n";
    for (const PexElement& element : kElements) {
        out.append("  <").append(element.element);
        for (std::size_t i = 0; i < element.attributes.size() && element.attributes[i]; ++i) {
            out.append(" ").append(element.attributes[i]).append("=\"");
            out.append(FormatNumber(config.NumberOr(element.keys[i], 0))).append("\"");
        }
        out += "/>\n";
    }
    out += "  <texture name=\"" + XmlEscaped(config.Text("textureFileName").value_or("")) + "\"";
    if (const std::optional<std::string> data = config.Text("textureImageData"))
        out += " data=\"" + *data + "\"";
    out += "/>\n</particleEmitterConfig>\n";
    return out;
}

}  // namespace orv
