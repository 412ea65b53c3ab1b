#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "tests/effectfile/test_support.h"
#include "vesk/path_utils.h"

namespace orv {
namespace {

// The shipped examples are what a user opens first: each must load with every texture, and be
// exactly what the editor would save, so that opening and saving one changes nothing.
TEST(ExamplesTest, EveryExampleLoadsWithItsTexturesAndIsInTheSavedForm) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORV_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".orv") continue;
        ++count;
        const std::u16string path = vesk::FromNativePath(entry.path());
        Effect effect;
        ASSERT_TRUE(LoadEffect(effect, path, false).loaded) << entry.path();
        for (std::size_t i = 0; i < effect.Count(); ++i)
            EXPECT_NE(effect.EmitterAt(i).texture.Image(), nullptr) << entry.path() << " emitter " << i;
        EXPECT_EQ(test::EffectText(effect, path), test::ReadFileBytes(entry.path())) << entry.path();
    }
    EXPECT_GE(count, 4);
}

}  // namespace
}  // namespace orv
