#include "effectfile/effect_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "effectfile/json_parser.h"
#include "effectfile/relative_path.h"
#include "tests/effectfile/test_support.h"

namespace orv {
namespace {

using test::EffectText;
using test::MemoryStream;

std::string EmitterText(const Emitter& emitter, std::u16string_view effectPath = u"/fx/e.orv") {
    MemoryStream stream;
    WriteEmitter(emitter, stream, effectPath);
    return stream.Data();
}

bool HasLine(const std::string& text, const std::string& line) {
    return text.find("\n" + line + "\n") != std::string::npos ||
           text.find("\n" + line + ",\n") != std::string::npos;
}

TEST(EffectWriter, DefaultEffectMatchesTheReferenceFileByteForByte) {
    const Effect effect;
    const std::string expected = test::ReadFileBytes(std::filesystem::path(ORV_SOURCE_DIR) /
                                                     "tests/effectfile/data/default_effect.orv");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(EffectText(effect), expected);
}

TEST(EffectWriter, TextureObjectWithSplitsAndFrames) {
    Emitter emitter;
    emitter.texture.SetFileName(u"/fx/spark.png");
    emitter.texture.SetAnimation(true);
    emitter.texture.SetSplitX(4);
    emitter.texture.SetSplitY(2);
    emitter.texture.SetFrameDurations({100, 100, 50});
    const std::string text = EmitterText(emitter, u"/fx/e.orv");
    const std::string expected =
        ",\n\t\t\t\"texture\": {\n"
        "\t\t\t\t\"is_animation\": true,\n"
        "\t\t\t\t\"filename\": \"spark.png\",\n"
        "\t\t\t\t\"split_x\": 4,\n"
        "\t\t\t\t\"split_y\": 2,\n"
        "\t\t\t\t\"frames\": [100,100,50]\n"
        "\t\t\t}\n";
    ASSERT_GE(text.size(), expected.size());
    EXPECT_EQ(text.substr(text.size() - expected.size()), expected);
    // An emitter's own empty name writes no "name" member.
    EXPECT_EQ(text.rfind("\t\t\t\"type\": \"gravity\",\n", 0), 0u);
}

TEST(EffectWriter, ModeAndColourFlagsDecideWhichRowsAreWritten) {
    Emitter emitter;
    emitter.params.raw[kXGravity] = -5;
    emitter.params.raw[kMaxRadius] = 15;
    emitter.params.raw[kOffsetX] = -3;
    emitter.params.raw[kStartColorB] = 7;
    emitter.params.raw[kFinishColorBVar] = 8;
    std::string text = EmitterText(emitter);
    EXPECT_TRUE(HasLine(text, "\t\t\t\"x_gravity\": -0.5"));
    EXPECT_TRUE(HasLine(text, "\t\t\t\"offset_x\": -3"));
    EXPECT_TRUE(HasLine(text, "\t\t\t\"start_color_b\": 0.007"));
    EXPECT_TRUE(HasLine(text, "\t\t\t\"finish_color_b_var\": 0.008"));
    EXPECT_EQ(text.find("max_radius"), std::string::npos);

    emitter.params.type = kRadial;
    emitter.params.colorConstant = true;
    text = EmitterText(emitter);
    EXPECT_EQ(text.find("gravity\": "), std::string::npos);
    EXPECT_EQ(text.find("\"speed\""), std::string::npos);
    EXPECT_TRUE(HasLine(text, "\t\t\t\"max_radius\": 1.5"));
    EXPECT_TRUE(HasLine(text, "\t\t\t\"start_color_b\": 0.007"));
    EXPECT_EQ(text.find("finish_color_r\""), std::string::npos);
    EXPECT_EQ(text.find("finish_color_b_var"), std::string::npos);

    emitter.params.enableColor = false;
    text = EmitterText(emitter);
    EXPECT_EQ(text.find("color_r\""), std::string::npos);
    EXPECT_EQ(text.find("start_color_b"), std::string::npos);
    EXPECT_TRUE(HasLine(text, "\t\t\t\"start_color_a\": 0.600"));
}

TEST(EffectWriter, BackgroundComesFirstEmittersAreSeparatedAndTheLastIsClosed) {
    Effect effect;
    effect.SetBackgroundRaw(kBgR, 500);
    effect.SetBackgroundRaw(kBgA, 1000);
    effect.AddEmitter(u"second");
    const std::string text = EffectText(effect);
    // Zero background values are left out.
    EXPECT_EQ(text.rfind("{\n\t\"bg_r\": 0.500,\n\t\"bg_a\": 1.000,\n\t\"emitter\": [\n", 0), 0u);
    EXPECT_NE(text.find("\t\t\t}\n\t\t},\n\t\t{\n\t\t\t\"name\": \"second\",\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\t\t\t}\n\t\t}\n\t]\n}\n"));
    // No emitters: an empty array, no separator left dangling.
    effect.RemoveAllEmitters();
    EXPECT_EQ(EffectText(effect), "{\n\t\"bg_r\": 0.500,\n\t\"bg_a\": 1.000,\n\t\"emitter\": []\n}\n");
}

TEST(EffectWriter, NamesAndPathsAreEscapedAsJsonRequires) {
    Effect effect;
    const std::u16string name = u"q\"b\\s\t\x01 \u3042";
    ASSERT_TRUE(effect.RenameEmitter(0, name));
    effect.EmitterAt(0).texture.SetFileName(u"/fx/sub dir/\"odd\".png");
    const std::string text = EffectText(effect);
    EXPECT_NE(text.find("\"name\": \"q\\\"b\\\\s\\t\\u0001 \xE3\x81\x82\",\n"), std::string::npos);
    EXPECT_NE(text.find("\"filename\": \"sub dir/\\\"odd\\\".png\""), std::string::npos);
    EXPECT_NO_THROW(ParseJson(text));
}

// A texture name with no UTF-8 form fails the write too: EffectSaving.AFailureHalfwayKeepsThePreviousFile.
TEST(EffectWriter, AShortWriteFails) {
    MemoryStream full({}, 40);
    EXPECT_THROW(WriteEffect(Effect(), full, u"/fx/e.orv"), std::runtime_error);
}

TEST(RelativePath, FollowsTheFoldersOfBothFiles) {
    EXPECT_EQ(MakeRelativePath(u"/fx/e.orv", u"/fx/spark.png"), u"spark.png");
    EXPECT_EQ(MakeRelativePath(u"/fx/e.orv", u"/fx/tex/a/b.png"), u"tex/a/b.png");
    EXPECT_EQ(MakeRelativePath(u"/fx/deep/e.orv", u"/fx/tex/b.png"), u"../tex/b.png");
    EXPECT_EQ(MakeRelativePath(u"/fx/e.orv", u"/b.png"), u"../b.png");
    EXPECT_EQ(MakeRelativePath(u"/fx//e.orv", u"/fx/./b.png"), u"b.png");
    EXPECT_EQ(MakeRelativePath(u"e.orv", u"tex/b.png"), u"tex/b.png");
    // No common root: the path stays as it is.
    EXPECT_EQ(MakeRelativePath(u"/fx/e.orv", u"tex/b.png"), u"tex/b.png");
    EXPECT_EQ(MakeRelativePath(u"fx/e.orv", u"/tex/b.png"), u"/tex/b.png");
    EXPECT_FALSE(RelativeFolderPath(u"/a/../b/", u"/c/").has_value());
}

}  // namespace
}  // namespace orv
