#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "effectfile/effect_loading.h"
#include "engine/effect.h"
#include "tests/effectfile/test_support.h"
#include "vesk/path_utils.h"

namespace orv {
namespace {

// The shipped examples are what a user opens first: each must load, and be exactly what the editor
// would save, so that opening and saving one changes nothing. (That every example draws with its
// textures is pinned by the golden frames of the export tests.)
TEST(ExamplesTest, EveryExampleLoadsAndIsInTheSavedForm) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORV_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".orv") continue;
        ++count;
        const std::u16string path = vesk::FromNativePath(entry.path());
        Effect effect;
        ASSERT_TRUE(LoadEffect(effect, path, false).loaded) << entry.path();
        EXPECT_EQ(test::EffectText(effect, path), test::ReadFileBytes(entry.path())) << entry.path();
    }
    EXPECT_GE(count, 4);
}

}  // namespace
}  // namespace orv
