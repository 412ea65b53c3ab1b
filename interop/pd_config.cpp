#include "interop/pd_config.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace orv {
namespace {

std::string Lower(std::string_view key) {
    std::string lower(key);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

void PdConfig::Set(std::string_view key, Value value) { values_[Lower(key)] = Stored{std::string(key), std::move(value)}; }

bool PdConfig::Has(std::string_view key) const { return values_.find(Lower(key)) != values_.end(); }

std::optional<double> PdConfig::Number(std::string_view key) const {
    const auto found = values_.find(Lower(key));
    if (found == values_.end()) return std::nullopt;
    if (const bool* flag = std::get_if<bool>(&found->second.value)) return *flag ? 1.0 : 0.0;
    std::optional<double> number;
    if (const double* value = std::get_if<double>(&found->second.value)) {
        if (std::isfinite(*value)) number = *value;
    } else {
        number = ParseDecimal(std::get<std::string>(found->second.value));
    }
    if (!number) throw std::runtime_error("\"" + std::string(key) + "\" is not a finite number");
    return number;
}

double PdConfig::NumberOr(std::string_view key, double fallback) const { return Number(key).value_or(fallback); }

std::optional<std::string> PdConfig::Text(std::string_view key) const {
    const auto found = values_.find(Lower(key));
    if (found == values_.end()) return std::nullopt;
    if (const std::string* text = std::get_if<std::string>(&found->second.value)) return *text;
    return std::nullopt;
}

}  // namespace orv
