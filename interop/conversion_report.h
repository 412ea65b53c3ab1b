#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// What a conversion could not carry over exactly. Every entry names the emitter it belongs to,
// so one list serves a whole file of emitters.
class ConversionReport {
public:
    enum class Kind { kApproximated, kClamped, kDropped };
    struct Entry {
        Kind kind;
        std::string emitter;
        std::string text;
    };

    // The emitter the following entries belong to.
    void BeginEmitter(std::string name) { emitter_ = std::move(name); }
    void Add(Kind kind, std::string text) { entries_.push_back({kind, emitter_, std::move(text)}); }
    void Approximated(std::string text) { Add(Kind::kApproximated, std::move(text)); }
    void Clamped(std::string text) { Add(Kind::kClamped, std::move(text)); }
    void Dropped(std::string text) { Add(Kind::kDropped, std::move(text)); }

    bool Empty() const { return entries_.empty(); }
    const std::vector<Entry>& Entries() const { return entries_; }

    // One line per entry: "emitter "fire": approximated: ...", in the order they were added.
    std::string Text() const;

private:
    std::string emitter_;
    std::vector<Entry> entries_;
};

// "12.5", "-1", "0.001": the shortest plain decimal that reads back as the same double.
std::string FormatNumber(double value);

}  // namespace orv
