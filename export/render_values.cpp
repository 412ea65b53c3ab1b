#include "export/render_values.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace orv {

std::optional<double> ParseStartSeconds(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto digitsOnly = [](std::string_view part) {
        return part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (whole.empty() || !digitsOnly(whole) || !digitsOnly(fraction)) return std::nullopt;
    if (point != std::string_view::npos && fraction.empty()) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value <= kMaxStartSeconds)) {
        return std::nullopt;
    }
    return value;
}

std::uint64_t StartSteps(double seconds, std::uint32_t framesPerSecond) {
    return static_cast<std::uint64_t>(std::llround(seconds * framesPerSecond));
}

}  // namespace orv
