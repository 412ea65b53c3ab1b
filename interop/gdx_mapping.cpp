#include "interop/gdx_mapping.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "interop/row_values.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

constexpr double kPi = 3.141592653589793;

// A value's centre and its ± spread.
struct Spread {
    double mid = 0;
    double half = 0;
};

Spread Low(const GdxRanged& value) {
    return {(value.lowMin + value.lowMax) / 2, std::abs(value.lowMax - value.lowMin) / 2};
}

// The value where its curve is at `level`: low + (relative ? high : high - low) * level, with the
// spreads of the two random draws added.
Spread At(const GdxScaled& value, double level) {
    const Spread low = Low(value);
    const Spread high{(value.highMin + value.highMax) / 2, std::abs(value.highMax - value.highMin) / 2};
    if (value.relative) return {low.mid + high.mid * level, low.half + high.half * std::abs(level)};
    return {low.mid + (high.mid - low.mid) * level, low.half * std::abs(1 - level) + high.half * std::abs(level)};
}

double StartLevel(const GdxScaled& value) { return GdxCurve(value.timeline, value.scaling, 0); }
double EndLevel(const GdxScaled& value) { return GdxCurve(value.timeline, value.scaling, 1); }

bool Constant(const GdxScaled& value) { return StartLevel(value) == EndLevel(value) && value.scaling.size() <= 2; }

class GdxImport {
public:
    GdxImport(const GdxEmitter& source, Emitter& emitter, ConversionReport& report)
        : source_(source), emitter_(emitter), report_(report) {}

    void Run() {
        std::u16string name;
        if (vesk::MultiByteToWide(name, source_.name, true)) emitter_.params.name = name;
        Timing();
        Shape();
        Size();
        Motion();
        Rotation();
        Colour();
        Options();
        ApplyRawValues(emitter_);
    }

private:
    void Store(std::size_t row, double value, const char* what) { StoreRowValue(emitter_, row, value, what, &report_); }

    // A particle value over the life: its start and finish, with a note when the curve bends.
    void CurveNote(const GdxScaled& value, const char* what) {
        if (value.scaling.size() > 2) {
            report_.Approximated(std::string(what) + " curve of " + std::to_string(value.scaling.size()) +
                                 " points -> start and finish values");
        }
    }

    void Timing() {
        if (source_.delay.active) {
            const Spread delay = Low(source_.delay);
            Store(kDelay, delay.mid / 1000, "delay");
            if (delay.half != 0) report_.Approximated("delay range -> its middle");
        }
        const Spread duration = Low(source_.duration);
        if (source_.continuous) {
            Store(kDuration, 0, "duration");
        } else {
            Store(kDuration, std::max(duration.mid / 1000, RowUnits(kDuration, 1)), "duration");
            report_.Approximated("not continuous -> the emitter starts again once its particles died");
        }

        const Spread life = At(source_.life, StartLevel(source_.life));
        Store(kLifespan, life.mid / 1000, "life");
        Store(kLifespanVariance, life.half / 1000, "life range");
        if (!Constant(source_.life)) report_.Approximated("life over the emitter's cycle -> its start value");
        if (source_.lifeOffset.active) report_.Dropped("life offset");

        // orv emits max particles / lifespan per second; libgdx emits at its own rate into a pool
        // of max particles. Keeping the steady number of particles keeps the density.
        const double emission = At(source_.emission, StartLevel(source_.emission)).mid;
        const double lifespan = std::max(0.01, life.mid / 1000);
        const double steady = std::min<double>(source_.countMax, std::round(emission * lifespan));
        Store(kMaxParticles, steady, "count max");
        if (steady != source_.countMax) {
            report_.Approximated("emission " + FormatNumber(emission) + "/s with count max " +
                                 std::to_string(source_.countMax) + " -> max particles " + FormatNumber(steady));
        }
        if (!Constant(source_.emission)) report_.Approximated("emission over the emitter's cycle -> its start value");
        if (source_.countMin > 0) report_.Dropped("count min " + std::to_string(source_.countMin));
    }

    void Shape() {
        for (const auto& [value, row, sign, what] :
             {std::tuple{&source_.xOffset, kOffsetX, 1.0, "x offset"}, std::tuple{&source_.yOffset, kOffsetY, -1.0, "y offset"}}) {
            if (!value->active) continue;
            const Spread offset = Low(*value);
            Store(row, sign * offset.mid, what);
            if (offset.half != 0) report_.Approximated(std::string(what) + " range -> its middle");
        }
        if (source_.shape == "square") {
            const Spread width = At(source_.spawnWidth, StartLevel(source_.spawnWidth));
            const Spread height = At(source_.spawnHeight, StartLevel(source_.spawnHeight));
            Store(kXVariance, width.mid / 2, "spawn width");
            Store(kYVariance, height.mid / 2, "spawn height");
            if (width.half != 0 || height.half != 0 || !Constant(source_.spawnWidth) || !Constant(source_.spawnHeight)) {
                report_.Approximated("changing spawn size -> its start value");
            }
        } else if (source_.shape != "point") {
            report_.Dropped("spawn shape " + source_.shape + " (particles start at one point)");
        }
    }

    void Size() {
        const Spread start = At(source_.xScale, StartLevel(source_.xScale));
        const Spread finish = At(source_.xScale, EndLevel(source_.xScale));
        Store(kStartSize, start.mid, "scale");
        Store(kStartSizeVariance, start.half, "scale range");
        Store(kFinishSize, finish.mid, "scale");
        Store(kFinishSizeVariance, finish.half, "scale range");
        CurveNote(source_.xScale, "scale");
        if (source_.yScale.active) report_.Dropped("y scale (sprites keep their proportions)");
    }

    // Velocity, angle, wind and gravity. Wind and gravity are added speeds in libgdx, not
    // accelerations, so with constant values they only turn and stretch the launch velocity.
    void Motion() {
        if (!source_.velocity.active) {
            Store(kSpeed, 0, "velocity");
            Store(kSpeedVariance, 0, "velocity");
            return;
        }
        const Spread speed = At(source_.velocity, StartLevel(source_.velocity));
        const Spread angle = source_.angle.active ? At(source_.angle, StartLevel(source_.angle)) : Spread{};
        CurveNote(source_.velocity, "velocity");
        if (!Constant(source_.velocity)) report_.Approximated("velocity over the life -> its start value");
        if (source_.angle.active && !Constant(source_.angle)) report_.Approximated("angle over the life -> its start value");

        double vx = speed.mid * std::cos(angle.mid * kPi / 180);
        double vy = speed.mid * std::sin(angle.mid * kPi / 180);
        for (const auto& [value, axis, what] :
             {std::tuple{&source_.wind, &vx, "wind"}, std::tuple{&source_.gravity, &vy, "gravity"}}) {
            if (!value->active) continue;
            const double added = At(*value, StartLevel(*value)).mid;
            if (added == 0) continue;
            *axis += added;
            report_.Approximated(std::string(what) + " " + FormatNumber(added) +
                                 " (an added speed) -> folded into the launch speed and angle");
        }
        // y up in libgdx, down in orv.
        Store(kSpeed, std::hypot(vx, vy), "velocity");
        Store(kSpeedVariance, speed.half, "velocity range");
        Store(kEmitterAngle, WrapDegrees(-std::atan2(vy, vx) * 180 / kPi), "angle");
        Store(kEmitterAngleVariance, angle.half, "angle range");
    }

    // libgdx turns counter-clockwise on a y-up screen for positive values; orv's positive
    // rotation turns clockwise on its y-down screen: the sign flips with the axis.
    void Rotation() {
        if (source_.rotation.active) {
            const Spread start = At(source_.rotation, StartLevel(source_.rotation));
            const Spread finish = At(source_.rotation, EndLevel(source_.rotation));
            Store(kStartRot, WrapDegrees(-start.mid), "rotation");
            Store(kStartRotVariance, start.half, "rotation range");
            const double lifespan = std::max(0.01, RowUnits(kLifespan, emitter_.params.raw[kLifespan]));
            const double turn = finish.mid - start.mid;
            Store(kRotPerSec, -turn / lifespan, "rotation");
            if (turn != 0) report_.Approximated("rotation over the life -> a constant rotation speed");
            CurveNote(source_.rotation, "rotation");
        }
        emitter_.params.textureDirectionBefore = source_.aligned;
        if (source_.aligned) report_.Approximated("aligned -> sprites follow their motion");
    }

    void Colour() {
        const GdxGradient& tint = source_.tint;
        const std::size_t last = tint.timeline.size() - 1;
        const std::array<std::size_t, 3> startRows = {kStartColorR, kStartColorG, kStartColorB};
        const std::array<std::size_t, 3> finishRows = {kFinishColorR, kFinishColorG, kFinishColorB};
        for (std::size_t c = 0; c < 3; ++c) {
            Store(startRows[c], tint.colors[c], "tint");
            Store(finishRows[c], tint.colors[last * 3 + c], "tint");
        }
        if (tint.timeline.size() > 2) {
            report_.Approximated("tint of " + std::to_string(tint.timeline.size()) + " colours -> the first and the last");
        }
        // Transparency always moves by high - low.
        GdxScaled alpha = source_.transparency;
        alpha.relative = false;
        const Spread start = At(alpha, StartLevel(alpha));
        const Spread finish = At(alpha, EndLevel(alpha));
        Store(kStartColorA, start.mid, "transparency");
        Store(kStartColorAVar, start.half, "transparency range");
        Store(kFinishColorA, finish.mid, "transparency");
        Store(kFinishColorAVar, finish.half, "transparency range");
        CurveNote(alpha, "transparency");
        for (std::size_t row : {kStartColorRVar, kStartColorGVar, kStartColorBVar, kFinishColorRVar, kFinishColorGVar,
                                kFinishColorBVar}) {
            emitter_.params.raw[row] = 0;
        }
    }

    void Options() {
        emitter_.params.blendingMode = source_.additive ? kAdditive : kNormal;
        if (source_.premultipliedAlpha) report_.Dropped("premultipliedAlpha (colours taken as straight alpha)");
        if (source_.attached) report_.Dropped("attached (particles stay where they were born)");
        if (source_.imagePaths.size() > 1) {
            report_.Dropped("sprite mode " + source_.spriteMode + " over " + std::to_string(source_.imagePaths.size()) +
                            " images (only the first is used)");
        }
    }

    const GdxEmitter& source_;
    Emitter& emitter_;
    ConversionReport& report_;
};

}  // namespace

void GdxToEmitter(const GdxEmitter& source, Emitter& emitter, ConversionReport& report) {
    ResetEmitterToDefaults(emitter);
    // Everything the file does not say is off, as in the libgdx editor's new emitter.
    for (std::size_t row : {kXVariance, kYVariance, kXGravity, kYGravity, kTanAcc, kTanAccVar, kRadAcc, kRadAccVar,
                            kStartRot, kStartRotVariance, kRotPerSec, kRotPerSecVariance, kDelay, kOffsetX, kOffsetY}) {
        emitter.params.raw[row] = 0;
    }
    emitter.params.type = kGravity;
    GdxImport(source, emitter, report).Run();
}

}  // namespace orv
