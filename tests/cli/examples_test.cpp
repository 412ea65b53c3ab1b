#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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

namespace fs = std::filesystem;

// Collects what the effect writer produces.
class StringStream final : public vesk::CStream {
public:
    std::uint32_t Read(void*, std::uint32_t) override { return 0; }
    std::uint32_t Write(const void* buffer, std::uint32_t size) override {
        text.append(static_cast<const char*>(buffer), size);
        return size;
    }
    bool Seek(std::int32_t, int) override { return false; }
    std::uint32_t Tell() override { return static_cast<std::uint32_t>(text.size()); }
    std::uint32_t GetSize() override { return static_cast<std::uint32_t>(text.size()); }

    std::string text;
};

// The shipped examples are what a user opens first: each must load with every texture, and be
// exactly what the editor would save, so that opening and saving one changes nothing.
TEST(ExamplesTest, EveryExampleLoadsWithItsTexturesAndIsInTheSavedForm) {
    const fs::path folder = fs::path(ORV_SOURCE_DIR) / "examples";
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".orv") continue;
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        const std::u16string path = FromNativePath(entry.path());

        Effect effect;
        const LoadOutcome outcome = LoadEffect(effect, path, false);
        ASSERT_TRUE(outcome.loaded);
        for (std::size_t i = 0; i < effect.Count(); ++i) {
            EXPECT_NE(effect.EmitterAt(i).texture.Image(), nullptr) << "emitter " << i;
        }

        StringStream written;
        WriteEffect(effect, written, path);
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(written.text, original);
    }
    EXPECT_GE(count, 4);
}

}  // namespace
}  // namespace orv
