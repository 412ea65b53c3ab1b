// Reading .plist and .pex files as real ones vary, and what becomes of each value; an orv emitter
// written as .plist or .pex and read back keeps every directly mapped value; bad files of every
// importer are refused with a reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "interop/pd_mapping.h"
#include "interop/pex_file.h"
#include "interop/plist_file.h"
#include "tests/interop/interop_test_support.h"

namespace orv::test {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// A gravity emitter in the spelling Particle Designer writes.
Entries FountainEntries() {
    return {{"configName", Text("fountain")}, {"emitterType", Integer(0)}, {"maxParticles", Integer(120)},
            {"particleLifespan", Real(1.5)}, {"particleLifespanVariance", Real(0.25)},
            {"startParticleSize", Real(32)}, {"startParticleSizeVariance", Real(4)},
            {"finishParticleSize", Real(8)}, {"finishParticleSizeVariance", Real(2)}, {"angle", Real(60)},
            {"angleVariance", Real(10)}, {"speed", Real(150)}, {"speedVariance", Real(30)},
            {"gravityx", Real(5)}, {"gravityy", Real(-100)}, {"tangentialAcceleration", Real(12)},
            {"radialAcceleration", Real(-20)}, {"sourcePositionx", Real(400)}, {"sourcePositiony", Real(300)},
            {"sourcePositionVariancex", Real(6)}, {"sourcePositionVariancey", Real(-3)},
            {"startColorRed", Real(1)}, {"startColorGreen", Real(0.5)}, {"startColorBlue", Real(0.25)},
            {"startColorAlpha", Real(0.75)}, {"finishColorAlpha", Real(0)}, {"blendFuncSource", Integer(770)},
            {"blendFuncDestination", Integer(1)}, {"duration", Real(-1)}, {"rotationStart", Real(-30)},
            {"rotationStartVariance", Real(5)}, {"rotationEnd", Real(-30)},
            // Radial values a gravity emitter carries: stored, never reported.
            {"maxRadius", Real(9999)}, {"rotatePerSecond", Real(-5000)}};
}

// What the fountain becomes: the y axis turned down, directions mirrored.
void ExpectFountain(const Emitter& e) {
    EXPECT_EQ(e.params.name, u"fountain");
    EXPECT_EQ(e.params.type, kGravity);
    EXPECT_EQ(e.params.blendingMode, kAdditive);
    ExpectRawValues(e, {{kMaxParticles, 120},      {kLifespan, 15},      {kLifespanVariance, 3},
                        {kStartSize, 320},         {kStartSizeVariance, 40}, {kFinishSize, 80},
                        {kFinishSizeVariance, 20}, {kEmitterAngle, 3000}, {kEmitterAngleVariance, 100},
                        {kSpeed, 1500},            {kSpeedVariance, 300}, {kXGravity, 50},
                        {kYGravity, 1000},         {kTanAcc, -120},       {kRadAcc, -200},
                        {kOffsetX, 0},             {kOffsetY, 0},         {kXVariance, 60},
                        {kYVariance, 30},          {kStartColorR, 1000},  {kStartColorG, 500},
                        {kStartColorB, 250},       {kStartColorA, 750},   {kFinishColorA, 0},
                        {kDuration, 0},            {kStartRot, 3300},     {kStartRotVariance, 50},
                        {kRotPerSec, 0},           {kMaxRadius, 5000},    {kDegPerSec, 3600}});
}

struct Variation {
    const char* name;
    PlistOptions options;
    void (*change)(Entries&);
};

const Variation kVariations[] = {
    {"as written", {}, [](Entries&) {}},
    {"no declaration", {false, false}, [](Entries&) {}},
    {"CRLF", {true, true}, [](Entries&) {}},
    {"keys in reverse order", {}, [](Entries& entries) { std::reverse(entries.begin(), entries.end()); }},
    {"integers as reals, reals as integers and strings, keys in other case", {}, [](Entries& entries) {
         for (auto& [key, value] : entries) {
             if (value.rfind("<integer>", 0) == 0)
                 value = "<real>" + value.substr(9, value.size() - 19) + ".0</real>";
             if (key == "maxParticles") value = Text(" 120 ");
             if (key == "startParticleSize") value = Integer(32);
             if (key == "finishParticleSizeVariance") key = "FinishParticleSizeVariance";
             if (key == "particleLifespan") key = "particleLifeSpan";
         }
     }}};

TEST(PlistImport, RealFilesVaryButMeanTheSame) {
    TempFolder folder;
    for (const Variation& variation : kVariations) {
        SCOPED_TRACE(variation.name);
        Entries entries = FountainEntries();
        variation.change(entries);
        const ImportedEmitters imported = ImportText(folder, "fountain.plist", PlistText(entries, variation.options));
        ASSERT_EQ(imported.emitters.size(), 1u);
        ExpectFountain(*imported.emitters[0]);
        // Exact mapping: nothing to report (the rotation does not change, the source position is the centre).
        EXPECT_TRUE(imported.report.Empty()) << imported.report.Text();
    }
}

TEST(ImportParticleFile, BadFilesAreRefusedWithAReason) {
    TempFolder folder;
    const struct {
        const char* file;
        std::string text;
        const char* reason;
    } cases[] = {
        {"binary.plist", "bplist00\xd1\x01\x02", "binary property lists"},
        {"malformed.plist", "<plist><dict><key>a</key><real>1</real></plist>", "malformed"},
        {"array.plist", "<plist version=\"1.0\"><array/></plist>", "no root <dict>"},
        {"text.plist", PlistText({{"maxParticles", "<real>many</real>"}}), "not a number"},
        {"string.plist", PlistText({{"speed", Text("fast")}}), "not a finite number"},
        {"key.plist", "<plist><dict><key>speed</key></dict></plist>", "has no value"},
        {"type.plist", PlistText({{"emitterType", Integer(2)}}), "emitterType 2"},
        {"empty.plist", "", "malformed"},
        {"plist.pex", "<plist/>", ""},
        {"cut.pex", "<particleEmitterConfig><speed value=\"x\"/>", ""},
        {"speed.pex", "<particleEmitterConfig><speed value=\"fast\"/></particleEmitterConfig>", ""},
        {"empty.p", "", "without emitters"},
        {"cut.p", "name\n- Delay -\nactive: false\n- Duration -\nlowMin: 1\n", "the file ends too early"},
        {"text.p", "name\n- Delay -\nactive: false\n- Duration -\nlowMin: many\n", "\"many\" is not a number"},
        {"count.p",
         "name\n- Delay -\nactive: false\n- Duration -\nlowMin: 1\nlowMax: 1\n- Count -\nmin: 0\nmax: 5\n"
         "- Emission -\nlowMin: 0\nlowMax: 0\nhighMin: 0\nhighMax: 0\nrelative: false\nscalingCount: 999999999\n",
         "impossible count 999999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        try {
            ImportText(folder, c.file, c.text);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

// Source 1 or SRC_ALPHA over ONE adds light, over ONE_MINUS_SRC_ALPHA covers; other pairs are reported.
TEST(PlistImport, BlendPairs) {
    TempFolder folder;
    for (const auto& [source, destination, mode, reported] :
         {std::tuple{770, 1, kAdditive, false}, {1, 1, kAdditive, false}, {770, 771, kNormal, false},
          {1, 771, kNormal, false}, {774, 771, kNormal, true}, {0, 0, kNormal, true}}) {
        SCOPED_TRACE(std::to_string(source) + "," + std::to_string(destination));
        const Entries entries = {{"blendFuncSource", Integer(source)}, {"blendFuncDestination", Integer(destination)}};
        const ImportedEmitters imported = ImportText(folder, "b.plist", PlistText(entries));
        EXPECT_EQ(imported.emitters[0]->params.blendingMode, mode);
        EXPECT_EQ(Reports(imported.report, "blend function"), reported);
    }
}

// Values that need more than a unit change: what they become, and what the report says of them.
TEST(PlistImport, SpecialValuesAreMappedAndReported) {
    TempFolder folder;
    const struct {
        const char* what;
        Entries entries;
        RawValues raw;
        std::vector<const char*> reported, notReported;
    } cases[] = {
        {"outside orv's ranges: limited",
         {{"maxParticles", Real(1e12)}, {"speed", Real(-40)}, {"startColorRed", Real(3)},
          {"sourcePositionx", Real(1e300)}, {"particleLifespan", Real(1)}},
         {{kMaxParticles, 5000}, {kSpeed, 0}, {kStartColorR, 1000}, {kOffsetX, 1000}},
         {"maxParticles", "speed -40", "startColorRed 3", "sourcePositionx"},
         {}},
        // Finish size -1 keeps the start size; duration 0 is orv's shortest; the end rotation
        // becomes a speed, (70 - 10) / 2 s, clockwise on screen in both.
        {"special values",
         {{"startParticleSize", Real(40)}, {"startParticleSizeVariance", Real(6)}, {"finishParticleSize", Real(-1)},
          {"duration", Real(0)}, {"particleLifespan", Real(2)}, {"rotationStart", Real(10)},
          {"rotationEnd", Real(70)}, {"emissionRate", Real(500)}, {"maxParticles", Integer(100)},
          {"positionType", Integer(2)}},
         {{kFinishSize, 400}, {kFinishSizeVariance, 60}, {kDuration, 1}, {kRotPerSec, 300}},
         {"finishParticleSize -1", "duration 0", "rotationEnd 70", "emissionRate 500", "positionType 2"},
         {}},
        // With a configName, cocos2d-x reads the radius and the turning speed as whole numbers;
        // the gravity speed is out of range but not a radial emitter's concern.
        {"radial",
         {{"configName", Text("vortex")}, {"emitterType", Integer(1)}, {"maxRadius", Real(73.42)},
          {"maxRadiusVariance", Real(5.5)}, {"minRadius", Real(0)}, {"rotatePerSecond", Real(90.7)},
          {"angle", Real(90)}, {"speed", Real(1e6)}},
         {{kMaxRadius, 730}, {kMaxRadiusVariance, 55}, {kDegPerSec, -900}, {kEmitterAngle, 2700}},
         {"maxRadius read as a whole number"},
         {"speed"}},
        {"downward y axis taken as it is",
         {{"yCoordFlipped", Integer(-1)}, {"angle", Real(60)}, {"gravityy", Real(-100)},
          {"tangentialAcceleration", Real(12)}, {"sourcePositiony", Real(100)}},
         {{kEmitterAngle, 600}, {kYGravity, -1000}, {kTanAcc, 120}, {kOffsetY, -200}},
         {},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ImportedEmitters imported = ImportText(folder, "s.plist", PlistText(c.entries));
        ExpectRawValues(*imported.emitters[0], c.raw);
        for (const char* note : c.reported) EXPECT_TRUE(Reports(imported.report, note)) << note;
        for (const char* note : c.notReported) EXPECT_FALSE(Reports(imported.report, note)) << note;
    }
}

TEST(PexImport, ElementsAttributesAndSpellings) {
    TempFolder folder;
    // An old Starling file: texture first, no declaration, no yCoordFlipped (y down), CRLF,
    // the capitalised FinishParticleSizeVariance, empty open/close pairs.
    const std::string text =
        "<particleEmitterConfig>\r\n"
        "  <texture name=\"missing.png\"/>\r\n"
        "  <sourcePosition x=\"300.00\" y=\"250.00\"/>\r\n"
        "  <sourcePositionVariance x=\"7.00\" y=\"8.00\"/>\r\n"
        "  <speed value=\"90.00\"></speed>\r\n"
        "  <particleLifespan value=\"1.2500\"/>\r\n"
        "  <particleLifeSpanVariance value=\"0.5000\"/>\r\n"
        "  <angle value=\"270.00\"/>\r\n"
        "  <gravity x=\"0.00\" y=\"40.00\"/>\r\n"
        "  <startColor red=\"1.00\" green=\"0.20\" blue=\"0.10\" alpha=\"0.80\"/>\r\n"
        "  <finishColorVariance red=\"0.10\" green=\"0.00\" blue=\"0.00\" alpha=\"0.05\"/>\r\n"
        "  <maxParticles value=\"64\"/>\r\n"
        "  <FinishParticleSizeVariance value=\"3.00\"/>\r\n"
        "  <blendFuncSource value=\"1\"/>\r\n"
        "  <blendFuncDestination value=\"771\"/>\r\n"
        "  <somethingNew value=\"1\"/>\r\n"
        "</particleEmitterConfig>\r\n";
    const ImportedEmitters imported = ImportText(folder, "old.pex", text);
    const Emitter& e = *imported.emitters[0];
    EXPECT_EQ(e.params.name, u"old");
    EXPECT_EQ(e.params.blendingMode, kNormal);
    ExpectRawValues(e, {{kOffsetX, -100},        {kOffsetY, -50},        {kXVariance, 70},       {kYVariance, 80},
                        {kSpeed, 900},           {kLifespan, 13},        {kLifespanVariance, 5}, {kEmitterAngle, 2700},
                        {kYGravity, 400},        {kStartColorR, 1000},   {kStartColorG, 200},    {kStartColorA, 800},
                        {kFinishColorRVar, 100}, {kFinishColorAVar, 50}, {kMaxParticles, 64},
                        {kFinishSizeVariance, 30}});
    EXPECT_TRUE(Reports(imported.report, "texture \"missing.png\" not found"));
}

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
            const PdConfig config =
                format.read(format.write(EmitterToPd(original, "round", PdFrame{800, 600, true}, report)));
            Emitter back;
            PdToEmitter(config, PdFrame{800, 600, PdYAxisUp(config, format.missingYMeansUp)}, back, report);
            for (std::size_t row : kMappedRows) EXPECT_EQ(back.params.raw[row], original.params.raw[row]) << Param(row).key;
            // Only the .plist has a name key.
            EXPECT_EQ(std::tuple(back.params.type, back.params.blendingMode, back.params.name),
                      std::tuple(original.params.type, original.params.blendingMode,
                                 std::u16string(format.read == ReadPlist ? u"round" : u"")));
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
    for (const char* note : {"hor_amplitude 12", "delay 0.5", "rot_per_sec 30", "color_constant"})
        EXPECT_TRUE(Reports(report, note)) << note << "\n" << report.Text();
    // The turning speed becomes an end rotation over the default 2 s lifespan.
    EXPECT_DOUBLE_EQ(*config.Number("rotationEnd"), 60.0);
}

}  // namespace
}  // namespace orv::test
