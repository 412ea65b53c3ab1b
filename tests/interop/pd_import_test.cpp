// Reading .plist and .pex files as real ones vary, and what becomes of each value.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

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
    const std::vector<std::pair<std::size_t, std::int32_t>> expected = {
        {kMaxParticles, 120},   {kLifespan, 15},           {kLifespanVariance, 3},  {kStartSize, 320},
        {kStartSizeVariance, 40}, {kFinishSize, 80},       {kFinishSizeVariance, 20}, {kEmitterAngle, 3000},
        {kEmitterAngleVariance, 100}, {kSpeed, 1500},      {kSpeedVariance, 300},   {kXGravity, 50},
        {kYGravity, 1000},      {kTanAcc, -120},           {kRadAcc, -200},         {kOffsetX, 0},
        {kOffsetY, 0},          {kXVariance, 60},          {kYVariance, 30},        {kStartColorR, 1000},
        {kStartColorG, 500},    {kStartColorB, 250},       {kStartColorA, 750},     {kFinishColorA, 0},
        {kDuration, 0},         {kStartRot, 3300},         {kStartRotVariance, 50}, {kRotPerSec, 0},
        {kMaxRadius, 5000},     {kDegPerSec, 3600}};
    for (const auto& [row, raw] : expected) EXPECT_EQ(e.params.raw[row], raw) << Param(row).key;
}

struct Variation {
    const char* name;
    PlistOptions options;
    void (*change)(Entries&);
};

void Unchanged(Entries&) {}
void Reversed(Entries& entries) { std::reverse(entries.begin(), entries.end()); }
void IntegersAsReals(Entries& entries) {
    for (auto& [key, value] : entries) {
        if (value.rfind("<integer>", 0) == 0) value = "<real>" + value.substr(9, value.size() - 19) + ".0</real>";
    }
}
void RealsAsIntegersAndStrings(Entries& entries) {
    for (auto& [key, value] : entries) {
        if (key == "maxParticles") value = Text(" 120 ");
        if (key == "startParticleSize") value = Integer(32);
    }
}
void KeysInOtherCase(Entries& entries) {
    for (auto& [key, value] : entries) {
        if (key == "finishParticleSizeVariance") key = "FinishParticleSizeVariance";
        if (key == "particleLifespan") key = "particleLifeSpan";
    }
}

const Variation kVariations[] = {
    {"as written", {}, Unchanged},
    {"no declaration", {false, false}, Unchanged},
    {"CRLF", {true, true}, Unchanged},
    {"keys in reverse order", {}, Reversed},
    {"integers as reals", {}, IntegersAsReals},
    {"reals as integers and strings", {}, RealsAsIntegersAndStrings},
    {"keys in other case", {}, KeysInOtherCase},
};

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

TEST(PlistImport, BadFilesAreRefusedWithAReason) {
    TempFolder folder;
    const struct {
        const char* what;
        std::string text;
        const char* reason;
    } cases[] = {
        {"binary", "bplist00\xd1\x01\x02", "binary property lists"},
        {"malformed", "<plist><dict><key>a</key><real>1</real></plist>", "malformed"},
        {"no dictionary", "<plist version=\"1.0\"><array/></plist>", "no root <dict>"},
        {"text as number", PlistText({{"maxParticles", "<real>many</real>"}}), "not a number"},
        {"string not numeric", PlistText({{"speed", Text("fast")}}), "not a finite number"},
        {"key without value", "<plist><dict><key>speed</key></dict></plist>", "has no value"},
        {"emitter type", PlistText({{"emitterType", Integer(2)}}), "emitterType 2"},
        {"empty", "", "malformed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ImportText(folder, "bad.plist", c.text);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

TEST(PlistImport, ValuesOutsideOrvsRangesAreClampedAndReported) {
    TempFolder folder;
    const ImportedEmitters imported = ImportText(
        folder, "wild.plist",
        PlistText({{"maxParticles", Real(1e12)}, {"speed", Real(-40)}, {"startColorRed", Real(3)},
                   {"sourcePositionx", Real(1e300)}, {"particleLifespan", Real(1)}}));
    const Emitter& e = *imported.emitters[0];
    EXPECT_EQ(e.params.raw[kMaxParticles], 5000);
    EXPECT_EQ(e.params.raw[kSpeed], 0);
    EXPECT_EQ(e.params.raw[kStartColorR], 1000);
    EXPECT_EQ(e.params.raw[kOffsetX], 1000);
    for (const char* key : {"maxParticles", "speed -40", "startColorRed 3", "sourcePositionx"}) {
        EXPECT_TRUE(Reports(imported.report, key)) << key << "\n" << imported.report.Text();
    }
}

TEST(PlistImport, BlendPairs) {
    TempFolder folder;
    const struct {
        int source, destination;
        BlendingMode mode;
        bool reported;
    } cases[] = {{770, 1, kAdditive, false}, {1, 1, kAdditive, false},   {770, 771, kNormal, false},
                 {1, 771, kNormal, false},   {774, 771, kNormal, true},   {0, 0, kNormal, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.source) + "," + std::to_string(c.destination));
        const ImportedEmitters imported = ImportText(
            folder, "b.plist",
            PlistText({{"blendFuncSource", Integer(c.source)}, {"blendFuncDestination", Integer(c.destination)}}));
        EXPECT_EQ(imported.emitters[0]->params.blendingMode, c.mode);
        EXPECT_EQ(Reports(imported.report, "blend function"), c.reported);
    }
}

TEST(PlistImport, SpecialValues) {
    TempFolder folder;
    // finish size -1 keeps the start size; duration 0 is orv's shortest; end rotation becomes a speed.
    const ImportedEmitters imported = ImportText(
        folder, "s.plist",
        PlistText({{"startParticleSize", Real(40)},     {"startParticleSizeVariance", Real(6)},
                   {"finishParticleSize", Real(-1)},    {"duration", Real(0)},
                   {"particleLifespan", Real(2)},        {"rotationStart", Real(10)},
                   {"rotationEnd", Real(70)},            {"emissionRate", Real(500)},
                   {"maxParticles", Integer(100)},       {"positionType", Integer(2)}}));
    const Emitter& e = *imported.emitters[0];
    EXPECT_EQ(e.params.raw[kFinishSize], 400);
    EXPECT_EQ(e.params.raw[kFinishSizeVariance], 60);
    EXPECT_EQ(e.params.raw[kDuration], 1);
    EXPECT_EQ(e.params.raw[kRotPerSec], 300);  // (70 - 10) / 2 s, clockwise on screen in both
    for (const char* note : {"finishParticleSize -1", "duration 0", "rotationEnd 70", "emissionRate 500", "positionType 2"}) {
        EXPECT_TRUE(Reports(imported.report, note)) << note << "\n" << imported.report.Text();
    }
}

TEST(PlistImport, RadialEmitter) {
    TempFolder folder;
    // With a configName, cocos2d-x reads the radius and the turning speed as whole numbers.
    const ImportedEmitters imported = ImportText(
        folder, "r.plist",
        PlistText({{"configName", Text("vortex")}, {"emitterType", Integer(1)}, {"maxRadius", Real(73.42)},
                   {"maxRadiusVariance", Real(5.5)}, {"minRadius", Real(0)}, {"rotatePerSecond", Real(90.7)},
                   {"angle", Real(90)}, {"speed", Real(1e6)}}));
    const Emitter& e = *imported.emitters[0];
    EXPECT_EQ(e.params.type, kRadial);
    EXPECT_EQ(e.params.raw[kMaxRadius], 730);
    EXPECT_EQ(e.params.raw[kMaxRadiusVariance], 55);
    EXPECT_EQ(e.params.raw[kDegPerSec], -900);
    EXPECT_EQ(e.params.raw[kEmitterAngle], 2700);
    EXPECT_TRUE(Reports(imported.report, "maxRadius read as a whole number"));
    // The gravity speed is out of range but not this emitter's concern.
    EXPECT_FALSE(Reports(imported.report, "speed"));
}

TEST(PlistImport, DownwardYAxisIsTakenAsItIs) {
    TempFolder folder;
    const ImportedEmitters imported = ImportText(
        folder, "down.plist",
        PlistText({{"yCoordFlipped", Integer(-1)}, {"angle", Real(60)}, {"gravityy", Real(-100)},
                   {"tangentialAcceleration", Real(12)}, {"sourcePositiony", Real(100)}}));
    const Emitter& e = *imported.emitters[0];
    EXPECT_EQ(e.params.raw[kEmitterAngle], 600);
    EXPECT_EQ(e.params.raw[kYGravity], -1000);
    EXPECT_EQ(e.params.raw[kTanAcc], 120);
    EXPECT_EQ(e.params.raw[kOffsetY], -200);
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
    const std::vector<std::pair<std::size_t, std::int32_t>> expected = {
        {kOffsetX, -100},        {kOffsetY, -50},       {kXVariance, 70},       {kYVariance, 80},
        {kSpeed, 900},           {kLifespan, 13},       {kLifespanVariance, 5}, {kEmitterAngle, 2700},
        {kYGravity, 400},        {kStartColorR, 1000},  {kStartColorG, 200},    {kStartColorA, 800},
        {kFinishColorRVar, 100}, {kFinishColorAVar, 50}, {kMaxParticles, 64},   {kFinishSizeVariance, 30}};
    for (const auto& [row, raw] : expected) EXPECT_EQ(e.params.raw[row], raw) << Param(row).key;
    EXPECT_TRUE(Reports(imported.report, "texture \"missing.png\" not found"));
}

TEST(PexImport, BadFilesAreRefused) {
    TempFolder folder;
    for (const std::string& text : {std::string("<plist/>"), std::string("<particleEmitterConfig><speed value=\"x\"/>"),
                                    std::string("<particleEmitterConfig><speed value=\"fast\"/></particleEmitterConfig>")}) {
        EXPECT_THROW(ImportText(folder, "bad.pex", text), std::runtime_error) << text;
    }
}

}  // namespace
}  // namespace orv::test
