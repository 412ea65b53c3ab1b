#include "interop/pd_mapping.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "interop/row_values.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

// How a key's number becomes a row's value (import) and back (export).
enum class Rule {
    kDirect,    // same quantity, same unit
    kSpread,    // a ± spread: only its magnitude matters
    kMirrored,  // a y component or a turning sense: the sign follows the y axis
    kDirection, // an angle measured from +x: mirrored with the y axis, then 0..360
    kSpin,      // a sprite rotation: turns the same way on screen in both systems, 0..360
    kOwn,       // converted by the row's own functions (approximations, choices)
    kNone,      // no counterpart in orv: reported when it differs from `neutral`
};

// Which emitter type reads the key. Both types' values are stored (orv keeps both groups), but
// only the active type's are reported.
enum class Mode { kBoth, kGravity, kRadial };

struct Context {
    const PdConfig& config;
    const PdFrame& frame;
    Emitter& emitter;
    ConversionReport& report;
    bool active;  // the key belongs to the emitter's type
};

struct ExportContext {
    const Emitter& emitter;
    const PdFrame& frame;
    PdConfig& config;
    ConversionReport& report;
};

struct MappingRow {
    const char* key;
    std::size_t row;  // orv parameter row, or kNoRow
    Rule rule;
    Mode mode;
    double neutral;  // kNone: the value that needs no report; kOwn: unused
    void (*importOwn)(const MappingRow&, Context&);
    void (*exportOwn)(const MappingRow&, ExportContext&);
};

constexpr std::size_t kNoRow = std::numeric_limits<std::size_t>::max();

double Power10(std::int32_t decimals) { return std::pow(10.0, decimals); }

double RawToUnits(std::size_t row, std::int32_t raw) { return RowUnits(row, raw); }

std::string Describe(const char* key, double value) { return std::string(key) + " " + FormatNumber(value); }

// Limited values are reported only for the keys the emitter's type reads.
void StoreValue(Context& context, const char* key, std::size_t row, double value) {
    StoreRowValue(context.emitter, row, value, key, context.active ? &context.report : nullptr);
}

double Mirror(const PdFrame& frame, double value) { return frame.yUp ? -value : value; }

double Number(const Context& context, const char* key) { return context.config.NumberOr(key, 0); }

// --- Rows with their own conversion -------------------------------------------------------------

// −1 keeps the start size: the finish size takes the start size and its spread.
void ImportFinishSize(const MappingRow& row, Context& context) {
    const double finish = Number(context, row.key);
    if (finish != -1) {
        StoreValue(context, row.key, row.row, finish);
        return;
    }
    StoreValue(context, row.key, row.row, Number(context, "startParticleSize"));
    const double spread = std::abs(Number(context, "startParticleSizeVariance"));
    StoreValue(context, "finishParticleSizeVariance", kFinishSizeVariance, spread);
    if (spread != 0) {
        context.report.Approximated("finishParticleSize -1 (keep the start size) -> the start size, drawn separately");
    }
}

void ExportDirect(const MappingRow& row, ExportContext& context) {
    context.config.Set(row.key, RawToUnits(row.row, context.emitter.params.raw[row.row]));
}

// −1 (any negative) is endless, orv's 0; a duration of 0 stops after one frame, orv's shortest is
// one step of the row.
void ImportDuration(const MappingRow& row, Context& context) {
    const double seconds = Number(context, row.key);
    if (seconds < 0) {
        StoreValue(context, row.key, row.row, 0);
    } else if (seconds == 0) {
        StoreValue(context, row.key, row.row, RawToUnits(row.row, 1));
        context.report.Approximated("duration 0 -> " + FormatNumber(RawToUnits(row.row, 1)));
    } else {
        StoreValue(context, row.key, row.row, seconds);
        if (context.emitter.params.raw[row.row] == 0) context.emitter.params.raw[row.row] = 1;
    }
}

void ExportDuration(const MappingRow& row, ExportContext& context) {
    const std::int32_t raw = context.emitter.params.raw[row.row];
    context.config.Set(row.key, raw == 0 ? -1.0 : RawToUnits(row.row, raw));
}

double LifespanForRates(const PdConfig& config) { return config.NumberOr("particleLifespan", 0); }

// orv turns a sprite at a constant speed; the engines go from a start to an end rotation over
// each particle's life. The speed is the mean one over the lifespan.
void ImportRotationEnd(const MappingRow& row, Context& context) {
    const double life = LifespanForRates(context.config);
    const double end = Number(context, row.key);
    const double start = Number(context, "rotationStart");
    const double turn = row.row == kRotPerSec ? end - start : std::abs(end);
    if (turn == 0) {
        StoreValue(context, row.key, row.row, 0);
        return;
    }
    if (life <= 0) {
        StoreValue(context, row.key, row.row, 0);
        context.report.Dropped(Describe(row.key, end) + " (lifespan 0: no turning speed)");
        return;
    }
    StoreValue(context, row.key, row.row, turn / life);
    context.report.Approximated(Describe(row.key, end) + " -> rotation speed " + FormatNumber(turn / life) +
                                " deg/s over the lifespan");
}

void ExportRotationEnd(const MappingRow& row, ExportContext& context) {
    const double life = RawToUnits(kLifespan, context.emitter.params.raw[kLifespan]);
    const double speed = RawToUnits(row.row, context.emitter.params.raw[row.row]);
    const double start = row.row == kRotPerSec ? RawToUnits(kStartRot, context.emitter.params.raw[kStartRot]) : 0;
    context.config.Set(row.key, start + speed * life);
    if (speed != 0) {
        context.report.Approximated(std::string(Param(row.row).key) + " " + FormatNumber(speed) + " -> " + row.key +
                                    " " + FormatNumber(start + speed * life) + " over the lifespan");
    }
}

// The engines (since Particle Designer 2) move the radius from its start to minRadius over the
// life; orv shrinks it to 0 and ends the particle once it falls below min_radius.
void ImportMinRadius(const MappingRow& row, Context& context) {
    const double radius = Number(context, row.key);
    StoreValue(context, row.key, row.row, std::max(0.0, radius));
    if (radius != 0 && context.active) {
        context.report.Approximated(Describe(row.key, radius) +
                                    (radius == -1 ? " (constant radius) -> the radius shrinks to 0"
                                                  : " (end radius) -> particles end at that radius"));
    }
}

void ExportMinRadius(const MappingRow& row, ExportContext& context) {
    ExportDirect(row, context);
    if (context.emitter.params.raw[row.row] != 0 && context.emitter.params.type == kRadial) {
        context.report.Approximated(std::string("min_radius ") +
                                    FormatNumber(RawToUnits(row.row, context.emitter.params.raw[row.row])) +
                                    " -> minRadius, the end radius");
    }
}

// The engine's emitter position on its own canvas becomes an offset from the frame's centre.
double CentreOffset(const PdFrame& frame, bool vertical, double position) {
    if (!vertical) return position - frame.width / 2;
    return frame.yUp ? frame.height / 2 - position : position - frame.height / 2;
}

void ImportSourcePosition(const MappingRow& row, Context& context) {
    if (!context.config.Has(row.key)) {
        StoreValue(context, row.key, row.row, 0);
        return;
    }
    const double position = Number(context, row.key);
    const double offset = CentreOffset(context.frame, row.row == kOffsetY, position);
    StoreValue(context, row.key, row.row, offset);
    if (offset != 0) {
        context.report.Approximated(Describe(row.key, position) + " -> offset " + FormatNumber(offset) +
                                    " from the centre of a " + std::to_string(context.frame.width) + " x " +
                                    std::to_string(context.frame.height) + " frame");
    }
}

void ExportSourcePosition(const MappingRow& row, ExportContext& context) {
    const double offset = context.emitter.params.raw[row.row];
    const double position =
        row.row == kOffsetX ? context.frame.width / 2 + offset : context.frame.height / 2 - offset;
    context.config.Set(row.key, position);
}

void ImportType(const MappingRow& row, Context& context) {
    const double type = Number(context, row.key);
    if (type != 0 && type != 1) throw std::runtime_error("emitterType " + FormatNumber(type) + " is neither 0 nor 1");
    context.emitter.params.type = type == 1 ? kRadial : kGravity;
}

void ExportType(const MappingRow& row, ExportContext& context) {
    context.config.Set(row.key, static_cast<double>(context.emitter.params.type));
}

constexpr double kGlOne = 1, kGlSrcAlpha = 770, kGlOneMinusSrcAlpha = 771;

// Source 1 or SRC_ALPHA over ONE adds light; over ONE_MINUS_SRC_ALPHA it covers. Every other pair
// is drawn normally and reported.
void ImportBlend(const MappingRow& row, Context& context) {
    const double source = Number(context, row.key);
    const double destination = Number(context, "blendFuncDestination");
    const bool knownSource = source == kGlOne || source == kGlSrcAlpha;
    if (knownSource && destination == kGlOne) {
        context.emitter.params.blendingMode = kAdditive;
        return;
    }
    context.emitter.params.blendingMode = kNormal;
    if (!(knownSource && destination == kGlOneMinusSrcAlpha)) {
        context.report.Dropped("blend function (" + FormatNumber(source) + ", " + FormatNumber(destination) +
                               ") -> normal blending");
    }
}

void ExportBlend(const MappingRow& row, ExportContext& context) {
    context.config.Set(row.key, kGlSrcAlpha);
    context.config.Set("blendFuncDestination",
                       context.emitter.params.blendingMode == kAdditive ? kGlOne : kGlOneMinusSrcAlpha);
}

void ImportName(const MappingRow& row, Context& context) {
    const std::optional<std::string> name = context.config.Text(row.key);
    std::u16string wide;
    if (name && vesk::MultiByteToWide(wide, *name, true)) context.emitter.params.name = wide;
}

void ExportNothing(const MappingRow&, ExportContext&) {}

// The engines turn the sprite towards the launch direction once, at birth; orv keeps turning it
// along the motion, a quarter turn further.
void ImportRotationIsDir(const MappingRow& row, Context& context) {
    const bool on = Number(context, row.key) != 0;
    context.emitter.params.textureDirectionBefore = on;
    if (on && context.active) context.report.Approximated("rotationIsDir -> sprites follow their motion");
}

void ExportRotationIsDir(const MappingRow& row, ExportContext& context) {
    context.config.Set(row.key, context.emitter.params.textureDirectionBefore);
    if (context.emitter.params.textureDirectionBefore) {
        context.report.Approximated("texture_direction_before -> rotationIsDir (turned once, at birth)");
    }
}

// orv emits max particles / lifespan per second, as the engines do unless a file names its own rate.
void ImportEmissionRate(const MappingRow& row, Context& context) {
    const double rate = Number(context, row.key);
    const double life = LifespanForRates(context.config);
    const double implied = life > 0 ? Number(context, "maxParticles") / life : 0;
    if (rate != 0 && std::abs(rate - implied) > 1e-3 * std::max(1.0, implied)) {
        context.report.Dropped(Describe(row.key, rate) + " (orv emits maxParticles / lifespan = " +
                               FormatNumber(implied) + " per second)");
    }
}

// The table: every key of the Particle Designer model and what becomes of it, in both directions.
// Rows are applied in this order; a finish size of -1 overrides its spread, so it comes after it.
constexpr double kNoNeutral = 0;
// clang-format off
const std::array kMappingTable = {
    MappingRow{"configName",                 kNoRow,               Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportName, ExportNothing},
    MappingRow{"emitterType",                kNoRow,               Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportType, ExportType},
    MappingRow{"maxParticles",               kMaxParticles,        Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"particleLifespan",           kLifespan,            Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"particleLifespanVariance",   kLifespanVariance,    Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startParticleSize",          kStartSize,           Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startParticleSizeVariance",  kStartSizeVariance,   Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishParticleSizeVariance", kFinishSizeVariance,  Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishParticleSize",         kFinishSize,          Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportFinishSize, ExportDirect},
    MappingRow{"angle",                      kEmitterAngle,        Rule::kDirection, Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"angleVariance",              kEmitterAngleVariance,Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"rotationStart",              kStartRot,            Rule::kSpin,      Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"rotationStartVariance",      kStartRotVariance,    Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"rotationEnd",                kRotPerSec,           Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportRotationEnd, ExportRotationEnd},
    MappingRow{"rotationEndVariance",        kRotPerSecVariance,   Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportRotationEnd, ExportRotationEnd},
    MappingRow{"sourcePositionVariancex",    kXVariance,           Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"sourcePositionVariancey",    kYVariance,           Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"sourcePositionx",            kOffsetX,             Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportSourcePosition, ExportSourcePosition},
    MappingRow{"sourcePositiony",            kOffsetY,             Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportSourcePosition, ExportSourcePosition},
    MappingRow{"duration",                   kDuration,            Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportDuration, ExportDuration},
    MappingRow{"speed",                      kSpeed,               Rule::kDirect,    Mode::kGravity, kNoNeutral, nullptr, nullptr},
    MappingRow{"speedVariance",              kSpeedVariance,       Rule::kSpread,    Mode::kGravity, kNoNeutral, nullptr, nullptr},
    MappingRow{"gravityx",                   kXGravity,            Rule::kDirect,    Mode::kGravity, kNoNeutral, nullptr, nullptr},
    MappingRow{"gravityy",                   kYGravity,            Rule::kMirrored,  Mode::kGravity, kNoNeutral, nullptr, nullptr},
    MappingRow{"tangentialAcceleration",     kTanAcc,              Rule::kMirrored,  Mode::kGravity, kNoNeutral, nullptr, nullptr},
    MappingRow{"tangentialAccelVariance",    kTanAccVar,           Rule::kSpread,    Mode::kGravity, kNoNeutral, nullptr, nullptr},
    MappingRow{"radialAcceleration",         kRadAcc,              Rule::kDirect,    Mode::kGravity, kNoNeutral, nullptr, nullptr},
    MappingRow{"radialAccelVariance",        kRadAccVar,           Rule::kSpread,    Mode::kGravity, kNoNeutral, nullptr, nullptr},
    MappingRow{"rotationIsDir",              kNoRow,               Rule::kOwn,       Mode::kGravity, kNoNeutral, ImportRotationIsDir, ExportRotationIsDir},
    MappingRow{"maxRadius",                  kMaxRadius,           Rule::kDirect,    Mode::kRadial,  kNoNeutral, nullptr, nullptr},
    MappingRow{"maxRadiusVariance",          kMaxRadiusVariance,   Rule::kSpread,    Mode::kRadial,  kNoNeutral, nullptr, nullptr},
    MappingRow{"minRadius",                  kMinRadius,           Rule::kOwn,       Mode::kRadial,  kNoNeutral, ImportMinRadius, ExportMinRadius},
    MappingRow{"rotatePerSecond",            kDegPerSec,           Rule::kMirrored,  Mode::kRadial,  kNoNeutral, nullptr, nullptr},
    MappingRow{"rotatePerSecondVariance",    kDegPerSecVar,        Rule::kSpread,    Mode::kRadial,  kNoNeutral, nullptr, nullptr},
    MappingRow{"startColorRed",              kStartColorR,         Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startColorGreen",            kStartColorG,         Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startColorBlue",             kStartColorB,         Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startColorAlpha",            kStartColorA,         Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishColorRed",             kFinishColorR,        Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishColorGreen",           kFinishColorG,        Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishColorBlue",            kFinishColorB,        Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishColorAlpha",           kFinishColorA,        Rule::kDirect,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startColorVarianceRed",      kStartColorRVar,      Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startColorVarianceGreen",    kStartColorGVar,      Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startColorVarianceBlue",     kStartColorBVar,      Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"startColorVarianceAlpha",    kStartColorAVar,      Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishColorVarianceRed",     kFinishColorRVar,     Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishColorVarianceGreen",   kFinishColorGVar,     Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishColorVarianceBlue",    kFinishColorBVar,     Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"finishColorVarianceAlpha",   kFinishColorAVar,     Rule::kSpread,    Mode::kBoth,    kNoNeutral, nullptr, nullptr},
    MappingRow{"blendFuncSource",            kNoRow,               Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportBlend, ExportBlend},
    MappingRow{"emissionRate",               kNoRow,               Rule::kOwn,       Mode::kBoth,    kNoNeutral, ImportEmissionRate, ExportNothing},
    MappingRow{"minRadiusVariance",          kNoRow,               Rule::kNone,      Mode::kRadial,  0,          nullptr, nullptr},
    MappingRow{"positionType",               kNoRow,               Rule::kNone,      Mode::kBoth,    0,          nullptr, nullptr},
    MappingRow{"yCoordFlipped",              kNoRow,               Rule::kNone,      Mode::kBoth,    1,          nullptr, nullptr},
    MappingRow{"absolutePosition",           kNoRow,               Rule::kNone,      Mode::kBoth,    0,          nullptr, nullptr},
};
// clang-format on

bool RowActive(const MappingRow& row, std::uint32_t type) {
    return row.mode == Mode::kBoth || (row.mode == Mode::kGravity) == (type == kGravity);
}

// The y axis is turned around before anything else: a y-down file's values map unchanged.
void ImportRow(const MappingRow& row, Context& context) {
    if (row.rule == Rule::kOwn) {
        row.importOwn(row, context);
        return;
    }
    if (row.rule == Rule::kNone) {
        // yCoordFlipped is honoured by turning the axis, not dropped.
        const bool orientation = std::string_view(row.key) == "yCoordFlipped";
        const double value = context.config.NumberOr(row.key, row.neutral);
        if (!orientation && value != row.neutral && context.active) context.report.Dropped(Describe(row.key, value));
        return;
    }
    double value = Number(context, row.key);
    switch (row.rule) {
        case Rule::kSpread:
            value = std::abs(value);
            break;
        case Rule::kMirrored:
            value = Mirror(context.frame, value);
            break;
        case Rule::kDirection:
            value = WrapDegrees(Mirror(context.frame, value));
            break;
        case Rule::kSpin:
            value = WrapDegrees(value);
            break;
        default:
            break;
    }
    StoreValue(context, row.key, row.row, value);
}

void ExportRow(const MappingRow& row, ExportContext& context) {
    if (row.rule == Rule::kOwn) {
        row.exportOwn(row, context);
        return;
    }
    if (row.rule == Rule::kNone) {
        context.config.Set(row.key, row.neutral);
        return;
    }
    double value = RawToUnits(row.row, context.emitter.params.raw[row.row]);
    // Exports are written y-up.
    if (row.rule == Rule::kMirrored) value = -value;
    if (row.rule == Rule::kDirection) value = WrapDegrees(-value);
    context.config.Set(row.key, value);
}

// orv rows the engines have no key for, reported on export when they differ from their default.
constexpr std::array kOrvOnlyRows = {kHorAmplitude, kHorAmplitudeVar, kHorCycle,     kHorCycleVar, kVerAmplitude,
                                     kVerAmplitudeVar, kVerCycle,     kVerCycleVar, kDelay};

}  // namespace

bool PdYAxisUp(const PdConfig& config, bool missingMeansUp) {
    const std::optional<double> flipped = config.Number("yCoordFlipped");
    if (!flipped) return missingMeansUp;
    return *flipped != -1;
}

void PdToEmitter(const PdConfig& config, const PdFrame& frame, Emitter& emitter, ConversionReport& report) {
    ResetEmitterToDefaults(emitter);
    // The type decides which keys count, so it is read first.
    Context typeContext{config, frame, emitter, report, true};
    ImportType(kMappingTable[1], typeContext);
    const bool truncatingRadii = config.Text("configName").value_or("") != "" && emitter.params.type == kRadial;
    for (const MappingRow& row : kMappingTable) {
        Context context{config, frame, emitter, report, RowActive(row, emitter.params.type)};
        ImportRow(row, context);
        // cocos2d-x reads these three as integers in files that carry a configName.
        const std::string_view key(row.key);
        if (truncatingRadii && (key == "maxRadius" || key == "minRadius" || key == "rotatePerSecond")) {
            std::int32_t& raw = emitter.params.raw[row.row];
            const std::int32_t step = static_cast<std::int32_t>(Power10(Param(row.row).decimals));
            const std::int32_t cut = raw / step * step;
            if (cut != raw) {
                report.Approximated(std::string(row.key) + " read as a whole number, as cocos2d-x reads it");
            }
            raw = cut;
        }
    }
    ApplyRawValues(emitter);
}

PdConfig EmitterToPd(const Emitter& emitter, const std::string& name, const PdFrame& frame, ConversionReport& report) {
    PdConfig config;
    ExportContext context{emitter, frame, config, report};
    for (const MappingRow& row : kMappingTable) ExportRow(row, context);
    config.Set("configName", name);
    for (std::size_t row : kOrvOnlyRows) {
        const std::int32_t raw = emitter.params.raw[row];
        if (raw != Param(row).DefaultRaw()) report.Dropped(std::string(Param(row).key) + " " + FormatNumber(RawToUnits(row, raw)));
    }
    if (emitter.params.colorConstant) report.Dropped("color_constant");
    if (!emitter.params.enableColor) report.Dropped("enable_color off");
    if (emitter.params.sortType != kSortNone) report.Dropped("sort_type");
    if (emitter.texture.FrameCount() > 1) report.Dropped("texture split into frames (the whole image is used)");
    return config;
}

}  // namespace orv
