// An orv emitter written as .plist or .pex and read back keeps every directly mapped value.
#include <gtest/gtest.h>

#include "interop/pd_mapping.h"
#include "interop/pex_file.h"
#include "interop/plist_file.h"
#include "tests/interop/interop_test_support.h"

namespace orv::test {
namespace {

// Rows the engines hold with the same meaning (or one turned around with the y axis).
constexpr std::size_t kMappedRows[] = {
    kMaxParticles, kLifespan,      kLifespanVariance, kStartSize,     kStartSizeVariance, kFinishSize,
    kFinishSizeVariance, kEmitterAngle, kEmitterAngleVariance, kStartRot, kStartRotVariance, kRotPerSec,
    kXVariance,    kYVariance,     kSpeed,            kSpeedVariance, kXGravity,          kYGravity,
    kTanAcc,       kTanAccVar,     kRadAcc,           kRadAccVar,     kMaxRadius,         kMaxRadiusVariance,
    kMinRadius,    kDegPerSec,     kDegPerSecVar,     kOffsetX,       kOffsetY,           kDuration,
    kStartColorR,  kStartColorG,   kStartColorB,      kStartColorA,   kFinishColorR,      kFinishColorG,
    kFinishColorB, kFinishColorA,  kStartColorRVar,   kStartColorGVar, kStartColorBVar,   kStartColorAVar,
    kFinishColorRVar, kFinishColorGVar, kFinishColorBVar, kFinishColorAVar};

// Every mapped row at a random raw value within its range (seeded, so each run is the same).
void Randomise(Emitter& emitter, std::uint32_t seed) {
    std::uint32_t state = seed;
    for (std::size_t row : kMappedRows) {
        state = state * 1664525u + 1013904223u;
        const ParamDescriptor& param = Param(row);
        const std::int64_t span = std::int64_t{param.MaxRaw()} - param.MinRaw() + 1;
        emitter.params.raw[row] = static_cast<std::int32_t>(param.MinRaw() + static_cast<std::int64_t>(state >> 8) % span);
    }
    // The emitter-type-specific rows are read back as whole numbers by the engines only with a
    // configName in radial files, so those use whole values.
    for (std::size_t row : {kMaxRadius, kMinRadius, kDegPerSec}) emitter.params.raw[row] -= emitter.params.raw[row] % 10;
    emitter.params.raw[kLifespan] = std::max(emitter.params.raw[kLifespan], 1);
    emitter.params.raw[kEmitterAngle] %= 3600;  // 360 degrees is 0 again
    emitter.params.raw[kStartRot] %= 3600;
    emitter.params.type = seed % 2 ? kRadial : kGravity;
    emitter.params.blendingMode = seed % 3 ? kAdditive : kNormal;
    ApplyRawValues(emitter);
}

struct Format {
    const char* name;
    std::string (*write)(const PdConfig&);
    PdConfig (*read)(std::string_view);
    bool missingYMeansUp;
};

const Format kFormats[] = {{"plist", WritePlist, ReadPlist, true}, {"pex", WritePex, ReadPex, false}};

TEST(PdRoundTrip, EveryDirectlyMappedValueComesBack) {
    for (const Format& format : kFormats) {
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            SCOPED_TRACE(std::string(format.name) + " seed " + std::to_string(seed));
            Emitter original;
            Randomise(original, seed);
            ConversionReport report;
            const PdFrame frame{800, 600, true};
            const std::string text = format.write(EmitterToPd(original, "round", frame, report));
            const PdConfig config = format.read(text);
            Emitter back;
            ConversionReport backReport;
            PdToEmitter(config, PdFrame{800, 600, PdYAxisUp(config, format.missingYMeansUp)}, back, backReport);
            for (std::size_t row : kMappedRows) EXPECT_EQ(back.params.raw[row], original.params.raw[row]) << Param(row).key;
            EXPECT_EQ(back.params.type, original.params.type);
            EXPECT_EQ(back.params.blendingMode, original.params.blendingMode);
            // Only the .plist has a name key.
            EXPECT_EQ(back.params.name, format.read == ReadPlist ? u"round" : u"");
        }
    }
}

TEST(PdRoundTrip, ExportReportsWhatTheEnginesCannotHold) {
    Emitter emitter;
    emitter.params.raw[kHorAmplitude] = 120;
    emitter.params.raw[kDelay] = 50;
    emitter.params.raw[kRotPerSec] = 300;
    emitter.params.colorConstant = true;
    ConversionReport report;
    const PdConfig config = EmitterToPd(emitter, "x", PdFrame{}, report);
    for (const char* note : {"hor_amplitude 12", "delay 0.5", "rot_per_sec 30", "color_constant"}) {
        EXPECT_TRUE(Reports(report, note)) << note << "\n" << report.Text();
    }
    // The turning speed becomes an end rotation over the default 2 s lifespan.
    EXPECT_DOUBLE_EQ(*config.Number("rotationEnd"), 60.0);
}

}  // namespace
}  // namespace orv::test
