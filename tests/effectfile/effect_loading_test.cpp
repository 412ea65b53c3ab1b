#include "effectfile/effect_loading.h"

#include <gtest/gtest.h>

#include "effectfile/texture_loading.h"
#include "tests/effectfile/test_support.h"

namespace orv {
namespace {

using test::TempFolder;

const std::string kTwoUnnamed =
    R"({"bg_g": 0.5, "seed": 9, "emitter": [{"max_particles": 7}, {"max_particles": 8}]})";

// An effect of three emitters with a background and a seed, and a folder holding two.orv.
class EffectLoading : public ::testing::Test {
protected:
    void SetUp() override {
        Write("two.orv", kTwoUnnamed);
        effect.AddEmitter(u"two");
        effect.AddEmitter(u"three");
        effect.SetBackgroundRaw(kBgR, 100);
        effect.SetBackgroundRaw(kBgB, 300);
        effect.SetSeed(5);
    }
    void Write(const char* name, const std::string& s) { test::WriteFileBytes(folder.Path() / name, s); }
    LoadOutcome Load(const char* name, bool merge) { return LoadEffect(effect, folder.Wide(name), merge); }
    std::vector<std::int32_t> Background() const {
        return {effect.BackgroundRaw(kBgR), effect.BackgroundRaw(kBgG), effect.BackgroundRaw(kBgB)};
    }

    TempFolder folder;
    Effect effect;
};

TEST_F(EffectLoading, ReplaceDropsThePreviousEmittersAndBackground) {
    Write("e.orv", R"({"bg_r": 1.5, "bg_g": -0.1, "bg_b": 0.75})");
    LoadOutcome outcome = Load("two.orv", false);
    EXPECT_TRUE(outcome.loaded && !outcome.message);
    EXPECT_EQ(outcome.listNames, (std::vector<std::u16string>{u"emitter 01", u"emitter 02"}));
    EXPECT_EQ(effect.EmitterAt(0).params.raw[kMaxParticles], 7);
    EXPECT_GT(effect.EmitterAt(0).runtime.emissionRate, 0.0);  // restarted and armed
    EXPECT_EQ(effect.Seed(), 9u);
    // No emitter list leaves one default emitter; a background value outside 0..1 keeps the
    // previous one (absent ones read 0: see the merge).
    outcome = Load("e.orv", false);
    EXPECT_TRUE(outcome.loaded && outcome.selection == 0);
    EXPECT_EQ(outcome.listNames, std::vector<std::u16string>{u"emitter 01"});  // the effect's emitters
    EXPECT_EQ(effect.EmitterAt(0).params.raw[kMaxParticles], 100);
    EXPECT_EQ(Background(), (std::vector<std::int32_t>{0, 500, 750}));
    EXPECT_EQ(effect.Seed(), std::nullopt);  // a seed belongs to the file it came from
}

TEST_F(EffectLoading, MergeAppendsNumberedEntriesAndTakesTheBackgroundAndASeed) {
    Write("plain.orv", R"({"emitter": [{}]})");
    // Loaded: a load that fails lists the three emitters the effect had.
    const LoadOutcome outcome = Load("two.orv", true);
    EXPECT_EQ(outcome.listNames,
              (std::vector<std::u16string>{u"emitter 01", u"two", u"three", u"emitter 04", u"emitter 05"}));
    // Only the list shows the number.
    EXPECT_TRUE(effect.EmitterAt(4).params.raw[kMaxParticles] == 8 &&
                effect.EmitterAt(4).params.name.empty());
    EXPECT_EQ(Background(), (std::vector<std::int32_t>{0, 500, 0}));
    EXPECT_EQ(effect.Seed(), 9u);
    ASSERT_TRUE(Load("plain.orv", true).loaded);
    EXPECT_EQ(effect.Seed(), 9u);  // kept where the file has none
}

TEST_F(EffectLoading, AFileThatFailsLeavesTheEffectAsItWas) {
    Write("bad.orv", "{\n\"emitter\": [\n{\"name\": \"x\"}\n,]}");
    const std::string before = test::EffectText(effect);  // with the seed
    // The syntax error's text, or the missing file's name.
    const std::pair<const char*, std::u16string> cases[] = {{"bad.orv", u"syntax error at line 4 near: ]}"},
                                                            {"missing.orv", u"missing.orv"}};
    for (const bool merge : {false, true}) {
        for (const auto& [file, text] : cases) {
            const LoadOutcome outcome = Load(file, merge);
            ASSERT_TRUE(!outcome.loaded && outcome.message);
            EXPECT_EQ(outcome.message->caption, u"読込みエラー");
            EXPECT_NE(outcome.message->text.find(text), std::u16string::npos) << file;
            EXPECT_EQ(test::EffectText(effect), before);
            EXPECT_EQ(outcome.listNames.size(), 3u);
        }
    }
}

// Missing and undecodable files leave the emitter without image, its name as in the file; a texture
// loaded later that fails keeps the previous picture.
TEST_F(EffectLoading, TexturesAreResolvedAgainstTheEffectsFolderAndFailuresKeepWhatWasThere) {
    std::filesystem::create_directories(folder.Path() / "fx" / "tex");
    test::WritePng(folder.Path() / "fx" / "tex" / "a.png", 8, 4);
    Write("fx/e.orv", R"({"emitter": [{"texture": {"filename": "tex/a.png", "split_x": 2}},
                                      {"texture": {"filename": "tex/none.png"}},
                                      {"texture": {"filename": "e.orv"}}]})");
    const LoadOutcome outcome = Load("fx/e.orv", false);
    EXPECT_TRUE(outcome.texturesLoaded);
    Emitter& loaded = effect.EmitterAt(0);
    const Texture* image = loaded.texture.Image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(loaded.texture.FileName(), folder.Wide("fx/tex/a.png"));
    EXPECT_EQ(loaded.texture.FrameWidth(), 4u);
    EXPECT_TRUE(effect.EmitterAt(1).texture.Image() == nullptr &&
                effect.EmitterAt(2).texture.Image() == nullptr);
    EXPECT_EQ(effect.EmitterAt(1).texture.FileName(), u"tex/none.png");

    for (const std::u16string& path : {folder.Wide("fx/e.orv"), folder.Wide("gone.png"), std::u16string()})
        EXPECT_FALSE(LoadEmitterTexture(loaded, path));
    EXPECT_EQ(loaded.texture.Image(), image);
    EXPECT_EQ(loaded.texture.FileName(), folder.Wide("fx/tex/a.png"));
}

}  // namespace
}  // namespace orv
