#include "interop/gdx_particle_file.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "interop/pd_config.h"

namespace orv {
namespace {

// More points than this in one curve is not a file the editor wrote.
constexpr std::size_t kMaxCurvePoints = 100000;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The file as lines, read front to back.
class LineReader {
public:
    explicit LineReader(std::string_view text) {
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.push_back(line);
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
    }

    bool AtEnd() const { return next_ >= lines_.size(); }
    std::string_view Peek() const { return AtEnd() ? std::string_view() : lines_[next_]; }
    std::string_view Next() {
        if (AtEnd()) Fail("the file ends too early");
        return lines_[next_++];
    }
    void SkipBlank() {
        while (!AtEnd() && Trim(lines_[next_]).empty()) ++next_;
    }

    // The text after the first ':' of the next line, trimmed.
    std::string_view Value() {
        const std::string_view line = Next();
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) Fail("expected \"name: value\"");
        return Trim(line.substr(colon + 1));
    }
    double Number() {
        const std::string_view text = Value();
        const std::optional<double> number = ParseDecimal(text);
        if (!number) Fail(std::string(1, '"').append(text) + "\" is not a number");
        return *number;
    }
    int Integer() {
        const double number = Number();
        if (number != std::trunc(number) || std::abs(number) > 1e9) Fail("expected a whole number");
        return static_cast<int>(number);
    }
    bool Flag() {
        std::string text(Value());
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text == "true";
    }
    std::size_t Count() {
        const int count = Integer();
        if (count < 0 || static_cast<std::size_t>(count) > std::min(kMaxCurvePoints, lines_.size() - next_)) {
            Fail("impossible count " + std::to_string(count));
        }
        return static_cast<std::size_t>(count);
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("libgdx particle file, line " + std::to_string(next_) + ": " + what);
    }

private:
    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
};

bool ReadActive(LineReader& reader, bool alwaysActive) { return alwaysActive || reader.Flag(); }

void ReadRanged(LineReader& reader, GdxRanged& value, bool alwaysActive) {
    value.active = ReadActive(reader, alwaysActive);
    if (!value.active) return;
    value.lowMin = reader.Number();
    value.lowMax = reader.Number();
}

std::vector<double> ReadList(LineReader& reader) {
    std::vector<double> values(reader.Count());
    for (double& value : values) value = reader.Number();
    return values;
}

void ReadScaled(LineReader& reader, GdxScaled& value, bool alwaysActive) {
    ReadRanged(reader, value, alwaysActive);
    if (!value.active) return;
    value.highMin = reader.Number();
    value.highMax = reader.Number();
    value.relative = reader.Flag();
    value.scaling = ReadList(reader);
    value.timeline = ReadList(reader);
    if (value.scaling.size() != value.timeline.size() || value.scaling.empty()) {
        reader.Fail("a curve needs as many levels as positions, at least one");
    }
}

// "independent:" follows Life and Life Offset in newer files, even after an inactive section.
void ReadIndependentScaled(LineReader& reader, GdxScaled& value, bool alwaysActive) {
    ReadScaled(reader, value, alwaysActive);
    if (Trim(reader.Peek()).find("independent") != std::string_view::npos) value.independent = reader.Flag();
}

void ReadGradient(LineReader& reader, GdxGradient& gradient) {
    gradient.colors = ReadList(reader);
    gradient.timeline = ReadList(reader);
    if (gradient.colors.size() != gradient.timeline.size() * 3 || gradient.timeline.empty()) {
        reader.Fail("a tint needs three colour values per position");
    }
}

void ReadShape(LineReader& reader, GdxEmitter& emitter) {
    emitter.shape = reader.Value();
    if (emitter.shape == "ellipse") {
        emitter.edges = reader.Flag();
        emitter.side = reader.Value();
    }
}

void ReadOptions(LineReader& reader, GdxEmitter& emitter) {
    emitter.attached = reader.Flag();
    emitter.continuous = reader.Flag();
    emitter.aligned = reader.Flag();
    emitter.additive = reader.Flag();
    emitter.behind = reader.Flag();
    if (StartsWith(Trim(reader.Peek()), "premultipliedAlpha")) emitter.premultipliedAlpha = reader.Flag();
    if (StartsWith(Trim(reader.Peek()), "spriteMode")) emitter.spriteMode = reader.Value();
}

void ReadImages(LineReader& reader, GdxEmitter& emitter) {
    const bool single = Trim(reader.Next()) == "- Image Path -";
    while (!reader.AtEnd() && !Trim(reader.Peek()).empty()) {
        emitter.imagePaths.emplace_back(Trim(reader.Next()));
        if (single) break;
    }
}

GdxEmitter ReadEmitter(LineReader& reader) {
    GdxEmitter emitter;
    const std::string_view nameLine = Trim(reader.Next());
    const std::size_t colon = nameLine.find(':');
    emitter.name = colon == std::string_view::npos ? nameLine : Trim(nameLine.substr(colon + 1));
    reader.Next();
    ReadRanged(reader, emitter.delay, false);
    reader.Next();
    ReadRanged(reader, emitter.duration, true);
    reader.Next();
    emitter.countMin = reader.Integer();
    emitter.countMax = reader.Integer();
    reader.Next();
    ReadScaled(reader, emitter.emission, true);
    reader.Next();
    ReadIndependentScaled(reader, emitter.life, true);
    reader.Next();
    ReadIndependentScaled(reader, emitter.lifeOffset, false);
    reader.Next();
    ReadScaled(reader, emitter.xOffset, false);
    reader.Next();
    ReadScaled(reader, emitter.yOffset, false);
    reader.Next();
    ReadShape(reader, emitter);
    reader.Next();
    ReadScaled(reader, emitter.spawnWidth, true);
    reader.Next();
    ReadScaled(reader, emitter.spawnHeight, true);
    // Old files have one "- Scale -" for both axes.
    if (Trim(reader.Next()) == "- Scale -") {
        ReadScaled(reader, emitter.xScale, true);
        emitter.yScale.active = false;
    } else {
        ReadScaled(reader, emitter.xScale, true);
        reader.Next();
        ReadScaled(reader, emitter.yScale, false);
    }
    for (GdxScaled* value : {&emitter.velocity, &emitter.angle, &emitter.rotation, &emitter.wind, &emitter.gravity}) {
        reader.Next();
        ReadScaled(reader, *value, false);
    }
    reader.Next();
    ReadGradient(reader, emitter.tint);
    reader.Next();
    ReadScaled(reader, emitter.transparency, true);
    reader.Next();
    ReadOptions(reader, emitter);
    ReadImages(reader, emitter);
    return emitter;
}

}  // namespace

std::vector<GdxEmitter> ReadGdxParticles(std::string_view text) {
    LineReader reader(text);
    std::vector<GdxEmitter> emitters;
    reader.SkipBlank();
    while (!reader.AtEnd()) {
        emitters.push_back(ReadEmitter(reader));
        reader.SkipBlank();
    }
    if (emitters.empty()) throw std::runtime_error("libgdx particle file without emitters");
    return emitters;
}

double GdxCurve(const std::vector<double>& timeline, const std::vector<double>& levels, double p) {
    if (levels.empty()) return 1.0;
    for (std::size_t i = 1; i < timeline.size() && i < levels.size(); ++i) {
        if (timeline[i] > p) {
            const double span = timeline[i] - timeline[i - 1];
            const double t = span > 0 ? (p - timeline[i - 1]) / span : 0;
            return levels[i - 1] + (levels[i] - levels[i - 1]) * t;
        }
    }
    return levels.back();
}

}  // namespace orv
