// Every output format, decoded by a reader independent of its writer, against the PNG sequence of
// the same render.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "effectfile/effect_loading.h"
#include "effectfile/json_parser.h"
#include "engine/param_table.h"
#include "engine/random.h"
#include "export/render_job.h"
#include "export/sheet_layout.h"
#include "tests/export/format_decoders.h"
#include "tests/support/temp_folder.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::Image;

constexpr std::uint32_t kFps = 15;
constexpr std::size_t kFrames = 15;

struct NoProgress final : RenderProgress {
    void SetRange(int, int) override {}
    void SetPosition(int) override { ++positions; }
    void Finish() override {}
    int positions = 0;
};

// An absent number reads as ~0u.
std::uint32_t Number(const JsonValue* value) {
    return value != nullptr ? static_cast<std::uint32_t>(std::stoul(value->text)) : ~0u;
}

PixelRect Rect(const JsonValue& object) {
    return {Number(object.Find("x")), Number(object.Find("y")), Number(object.Find("w")), Number(object.Find("h"))};
}

Image Cut(const Image& image, const PixelRect& rect) {
    Image part{rect.width, rect.height, {}};
    for (std::uint32_t y = rect.y; y < rect.y + rect.height; ++y) {
        for (std::uint32_t x = rect.x; x < rect.x + rect.width; ++x) part.pixels.push_back(image.pixels[y * image.width + x]);
    }
    return part;
}

// The fire example over a transparent ground, so the frames carry every alpha value.
class OutputFormatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadEffect(effect_, (fs::path(ORV_SOURCE_DIR) / "examples" / "fire.orv").u16string(), false).loaded);
        effect_.SetBackgroundRaw(kBgA, 0);
        ASSERT_EQ(Render(OutputFormat::kPngSequence, "seq/f"), "");
        for (std::size_t i = 0; i < kFrames; ++i) {
            reference_.push_back(test::ReadPng(dir_ / "seq" / ("f" + std::to_string(1000000 + i).substr(1) + ".png")));
            ASSERT_EQ(reference_.back().width, 64u);
        }
        ASSERT_NE(reference_.front(), reference_.back());  // the effect moves
    }
    // Renders one second at 15 frames per second into `base`; the failure text, empty when none.
    std::string Render(OutputFormat format, const std::string& base, const StopRequested& stop = [] { return false; }) {
        config_.format = format;
        config_.outputBasePath = (dir_ / base).u16string();
        fs::create_directories((dir_ / base).parent_path());
        ResetRandomForTesting();  // the generator is process-wide: each render starts it afresh
        NoProgress progress;
        result_ = RenderEffect(effect_, config_, progress, stop);
        return result_.failure.value_or("");
    }

    // Renders into a folder of its own, which must then hold one file: its path.
    fs::path RenderOneFile(OutputFormat format, const std::string& folder) {
        EXPECT_EQ(Render(format, folder + "/f"), "");
        const std::vector<std::string> files = test::FileNamesIn(dir_ / folder);
        EXPECT_EQ(files.size(), 1u) << folder;
        return files.empty() ? fs::path() : dir_ / folder / files.front();
    }

    // An animation rendered into a folder of its own and read back: the file must be `name` and
    // loop forever.
    test::Animation RenderAnimation(OutputFormat format, const std::string& folder, const std::string& name,
                                    test::Animation (*read)(const fs::path&)) {
        const fs::path file = RenderOneFile(format, folder);
        EXPECT_EQ(file.filename(), name);
        test::Animation animation = read(file);
        EXPECT_EQ(animation.error, "");
        EXPECT_EQ(animation.loops, 0) << name;
        return animation;
    }

    const test::TempFolder folder_{"orv-formats-"};
    const fs::path dir_ = folder_.Path();
    Effect effect_;
    RenderJobConfig config_{kFps, {}, 1, SettingsSnapshot{64, 48}, 1};
    RenderResult result_;
    std::vector<Image> reference_;
};

TEST_F(OutputFormatsTest, AnimatedPngHoldsTheSequencesFramesWithValidChunks) {
    std::string bytes;
    for (const unsigned threads : {1u, 3u}) {
        config_.threads = threads;
        const fs::path file = RenderOneFile(OutputFormat::kAnimatedPng, "apng");
        EXPECT_EQ(file.filename(), "f.png");
        EXPECT_EQ(result_.framesWritten, kFrames);
        const test::AnimatedPng apng = test::ReadAnimatedPng(file);
        ASSERT_EQ(apng.error, "");
        EXPECT_EQ(apng.plays, 0u);  // forever
        EXPECT_TRUE(apng.defaultImageIsFirstFrame);
        EXPECT_EQ(apng.frames, reference_);
        for (const test::FrameControl& control : apng.controls) {
            EXPECT_EQ(std::vector<std::uint32_t>({control.width, control.height, control.x, control.y, control.delayNumerator,
                                                  control.delayDenominator, control.dispose, control.blend}),
                      std::vector<std::uint32_t>({64, 48, 0, 0, 1, kFps, 0, 0}));
        }
        // A viewer without animation shows the first frame.
        EXPECT_EQ(test::ReadPng(file), reference_.front());
        const std::string written = test::ReadFileBytes(file);
        if (bytes.empty()) bytes = written;
        EXPECT_EQ(written, bytes) << threads << " threads";
    }
}

TEST_F(OutputFormatsTest, LosslessWebpHoldsTheSequencesFramesAndLossyStaysClose) {
    const test::Animation lossless = RenderAnimation(OutputFormat::kAnimatedWebp, "webp", "f.webp", test::ReadWebp);
    EXPECT_EQ(lossless.frames, reference_);
    // Frame i ends at (i + 1) / 15 s, rounded to the millisecond.
    ASSERT_EQ(lossless.endTimesMs.size(), kFrames);
    EXPECT_EQ(lossless.endTimesMs[0], 67);
    EXPECT_EQ(lossless.endTimesMs[kFrames - 1], 1000);

    config_.webpQuality = 60;
    const test::Animation lossy = RenderAnimation(OutputFormat::kAnimatedWebp, "lossy", "f.webp", test::ReadWebp);
    ASSERT_EQ(lossy.frames.size(), kFrames);
    EXPECT_LT(fs::file_size(dir_ / "lossy" / "f.webp"), fs::file_size(dir_ / "webp" / "f.webp"));
    for (std::size_t i = 0; i < kFrames; ++i) {
        double alphaError = 0;
        for (std::size_t p = 0; p < reference_[i].pixels.size(); ++p) {
            alphaError += std::abs(int(lossy.frames[i].pixels[p] >> 24) - int(reference_[i].pixels[p] >> 24));
        }
        EXPECT_LT(alphaError / reference_[i].pixels.size(), 4.0) << "frame " << i;
    }
}

TEST_F(OutputFormatsTest, GifKeepsTheTransparencyMaskAndColoursCloseToTheFrames) {
    const test::Animation gif = RenderAnimation(OutputFormat::kAnimatedGif, "gif", "f.gif", test::ReadGif);
    ASSERT_EQ(gif.frames.size(), kFrames);
    int centiseconds = 0;
    for (const int delay : gif.endTimesMs) centiseconds += delay;
    EXPECT_EQ(centiseconds, 100);  // one second, though 1/15 s is no whole number of centiseconds
    for (std::size_t i = 0; i < kFrames; ++i) {
        int worst = 0;
        double total = 0;
        std::size_t shown = 0;
        for (std::size_t p = 0; p < reference_[i].pixels.size(); ++p) {
            const std::uint32_t want = reference_[i].pixels[p];
            const std::uint32_t got = gif.frames[i].pixels[p];
            ASSERT_EQ(got >> 24, (want >> 24) >= 128 ? 255u : 0u) << "frame " << i << " pixel " << p;
            if ((got >> 24) == 0) continue;
            for (const int shift : {0, 8, 16}) {
                const int error = std::abs(int(got >> shift & 0xff) - int(want >> shift & 0xff));
                worst = std::max(worst, error);
                total += error;
            }
            ++shown;
        }
        EXPECT_LE(worst, 48) << "frame " << i;
        if (shown != 0) {
            EXPECT_LE(total / (3.0 * shown), 2.0) << "frame " << i;
        }
    }
}

// Every rectangle of every page's atlas, cut from its page, is the frame's part that the atlas
// names; the frames outside a trimmed part are transparent.
TEST_F(OutputFormatsTest, SheetAtlasesCutBackToEveryFrame) {
    struct Case {
        SheetOptions sheet;
        std::size_t pages;
        std::uint32_t firstPageWidth;  // 0: not checked
    };
    const Case cases[] = {
        {{0, false, kMaxAtlasSide}, 1, 4 * 64},  // 15 frames: the 4 x 4 grid
        {{5, false, kMaxAtlasSide}, 1, 5 * 64},
        {{0, true, kMaxAtlasSide}, 1, 0},
        {{0, false, 130}, 4, 2 * 64},  // 2 x 2 frames a page
        {{3, true, 100}, 0, 0},
    };
    for (const Case& c : cases) {
        config_.sheet = c.sheet;
        const std::string label = "columns " + std::to_string(c.sheet.columns) + (c.sheet.trim ? " trimmed" : "") +
                                  ", pages of " + std::to_string(c.sheet.maxPageSide);
        fs::remove_all(dir_ / "sheet");
        ASSERT_EQ(Render(OutputFormat::kSheet, "sheet/f"), "") << label;
        std::set<std::string> named;
        std::size_t pages = 0;
        for (;; ++pages) {
            const std::string title = pages == 0 ? "f" : "f-" + std::to_string(pages);
            if (!fs::exists(dir_ / "sheet" / (title + ".json"))) break;
            const Image page = test::ReadPng(dir_ / "sheet" / (title + ".png"));
            ASSERT_GT(page.width, 0u) << label;
            EXPECT_LE(std::max(page.width, page.height), c.sheet.maxPageSide) << label;
            if (pages == 0 && c.firstPageWidth != 0) {
                EXPECT_EQ(page.width, c.firstPageWidth) << label;
            }

            const JsonValue atlas = ParseJson(test::ReadFileBytes(dir_ / "sheet" / (title + ".json")));
            const JsonValue* meta = atlas.Find("meta");
            const JsonValue* frames = atlas.Find("frames");
            ASSERT_TRUE(meta != nullptr && frames != nullptr && frames->IsObject()) << label;
            EXPECT_FALSE(meta->Find("version")->text.empty());
            for (const auto& [key, value] : {std::pair<std::string, std::string>{"app", "orv"},
                                             {"image", title + ".png"},
                                             {"format", "RGBA8888"},
                                             {"scale", "1"},
                                             {"frameRate", std::to_string(kFps)}}) {
                EXPECT_EQ(meta->Find(key)->text, value) << key;
            }
            EXPECT_EQ(Rect(*meta->Find("size")), (PixelRect{~0u, ~0u, page.width, page.height}));
            for (const JsonMember& member : frames->members) {
                ASSERT_EQ(member.key.size(), std::string("f000000.png").size()) << member.key;
                const std::size_t index = std::stoul(member.key.substr(1, 6));
                ASSERT_LT(index, kFrames);
                EXPECT_TRUE(named.insert(member.key).second) << member.key << " twice";
                const JsonValue& frame = member.value;
                EXPECT_EQ(frame.Find("rotated")->kind, JsonValue::Kind::kBoolean);
                EXPECT_FALSE(frame.Find("rotated")->boolean);
                const PixelRect onPage = Rect(*frame.Find("frame"));
                const PixelRect inSource = Rect(*frame.Find("spriteSourceSize"));
                EXPECT_EQ(Rect(*frame.Find("sourceSize")), (PixelRect{~0u, ~0u, 64, 48}));
                EXPECT_EQ(frame.Find("trimmed")->boolean, (inSource != PixelRect{0, 0, 64, 48})) << member.key;
                if (!c.sheet.trim) {
                    EXPECT_EQ(inSource, (PixelRect{0, 0, 64, 48}));
                }
                ASSERT_EQ(onPage.width, inSource.width);
                ASSERT_EQ(onPage.height, inSource.height);
                ASSERT_LE(onPage.x + onPage.width, page.width);
                ASSERT_LE(onPage.y + onPage.height, page.height);
                EXPECT_EQ(Cut(page, onPage), Cut(reference_[index], inSource)) << label << ": " << member.key;
                Image outside = reference_[index];
                for (std::uint32_t y = inSource.y; y < inSource.y + inSource.height; ++y)
                    for (std::uint32_t x = inSource.x; x < inSource.x + inSource.width; ++x) outside.pixels[y * 64 + x] = 0;
                EXPECT_TRUE(std::all_of(outside.pixels.begin(), outside.pixels.end(),
                                        [](std::uint32_t pixel) { return pixel >> 24 == 0; }))
                    << label << ": " << member.key << " lost visible pixels";
            }
        }
        EXPECT_EQ(named.size(), kFrames) << label;
        if (c.pages != 0) {
            EXPECT_EQ(pages, c.pages) << label;
        }
        EXPECT_EQ(test::FileNamesIn(dir_ / "sheet").size(), 2 * pages) << label;  // no temporary left
    }
}

// A stopped or failed render of a one-file format leaves what was there before, and nothing else.
TEST_F(OutputFormatsTest, StoppedOrFailedRendersLeaveThePreviousFilesAndNoTemporary) {
    const std::pair<OutputFormat, std::string> formats[] = {{OutputFormat::kSheet, "f.png"},
                                                            {OutputFormat::kAnimatedPng, "f.png"},
                                                            {OutputFormat::kAnimatedWebp, "f.webp"},
                                                            {OutputFormat::kAnimatedGif, "f.gif"}};
    for (const unsigned threads : {1u, 2u}) {
        config_.threads = threads;
        for (const auto& [format, name] : formats) {
            const std::string label = name + ", " + std::to_string(threads) + " threads";
            fs::remove_all(dir_ / "out");
            fs::create_directories(dir_ / "out");
            test::WriteFileBytes(dir_ / "out" / name, "a good file from before");
            int asked = 0;
            EXPECT_EQ(Render(format, "out/f", [&] { return ++asked > 5; }), "") << label;
            EXPECT_EQ(result_.framesWritten, 0u) << label;
            EXPECT_EQ(test::FileNamesIn(dir_ / "out"), std::vector<std::string>{name}) << label;
            EXPECT_EQ(test::ReadFileBytes(dir_ / "out" / name), "a good file from before") << label;

            // A folder in the way of the file: the rename at the end fails.
            fs::remove(dir_ / "out" / name);
            fs::create_directory(dir_ / "out" / name);
            const std::string failure = Render(format, "out/f");
            EXPECT_NE(failure.find((dir_ / "out" / name).string()), std::string::npos) << label << ": " << failure;
            EXPECT_NE(failure.find("Is a directory"), std::string::npos) << label << ": " << failure;
            EXPECT_EQ(result_.framesWritten, 0u) << label;
            EXPECT_EQ(test::FileNamesIn(dir_ / "out"), std::vector<std::string>{name}) << label;

            // Only a sequence names its files by number alone.
            EXPECT_NE(Render(format, "out/").find("names a folder, not a file"), std::string::npos) << label;
            EXPECT_EQ(test::FileNamesIn(dir_ / "out"), std::vector<std::string>{name}) << label;
        }
    }
}

TEST(SheetLayoutTest, GridsCloseToSquareWithinThePageSide) {
    struct Case {
        std::uint64_t frames;
        std::uint32_t cellWidth, cellHeight, columns, maxSide;
        std::uint32_t wantColumns;
        std::uint64_t wantPages;
        std::uint32_t lastPageWidth, lastPageHeight;
    };
    const Case cases[] = {
        {1, 800, 600, 0, 8192, 1, 1, 800, 600},
        {15, 64, 48, 0, 8192, 4, 1, 256, 192},
        {16, 64, 48, 0, 8192, 4, 1, 256, 192},
        {17, 64, 48, 0, 8192, 5, 1, 320, 192},
        {600, 800, 600, 0, 8192, 10, 5, 8000, 4800},  // 130 a page: 80 frames on the last
        {3, 64, 48, 10, 8192, 3, 1, 192, 48},       // more columns than frames
        {5, 8192, 8192, 0, 8192, 1, 5, 8192, 8192},
        {7, 10, 10, 2, 25, 2, 2, 20, 20},           // 4 a page; the last holds 3
    };
    for (const Case& c : cases) {
        const SheetLayout layout(c.frames, c.cellWidth, c.cellHeight, c.columns, c.maxSide);
        const auto last = static_cast<std::uint32_t>(layout.PageCount() - 1);
        EXPECT_EQ(layout.Columns(), c.wantColumns) << c.frames;
        EXPECT_EQ(layout.PageCount(), c.wantPages) << c.frames;
        EXPECT_EQ(layout.PageWidth(last), c.lastPageWidth) << c.frames;
        EXPECT_EQ(layout.PageHeight(last), c.lastPageHeight) << c.frames;
        const PixelRect lastCell = layout.Cell(c.frames - 1);
        EXPECT_LE(lastCell.x + lastCell.width, layout.PageWidth(last));
        EXPECT_LE(lastCell.y + lastCell.height, layout.PageHeight(last));
    }
    EXPECT_THROW(SheetLayout(3, 8193, 10, 0), std::runtime_error);
    EXPECT_THROW(SheetLayout(3, 10, 8193, 0), std::runtime_error);
}

}  // namespace
}  // namespace orv
