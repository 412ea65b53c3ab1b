#include "interop/conversion_report.h"

#include <array>
#include <charconv>

namespace orv {
namespace {

const char* KindText(ConversionReport::Kind kind) {
    switch (kind) {
        case ConversionReport::Kind::kApproximated:
            return "approximated";
        case ConversionReport::Kind::kClamped:
            return "clamped";
        case ConversionReport::Kind::kDropped:
            return "dropped";
    }
    return "";
}

}  // namespace

std::string ConversionReport::Text() const {
    std::string text;
    for (const Entry& entry : entries_) {
        text += "emitter \"" + entry.emitter + "\": " + KindText(entry.kind) + ": " + entry.text + "\n";
    }
    return text;
}

std::string FormatNumber(double value) {
    if (value == 0) return "0";  // also for -0
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc{}) return "0";
    return std::string(buffer.data(), result.ptr);
}

}  // namespace orv
