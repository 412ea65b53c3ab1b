#include <sys/mman.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "effectfile/effect_loading.h"
#include "effectfile/effect_writer.h"
#include "engine/effect.h"
#include "vesk/path_utils.h"
#include "vesk/stream.h"

namespace orv {
namespace {

// The shipped examples are what a user opens first: each must load with every texture, and be
// exactly what the editor would save, so that opening and saving one changes nothing.
TEST(ExamplesTest, EveryExampleLoadsWithItsTexturesAndIsInTheSavedForm) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORV_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".orv") continue;
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        const std::u16string path = vesk::FromNativePath(entry.path());
        Effect effect;
        ASSERT_TRUE(LoadEffect(effect, path, false).loaded);
        for (std::size_t i = 0; i < effect.Count(); ++i)
            EXPECT_NE(effect.EmitterAt(i).texture.Image(), nullptr) << i;

        vesk::CBasicStream written(memfd_create("effect", 0));
        WriteEffect(effect, written, path);
        std::string text(written.GetSize(), '\0');
        written.Seek(0, vesk::kSeekBegin);
        EXPECT_EQ(written.Read(text.data(), static_cast<std::uint32_t>(text.size())), text.size());
        std::ifstream in(entry.path(), std::ios::binary);
        EXPECT_EQ(text, std::string(std::istreambuf_iterator<char>(in), {}));
    }
    EXPECT_GE(count, 4);
}

}  // namespace
}  // namespace orv
