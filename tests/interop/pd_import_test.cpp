// Reading .plist and .pex files as real ones vary, and what becomes of each value; an orv emitter
// written as .plist or .pex and read back keeps every directly mapped value; bad files of every
// importer are refused with a reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <tuple>

#include "interop/pd_mapping.h"
#include "interop/pex_file.h"
#include "interop/plist_file.h"
#include "tests/interop/interop_test_support.h"

namespace orv::test {
namespace {

// A gravity emitter in the spelling Particle Designer writes. The radial values it carries
// (maxRadius, rotatePerSecond) are stored, never reported.
Entries FountainEntries() {
    return Plist(
        "configName \"fountain\" emitterType 0i maxParticles 120i particleLifespan 1.5 "
        "particleLifespanVariance 0.25 startParticleSize 32 startParticleSizeVariance 4 finishParticleSize 8 "
        "finishParticleSizeVariance 2 angle 60 angleVariance 10 speed 150 speedVariance 30 gravityx 5 "
        "gravityy -100 tangentialAcceleration 12 radialAcceleration -20 sourcePositionx 400 "
        "sourcePositiony 300 sourcePositionVariancex 6 sourcePositionVariancey -3 startColorRed 1 "
        "startColorGreen 0.5 startColorBlue 0.25 startColorAlpha 0.75 finishColorAlpha 0 "
        "blendFuncSource 770i blendFuncDestination 1i duration -1 rotationStart -30 rotationStartVariance 5 "
        "rotationEnd -30 maxRadius 9999 rotatePerSecond -5000");
}

// What the fountain becomes: the y axis turned down, directions mirrored.
const char kFountainRaw[] =
    "max_particles 120 lifespan 15 lifespan_variance 3 start_size 320 start_size_variance 40 finish_size 80 "
    "finish_size_variance 20 emitter_angle 3000 emitter_angle_variance 100 speed 1500 speed_variance 300 "
    "x_gravity 50 y_gravity 1000 tan_acc -120 rad_acc -200 offset_x 0 offset_y 0 x_variance 60 y_variance 30 "
    "start_color_r 1000 start_color_g 500 start_color_b 250 start_color_a 750 finish_color_a 0 duration 0 "
    "start_rot 3300 start_rot_variance 50 rot_per_sec 0 max_radius 5000 deg_per_sec 3600";

// Integers as reals, reals as integers and strings, keys in another case.
void OtherSpellings(Entries& entries) {
    for (auto& [key, value] : entries) {
        if (value.rfind("<integer>", 0) == 0)
            value = "<real>" + value.substr(9, value.size() - 19) + ".0</real>";
        if (key == "maxParticles") value = Text(" 120 ");
        if (key == "startParticleSize") value = Integer(32);
        if (key == "finishParticleSizeVariance") key = "FinishParticleSizeVariance";
        if (key == "particleLifespan") key = "particleLifeSpan";
    }
}

struct Variation {
    const char* name;
    bool declaration, crlf, reversed, otherSpellings;
};

const Variation kVariations[] = {{"as written", true, false, false, false},
                                 {"no declaration", false, false, false, false},
                                 {"CRLF", true, true, false, false},
                                 {"keys in reverse order", true, false, true, false},
                                 {"other spellings", true, false, false, true}};

TEST(PlistImport, RealFilesVaryButMeanTheSame) {
    TempFolder folder;
    for (const Variation& variation : kVariations) {
        SCOPED_TRACE(variation.name);
        Entries entries = FountainEntries();
        if (variation.otherSpellings) OtherSpellings(entries);
        if (variation.reversed) std::reverse(entries.begin(), entries.end());
        const ImportedEmitters imported =
            ImportText(folder, "fountain.plist", PlistText(entries, variation.declaration, variation.crlf));
        ASSERT_EQ(imported.emitters.size(), 1u);
        const Emitter& e = *imported.emitters[0];
        EXPECT_EQ(std::tuple(e.params.name, e.params.type, e.params.blendingMode),
                  std::tuple(std::u16string(u"fountain"), kGravity, kAdditive));
        ExpectRawValues(e, kFountainRaw);
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
        {"text.plist", PlistText(Plist("maxParticles many")), "not a number"},
        {"string.plist", PlistText(Plist("speed \"fast\"")), "not a finite number"},
        {"key.plist", "<plist><dict><key>speed</key></dict></plist>", "has no value"},
        {"type.plist", PlistText(Plist("emitterType 2i")), "emitterType 2"},
        {"empty.plist", "", "malformed"},
        {"plist.pex", "<plist/>", ""},
        {"cut.pex", "<particleEmitterConfig><speed value=\"x\"/>", ""},
        {"speed.pex", "<particleEmitterConfig><speed value=\"fast\"/></particleEmitterConfig>", ""},
        {"empty.p", "", "without emitters"},
        {"cut.p", "name\n- Delay -\nactive: false\n- Duration -\nlowMin: 1\n", "the file ends too early"},
        {"text.p", "name\n- Delay -\nactive: false\n- Duration -\nlowMin: many\n",
         "\"many\" is not a number"},
        {"count.p",
         "name\n- Delay -\nactive: false\n- Duration -\nlowMin: 1\nlowMax: 1\n- Count -\nmin: 0\nmax: 5\n"
         "- Emission -\nlowMin: 0\nlowMax: 0\nhighMin: 0\nhighMax: 0\nrelative: false\nscalingCount: "
         "999999999\n",
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
    // The source and destination factors, the blending, whether it is reported.
    using Case = std::tuple<int, int, std::uint32_t, bool>;
    const Case cases[] = {{770, 1, kAdditive, false}, {1, 1, kAdditive, false},  {770, 771, kNormal, false},
                          {1, 771, kNormal, false},   {774, 771, kNormal, true}, {0, 0, kNormal, true}};
    for (const auto& [source, destination, mode, reported] : cases) {
        SCOPED_TRACE(std::to_string(source) + "," + std::to_string(destination));
        const std::string text = "blendFuncSource " + std::to_string(source) + "i blendFuncDestination ";
        const ImportedEmitters imported =
            ImportText(folder, "b.plist", PlistText(Plist(text + std::to_string(destination) + "i")));
        EXPECT_EQ(imported.emitters[0]->params.blendingMode, mode);
        EXPECT_EQ(Reports(imported.report, "blend function"), reported);
    }
}

// Values that need more than a unit change: what they become, and what the report says of them.
TEST(PlistImport, SpecialValuesAreMappedAndReported) {
    TempFolder folder;
    const struct {
        const char* what;
        const char* entries;
        const char* raw;
        std::vector<const char*> reported = {};
        const char* notReported = nullptr;
    } cases[] = {
        {"outside orv's ranges: limited",
         "maxParticles 1e12 speed -40 startColorRed 3 sourcePositionx 1e300 particleLifespan 1",
         "max_particles 5000 speed 0 start_color_r 1000 offset_x 1000",
         {"maxParticles", "speed -40", "startColorRed 3", "sourcePositionx"}},
        // Finish size -1 keeps the start size; duration 0 is orv's shortest; the end rotation
        // becomes a speed, (70 - 10) / 2 s, clockwise on screen in both.
        {"special values",
         "startParticleSize 40 startParticleSizeVariance 6 finishParticleSize -1 duration 0 "
         "particleLifespan 2 rotationStart 10 rotationEnd 70 emissionRate 500 maxParticles 100i "
         "positionType 2i",
         "finish_size 400 finish_size_variance 60 duration 1 rot_per_sec 300",
         {"finishParticleSize -1", "duration 0", "rotationEnd 70", "emissionRate 500", "positionType 2"}},
        // With a configName, cocos2d-x reads the radius and the turning speed as whole numbers;
        // the gravity speed is out of range but not a radial emitter's concern.
        {"radial",
         "configName \"vortex\" emitterType 1i maxRadius 73.42 maxRadiusVariance 5.5 minRadius 0 "
         "rotatePerSecond 90.7 angle 90 speed 1e6",
         "max_radius 730 max_radius_variance 55 deg_per_sec -900 emitter_angle 2700",
         {"maxRadius read as a whole number"},
         "speed"},
        {"downward y axis taken as it is",
         "yCoordFlipped -1i angle 60 gravityy -100 tangentialAcceleration 12 sourcePositiony 100",
         "emitter_angle 600 y_gravity -1000 tan_acc 120 offset_y -200"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ImportedEmitters imported = ImportText(folder, "s.plist", PlistText(Plist(c.entries)));
        ExpectRawValues(*imported.emitters[0], c.raw);
        for (const char* note : c.reported) EXPECT_TRUE(Reports(imported.report, note)) << note;
        EXPECT_FALSE(c.notReported && Reports(imported.report, c.notReported)) << c.notReported;
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
        "  <speed value=\"90.00\"></speed>\r\n"
        "  <particleLifeSpanVariance value=\"0.5000\"/>\r\n"
        "  <startColor red=\"1.00\" green=\"0.20\" blue=\"0.10\" alpha=\"0.80\"/>\r\n"
        "  <finishColorVariance red=\"0.10\" green=\"0.00\" blue=\"0.00\" alpha=\"0.05\"/>\r\n"
        "  <FinishParticleSizeVariance value=\"3.00\"/>\r\n"
        "  <somethingNew value=\"1\"/>\r\n"
        "</particleEmitterConfig>\r\n";
    const ImportedEmitters imported = ImportText(folder, "old.pex", text);
    EXPECT_EQ(imported.emitters[0]->params.name, u"old");
    ExpectRawValues(*imported.emitters[0],
                    "offset_x -100 offset_y -50 speed 900 lifespan_variance 5 start_color_r 1000 "
                    "start_color_g 200 start_color_a 800 finish_color_r_var 100 "
                    "finish_color_a_var 50 finish_size_variance 30");
    EXPECT_TRUE(Reports(imported.report, "texture \"missing.png\" not found"));
}

// Rows the engines hold with the same meaning (or one turned around with the y axis): all but the
// turning speed's variance, the oscillation, the delay and the background.
std::vector<std::size_t> MappedRows() {
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < kBgR; ++row)
        if (row != kRotPerSecVariance && (row < kHorAmplitude || row > kDelay)) rows.push_back(row);
    return rows;
}

// Every mapped row at a random raw value within its range (seeded, so each run is the same).
void Randomise(Emitter& emitter, std::uint32_t seed) {
    std::mt19937 random(seed);
    for (std::size_t row : MappedRows())
        emitter.params.raw[row] =
            std::uniform_int_distribution(Param(row).MinRaw(), Param(row).MaxRaw())(random);
    // The emitter-type-specific rows are read back as whole numbers by the engines only with a
    // configName in radial files, so those use whole values.
    for (std::size_t row : {kMaxRadius, kMinRadius, kDegPerSec})
        emitter.params.raw[row] -= emitter.params.raw[row] % 10;
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
};

const Format kFormats[] = {{"plist", WritePlist, ReadPlist}, {"pex", WritePex, ReadPex}};

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
            PdToEmitter(config, PdFrame{800, 600, PdYAxisUp(config, format.read == ReadPlist)}, back, report);
            for (std::size_t row : MappedRows())
                EXPECT_EQ(back.params.raw[row], original.params.raw[row]) << Param(row).key;
            // Only the .plist has a name key.
            EXPECT_EQ(std::tuple(back.params.type, back.params.blendingMode, back.params.name),
                      std::tuple(original.params.type, original.params.blendingMode,
                                 std::u16string(format.read == ReadPlist ? u"round" : u"")));
        }
    }
}

}  // namespace
}  // namespace orv::test
