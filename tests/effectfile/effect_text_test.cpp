// Effect text: what the writer lays out and what the reader takes from it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "effectfile/effect_reader.h"
#include "effectfile/effect_writer.h"
#include "effectfile/json_parser.h"
#include "effectfile/relative_path.h"
#include "tests/effectfile/test_support.h"

namespace orv {
namespace {

using test::EffectText;
using test::MemoryStream;

TEST(EffectWriter, DefaultEffectMatchesTheReferenceFileByteForByte) {
    const Effect effect;
    const std::string expected = test::ReadFileBytes(std::filesystem::path(ORV_SOURCE_DIR) /
                                                     "tests/effectfile/data/default_effect.orv");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(EffectText(effect), expected);
}

// Which rows each emitter type and colour flag writes, the texture object with splits and frame
// durations, names and backgrounds are pinned byte for byte by the shipped examples
// (ExamplesTest.EveryExampleLoadsAndIsInTheSavedForm), number texts by FixedPoint.

TEST(RelativePath, FollowsTheFoldersOfBothFiles) {
    EXPECT_EQ(MakeRelativePath(u"/fx/e.orv", u"/fx/spark.png"), u"spark.png");
    EXPECT_EQ(MakeRelativePath(u"/fx/deep/e.orv", u"/fx/tex/b.png"), u"../tex/b.png");
    EXPECT_EQ(MakeRelativePath(u"/fx//e.orv", u"/fx/./b.png"), u"b.png");
    EXPECT_EQ(MakeRelativePath(u"e.orv", u"tex/b.png"), u"tex/b.png");
    // No common root: the path stays as it is.
    EXPECT_EQ(MakeRelativePath(u"/fx/e.orv", u"tex/b.png"), u"tex/b.png");
    EXPECT_FALSE(RelativeFolderPath(u"/a/../b/", u"/c/").has_value());
}

// The emitters read from `text`, and the background into `background` where given. The stream claims
// `claimedSize` bytes where that is more than the text, as a file cut while being read.
std::optional<EmitterList> Read(const std::string& text, BackgroundValues* background = nullptr,
                                std::size_t claimedSize = 0) {
    MemoryStream stream(text, SIZE_MAX, claimedSize);
    BackgroundValues ignored{};
    return ReadEffect(stream, background ? *background : ignored, nullptr);
}

// One emitter read from the members given in `members`.
std::unique_ptr<Emitter> ReadOne(const std::string& members) {
    std::optional<EmitterList> emitters = Read("{\"emitter\": [{" + members + "}]}");
    if (!emitters || emitters->size() != 1) return nullptr;
    return std::move(emitters->front());
}

TEST(EffectReader, EverythingWrittenReadsBackToTheSameBytes) {
    Effect effect;
    for (const auto& [row, raw] : {std::pair{kBgR, 1}, {kBgB, 999}, {kBgA, 1000}})
        effect.SetBackgroundRaw(row, raw);
    Emitter& first = effect.EmitterAt(0);
    // Every row at a value of its own within its slider range, some negative.
    for (std::size_t row = 0; row < kEmitterParamCount; ++row) {
        const ParamDescriptor& p = Param(row);
        SetParam(first, row,
                 p.MinRaw() + static_cast<std::int32_t>((row * 7919) % (p.sliderMax - p.sliderMin + 1)));
    }
    // A gravity emitter keeps no radial rows.
    for (std::size_t row = kMaxRadius; row <= kDegPerSecVar; ++row) SetParam(first, row, 0);
    first.params.blendingMode = kNormal;
    first.params.textureDirectionBefore = true;
    SetSortType(first.params, kSortScaleDescending);
    first.texture.SetFileName(u"/fx/sub dir/\"odd\".png");
    first.texture.SetSplitX(3);
    first.texture.SetFrameDurations({16, 0, 4000});

    Emitter& second = *effect.AddEmitter(u"名前 \"quoted\" back\\slash\ttab\x1F");
    second.params.type = kRadial;
    second.params.enableColor = false;
    second.params.colorConstant = true;
    SetParam(second, kMaxRadius, 4321);
    SetParam(second, kDegPerSec, -3599);
    second.texture.SetAnimation(true);

    const std::string text = EffectText(effect);
    Effect readBack;
    ASSERT_TRUE(test::LoadText(text, readBack));
    EXPECT_EQ(readBack.EmitterAt(0).texture.FileName(), u"sub dir/\"odd\".png");
    // Escaped as JSON requires; other characters as UTF-8.
    EXPECT_NE(text.find("\"name\": \"名前 \\\"quoted\\\" back\\\\slash\\ttab\\u001f\",\n"),
              std::string::npos);
    EXPECT_EQ(EffectText(readBack), text);  // every row, name, flag and frame duration came back
    // Where the background, its zero values and the emitters' separators go is pinned by the
    // shipped examples (ExamplesTest) and the default effect's reference file.
    // A seed is written after the background; 0 is a seed like any other (reading it back is
    // EffectReader.OnlyNonNegativeWholeNumbersOf64BitsAreReadAsTheSeed's). No emitters: an empty
    // array, no separator left dangling.
    effect.SetSeed(0);
    effect.RemoveAllEmitters();
    EXPECT_TRUE(EffectText(effect).ends_with("\t\"bg_a\": 1.000,\n\t\"seed\": 0,\n\t\"emitter\": []\n}\n"));
}

TEST(EffectReader, OnlyNonNegativeWholeNumbersOf64BitsAreReadAsTheSeed) {
    const auto read = [](const std::string& value) {
        return ReadSeed(ParseJson("{\"seed\": " + value + "}"));
    };
    // A quoted number reads like the bare one.
    const std::pair<const char*, std::uint64_t> accepted[] = {
        {"42", 42}, {"\"42\"", 42}, {"0", 0}, {"18446744073709551615", UINT64_MAX}};
    for (const auto& [value, seed] : accepted) EXPECT_EQ(read(value), seed) << value;
    for (const char* refused :
         {"18446744073709551616", "-1", "1.5", "1e3", "\"+3\"", "\" 3\"", "\"\"", "true", "null", "[1]"})
        EXPECT_EQ(read(refused), std::nullopt) << refused;
    EXPECT_EQ(ReadSeed(ParseJson("{}")), std::nullopt);
}

TEST(EffectReader, NumbersAreCutLimitedAndQuotedLikeBare) {
    const auto emitter = ReadOne(
        R"("lifespan": "2.5", "lifespan_variance": 2.57, "x_gravity": -0.5, "max_particles": 9999,
           "rot_per_sec": -99999, "speed": true, "emitter_angle": null, "offset_y": 1e3)");
    ASSERT_TRUE(emitter);
    // An absent row (finish_size) reads 0, not limited.
    const std::int32_t lowest = Param(kRotPerSec).MinRaw();
    using Row = std::pair<std::size_t, std::int32_t>;
    const Row expected[] = {{kLifespan, 25},       {kLifespanVariance, 25}, {kXGravity, -5},
                            {kMaxParticles, 5000}, {kRotPerSec, lowest},    {kSpeed, 0},
                            {kEmitterAngle, 0},    {kOffsetY, 1},           {kFinishSize, 0}};
    for (const auto& [row, raw] : expected) EXPECT_EQ(emitter->params.raw[row], raw) << row;
    EXPECT_DOUBLE_EQ(emitter->values.lifespan, 2.5);
}

// Names written without escaping (raw tab, UTF-8) still read; unknown choices read as the defaults,
// and an absent enable_color reads false, unlike a fresh emitter. Texture splits below 1 read 1,
// frame durations are cut, and a file name that is no UTF-8 reads empty. (Names and flags come back
// as written: EffectReader.EverythingWrittenReadsBackToTheSameBytes.)
TEST(EffectReader, ChoicesFlagsAndTextureMembers) {
    const char* const kKnown = R"("type": "radial", "blending_mode": "normal", "sort_type": "duration_asc",
        "texture": {"is_animation": true, "filename": "tex/a.png", "split_x": 0, "split_y": "-3",
                    "frames": [100, "50", null, {}, 2.9]})";
    const char* const kUnknown =
        "\"name\": \"tab\there \xE7\x81\xAB\", \"type\": \"spiral\", \"blending_mode\": "
        "\"unknown\", \"sort_type\": \"random\", \"enable_color\": \"true\", "
        "\"texture\": {\"filename\": \"\xff.png\", \"split_x\": 6}";
    const struct {
        const char* members;
        std::u16string name, file;
        std::uint32_t type, blend, sort, splitX, splitY;
        std::vector<std::uint32_t> frames;
    } cases[] = {{kKnown, u"", u"tex/a.png", kRadial, kNormal, kSortAgeDescending, 1, 1, {100, 50, 2}},
                 {kUnknown, u"tab\there 火", u"", kGravity, kAdditive, kSortNone, 6, 1, {}}};
    for (const auto& c : cases) {
        const auto emitter = ReadOne(c.members);
        ASSERT_TRUE(emitter) << c.members;
        const TextureSettings& texture = emitter->texture;
        EXPECT_EQ(std::tuple(emitter->params.name, texture.FileName(), texture.SplitX(), texture.SplitY()),
                  std::tuple(c.name, c.file, c.splitX, c.splitY));
        EXPECT_EQ(std::tuple(emitter->params.type, emitter->params.blendingMode, emitter->params.sortType),
                  std::tuple(c.type, c.blend, c.sort));
        EXPECT_EQ(texture.FrameDurations(), c.frames);
        EXPECT_FALSE(emitter->params.enableColor);
    }
}

TEST(EffectReader, ShapeOfTheFile) {
    EXPECT_FALSE(Read("[1, 2]").has_value());
    BackgroundValues background{};
    EXPECT_FALSE(Read(R"({"bg_r": 0.25, "bg_a": "2", "emitter": {}})", &background).has_value());
    EXPECT_EQ(background, (BackgroundValues{250, 0, 0, 2000}));  // not limited here

    const std::optional<EmitterList> emitters = Read(R"({"emitter": [1, "x", {}, [], {"name": "b"}]})");
    ASSERT_TRUE(emitters.has_value());
    ASSERT_EQ(emitters->size(), 2u);
    EXPECT_EQ(emitters->at(1)->params.name, u"b");
}

// Syntax errors reach the user through the loader: EffectLoading.AFileThatFailsLeavesTheEffectAsItWas.
// A texture name with no UTF-8 form fails the write too:
// EffectSaving.FailuresNameTheFileAndTheReasonAndLeaveEverythingAsItWas.
TEST(EffectReader, AShortReadOrWriteFails) {
    MemoryStream full({}, 40);
    EXPECT_THROW(WriteEffect(Effect(), full, u"/fx/e.orv"), std::runtime_error);
    try {
        Read("{\"emitter\": [", nullptr, 100);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "read error");
    }
}

}  // namespace
}  // namespace orv
