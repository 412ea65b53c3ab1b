#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace orv {

// The keys of one Particle Designer emitter (the model the .plist and .pex files share), as a
// reader found them: keys are matched without regard to case, because real files spell some of
// them differently (FinishParticleSizeVariance, particleLifeSpan).
class PdConfig {
public:
    using Value = std::variant<double, std::string, bool>;

    void Set(std::string_view key, Value value);
    bool Has(std::string_view key) const;

    // A numeric key: a number, a numeric string or a boolean (1 / 0). Nothing when the key is
    // absent. Throws std::runtime_error naming the key when the value is not a finite number.
    std::optional<double> Number(std::string_view key) const;
    // A numeric key, or `fallback` when it is absent.
    double NumberOr(std::string_view key, double fallback) const;
    // A text key; nothing when absent or not text.
    std::optional<std::string> Text(std::string_view key) const;

    // Every key with the spelling it was last set with, by lower-case key (alphabetical).
    struct Stored {
        std::string key;
        Value value;
    };
    const std::map<std::string, Stored, std::less<>>& Entries() const { return values_; }

private:
    std::map<std::string, Stored, std::less<>> values_;
};

// Whether `text` holds a finite decimal number (leading and trailing blanks allowed), and its value.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace orv
