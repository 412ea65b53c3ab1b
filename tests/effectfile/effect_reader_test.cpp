#include "effectfile/effect_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "effectfile/effect_writer.h"
#include "effectfile/json_parser.h"
#include "tests/effectfile/test_support.h"

namespace orv {
namespace {

using test::EffectText;
using test::MemoryStream;

struct ReadResult {
    std::optional<EmitterList> emitters;
    BackgroundValues background{};
};

ReadResult Read(const std::string& text) {
    ReadResult result;
    MemoryStream stream(text);
    result.emitters = ReadEffect(stream, result.background, nullptr);
    return result;
}

// One emitter read from the members given in `members`.
std::unique_ptr<Emitter> ReadOne(const std::string& members) {
    ReadResult result = Read("{\"emitter\": [{" + members + "}]}");
    if (!result.emitters || result.emitters->size() != 1) return nullptr;
    return std::move(result.emitters->front());
}

TEST(EffectReader, EverythingWrittenReadsBackToTheSameBytes) {
    Effect effect;
    effect.SetBackgroundRaw(kBgR, 1);
    effect.SetBackgroundRaw(kBgB, 999);
    effect.SetBackgroundRaw(kBgA, 1000);
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
    first.texture.SetFileName(u"/fx/tex/spark.png");
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
    ASSERT_EQ(readBack.Count(), 2u);
    EXPECT_EQ(readBack.NameAt(1), effect.NameAt(1));
    EXPECT_EQ(readBack.EmitterAt(0).texture.FileName(), u"tex/spark.png");
    EXPECT_EQ(readBack.EmitterAt(0).params.raw, first.params.raw);
    EXPECT_EQ(readBack.EmitterAt(0).texture.FrameDurations(), first.texture.FrameDurations());
    EXPECT_EQ(EffectText(readBack), text);
}

TEST(EffectReader, NumbersAreCutLimitedAndQuotedLikeBare) {
    const auto emitter = ReadOne(
        R"("lifespan": "2.5", "lifespan_variance": 2.57, "x_gravity": -0.5, "max_particles": 9999,
           "rot_per_sec": -99999, "speed": true, "emitter_angle": null, "start_size": [1], "offset_y": 1e3)");
    ASSERT_TRUE(emitter);
    const auto& raw = emitter->params.raw;
    EXPECT_EQ(raw[kLifespan], 25);
    EXPECT_EQ(raw[kLifespanVariance], 25);
    EXPECT_EQ(raw[kXGravity], -5);
    EXPECT_EQ(raw[kMaxParticles], 5000);
    EXPECT_EQ(raw[kRotPerSec], Param(kRotPerSec).MinRaw());
    EXPECT_EQ(raw[kSpeed], 0);
    EXPECT_EQ(raw[kEmitterAngle], 0);
    EXPECT_EQ(raw[kStartSize], 0);
    EXPECT_EQ(raw[kOffsetY], 1);
    EXPECT_EQ(raw[kFinishSize], 0);  // absent: 0, not limited
    EXPECT_DOUBLE_EQ(emitter->values.lifespan, 2.5);
}

TEST(EffectReader, ChoicesAndFlags) {
    auto emitter = ReadOne(R"("type": "radial", "blending_mode": "normal", "sort_type": "duration_asc")");
    ASSERT_TRUE(emitter);
    EXPECT_EQ(emitter->params.type, kRadial);
    EXPECT_EQ(emitter->params.blendingMode, kNormal);
    EXPECT_EQ(emitter->params.sortType, kSortAgeDescending);
    EXPECT_FALSE(emitter->params.enableColor);  // absent reads false, unlike a fresh emitter

    // Names written without escaping (raw tab, UTF-8) still read.
    emitter = ReadOne(
        "\"name\": \"tab\there \xE7\x81\xAB\", \"type\": \"spiral\", \"blending_mode\": \"unknown\", "
        "\"sort_type\": \"random\", \"enable_color\": \"true\"");
    ASSERT_TRUE(emitter);
    EXPECT_EQ(emitter->params.name, u"tab\there 火");
    EXPECT_EQ(emitter->params.type, kGravity);
    EXPECT_EQ(emitter->params.blendingMode, kAdditive);
    EXPECT_EQ(emitter->params.sortType, kSortNone);
    EXPECT_FALSE(emitter->params.enableColor);
}

TEST(EffectReader, TextureMembers) {
    auto emitter = ReadOne(
        R"("texture": {"is_animation": true, "filename": "tex/a.png", "split_x": 0, "split_y": "-3",
           "frames": [100, "50", null, {}, 2.9]})");
    ASSERT_TRUE(emitter);
    const TextureSettings& texture = emitter->texture;
    EXPECT_TRUE(texture.IsAnimation());
    EXPECT_EQ(texture.FileName(), u"tex/a.png");
    EXPECT_EQ(texture.SplitX(), 1u);
    EXPECT_EQ(texture.SplitY(), 1u);
    EXPECT_EQ(texture.FrameDurations(), (std::vector<std::uint32_t>{100, 50, 2}));
    EXPECT_EQ(texture.TotalAnimationTime(), 152u);

    emitter = ReadOne("\"name\": \"bad\", \"texture\": {\"filename\": \"\xff.png\", \"split_x\": 6}");
    ASSERT_TRUE(emitter);
    EXPECT_EQ(emitter->params.name, u"bad");
    EXPECT_EQ(emitter->texture.FileName(), u"");  // does not convert from UTF-8
    EXPECT_EQ(emitter->texture.SplitX(), 6u);
}

TEST(EffectReader, ShapeOfTheFile) {
    ReadResult result = Read("[1, 2]");
    EXPECT_FALSE(result.emitters.has_value());

    result = Read(R"({"bg_r": 0.25, "bg_a": "2", "emitter": {}})");
    EXPECT_FALSE(result.emitters.has_value());
    EXPECT_EQ(result.background, (BackgroundValues{250, 0, 0, 2000}));  // not limited here

    result = Read(R"({"emitter": [1, "x", {}, [], {"name": "b"}]})");
    ASSERT_TRUE(result.emitters.has_value());
    ASSERT_EQ(result.emitters->size(), 2u);
    EXPECT_EQ(result.emitters->at(1)->params.name, u"b");
}

// Syntax errors reach the user through the loader: EffectLoading.AFileThatFailsLeavesTheEffectAsItWas.
TEST(EffectReader, AShortReadIsAReadError) {
    class ShortStream final : public vesk::CStream {
    public:
        std::uint32_t Read(void*, std::uint32_t size) override { return size / 2; }
        std::uint32_t Write(const void*, std::uint32_t) override { return 0; }
        bool Seek(std::int32_t, int) override { return true; }
        std::uint32_t Tell() override { return 0; }
        std::uint32_t GetSize() override { return 10; }
    } shortStream;
    BackgroundValues background{};
    try {
        ReadEffect(shortStream, background, nullptr);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "read error");
    }
}

}  // namespace
}  // namespace orv
