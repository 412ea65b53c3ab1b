// The render job: its files, progress, stop and failure guarantees, and every output format read
// back by a reader independent of its writer against the PNG sequence of the same render.
#include "export/render_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "effectfile/effect_loading.h"
#include "effectfile/json_parser.h"
#include "engine/param_table.h"
#include "engine/random.h"
#include "export/frame_file_name.h"
#include "export/sheet_layout.h"
#include "tests/export/format_decoders.h"
#include "tests/support/temp_folder.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::Image;
using ::testing::IsSubstring;

constexpr std::uint32_t kFps = 15, kFrames = kFps;  // the renders last one second

// Records what the job reports; `onPosition` sees the number of position reports so far.
struct Recorder final : RenderProgress {
    void SetRange(int, int) override {}
    void SetPosition(int position) override {
        positions.push_back(position);
        if (onPosition) onPosition(positions.size());
    }
    void Finish() override { ++finished; }
    std::vector<int> positions;
    std::function<void(std::size_t)> onPosition;
    std::atomic<int> finished{0};
};

// An absent number reads as ~0u.
std::uint32_t Number(const JsonValue* value) {
    return value != nullptr ? static_cast<std::uint32_t>(std::stoul(value->text)) : ~0u;
}

PixelRect Rect(const JsonValue& json) {
    return {Number(json.Find("x")), Number(json.Find("y")), Number(json.Find("w")), Number(json.Find("h"))};
}

Image Cut(const Image& image, const PixelRect& rect) {
    Image part{rect.width, rect.height, {}};
    for (std::uint32_t y = rect.y; y < rect.y + rect.height; ++y) {
        const auto row = image.pixels.begin() + y * image.width;
        part.pixels.insert(part.pixels.end(), row + rect.x, row + rect.x + rect.width);
    }
    return part;
}

std::string FrameName(const std::string& title, std::size_t n) {
    return title + std::to_string(1000000 + n).substr(1) + ".png";
}

std::vector<std::string> Numbered(const std::string& title, std::size_t count) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) names.push_back(FrameName(title, i));
    return names;
}

// The fire example over a transparent ground, so the frames carry every alpha value, and its
// sequence of one second at 15 frames per second: the frames every other render is held to.
class RenderJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadEffect(effect_, u"" ORV_SOURCE_DIR "/examples/fire.orv", false).loaded);
        effect_.SetBackgroundRaw(kBgA, 0);
        ASSERT_EQ(Render("f"), "");
        for (const auto& name : Numbered("f", kFrames)) reference_.push_back(test::ReadPng(dir_ / name));
        sequence_ = TakeFileBytes();
        ASSERT_EQ(reference_.back().width, 64u);
        ASSERT_NE(reference_.front(), reference_.back());        // the effect moves
        ASSERT_EQ(reference_.front().pixels.front() >> 24, 0u);  // the corner shows the ground
    }

    // Runs the configured job into `base` on the editor's worker thread, waits for its end without
    // asking it to stop (unless `stopAtReport` position reports came), and joins it. Returns the
    // failure that ended it, empty when none did.
    std::string Render(const std::string& base, std::size_t stopAtReport = 0) {
        config_.outputBasePath = (dir_ / base).u16string();
        ResetRandomForTesting();  // the generator is process-wide: each render starts it afresh
        progress_ = std::make_unique<Recorder>();
        CRenderThread job(effect_, *progress_, config_);
        progress_->onPosition = [&](std::size_t reports) {
            if (reports == stopAtReport) job.RequestStop();
        };
        EXPECT_EQ(job.Start(), 0);
        while (progress_->finished == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        job.Stop();
        EXPECT_EQ(progress_->finished, 1);
        written_ = job.FramesWritten();
        return job.Failure().value_or("");
    }

    // The files in the folder with their bytes, emptying it.
    std::map<std::string, std::string> TakeFileBytes() const {
        std::map<std::string, std::string> files;
        for (const auto& name : test::FileNamesIn(dir_)) files[name] = test::ReadFileBytes(dir_ / name);
        TakeFiles();
        return files;
    }

    // The files in the folder, emptying it.
    std::vector<std::string> TakeFiles() const {
        const std::vector<std::string> names = test::FileNamesIn(dir_);
        for (const std::string& name : names) fs::remove_all(dir_ / name);
        return names;
    }

    const test::TempFolder folder_{"orv-export-"};
    const fs::path dir_ = folder_.Path();
    Effect effect_;
    RenderJobConfig config_{kFps, {}, 1, SettingsSnapshot{64, 48}, 1};
    std::unique_ptr<Recorder> progress_;  // a fresh one for every run
    std::uint64_t written_ = 0;
    std::vector<Image> reference_;
    std::map<std::string, std::string> sequence_;  // the reference's files
};

// (Six digits for small numbers are in every sequence the render tests below write.)
TEST(FrameFileNameTest, SixDigitsAtLeastAndMoreWhenNeeded) {
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 999999), u"/out/fire999999.png");
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 1000000), u"/out/fire1000000.png");
    EXPECT_EQ(FrameFileName(u"", u"", 257698037699ull), u"257698037699.png");  // past 32 bits
}

// The base's extension is dropped. Progress goes from 0 to 1000, once at the start and once per frame.
TEST_F(RenderJobTest, FilesTakeTheFolderAndTitleOfTheBaseAndProgressCountsTheFrames) {
    for (const auto& [base, title] : {std::pair<std::string, std::string>{"fire.png", "fire"}, {"", ""}}) {
        EXPECT_EQ(Render(base), "") << base;
        EXPECT_EQ(TakeFiles(), Numbered(title, kFrames)) << base;
    }
    ASSERT_EQ(progress_->positions.size(), kFrames + 1);
    for (const int i : {0, 1, 2, 3, 14, 15}) EXPECT_EQ(progress_->positions[i], i * 1000 / 15) << i;
    config_.seconds = 0;
    EXPECT_EQ(Render("fire"), "");  // no frames: nothing written, the display still closes
    EXPECT_EQ(written_, 0u);
    EXPECT_TRUE(TakeFiles().empty());
    EXPECT_EQ(progress_->positions, std::vector<int>{0});
}

// A stopped or failed render keeps what it promises: of a sequence, the unbroken run of frames from
// frame 0 and nothing after it; of a one-file format, what was there before and no temporary.
TEST_F(RenderJobTest, StoppedOrFailedRendersKeepTheFramesBeforeOrThePreviousFile) {
    // Each format with the file a folder is put in the way of.
    const std::pair<OutputFormat, std::string> cases[] = {
        {OutputFormat::kPngSequence, "f000005.png"}, {OutputFormat::kSheet, "f.png"},
        {OutputFormat::kAnimatedPng, "f.png"},       {OutputFormat::kAnimatedWebp, "f.webp"},
        {OutputFormat::kAnimatedGif, "f.gif"},
    };
    constexpr std::size_t k = 4;  // the first report is the start's 0, so report k + 2 follows frame k
    config_.framesPerSecond = 60;
    for (const unsigned threads : {1u, 3u}) {
        config_.threads = threads;
        for (const auto& [format, blocked] : cases) {
            SCOPED_TRACE(blocked + ", " + std::to_string(threads) + " threads");
            const bool sequence = format == OutputFormat::kPngSequence;
            config_.format = format;
            std::string failure = Render("missing/f");
            EXPECT_PRED_FORMAT2(IsSubstring, "missing/", failure);
            EXPECT_PRED_FORMAT2(IsSubstring, "No such file or directory", failure);
            EXPECT_EQ(progress_->positions, std::vector<int>{0});
            EXPECT_TRUE(TakeFiles().empty());

            if (!sequence) test::WriteFileBytes(dir_ / blocked, "a good file from before");
            EXPECT_EQ(Render("f", k + 2), "");
            // Sequentially the stop is seen right after frame k; with encoders, after the frame
            // being drawn when frame k was reported, and every frame before it is written.
            EXPECT_TRUE(sequence ? written_ >= k + 1 && written_ < 60 : written_ == 0) << written_;
            EXPECT_TRUE(!sequence || threads != 1 || written_ == k + 1) << written_;
            EXPECT_TRUE(sequence || test::ReadFileBytes(dir_ / blocked) == "a good file from before");
            EXPECT_EQ(TakeFiles(), sequence ? Numbered("f", written_) : std::vector<std::string>{blocked});

            // The encoders may have written frames after the blocked one already.
            fs::create_directory(dir_ / blocked);
            failure = Render("f");
            EXPECT_PRED_FORMAT2(IsSubstring, (dir_ / blocked).string() + "\": Is a directory", failure);
            EXPECT_TRUE(sequence ? written_ == 5 && progress_->positions.size() == 6 : written_ == 0);
            // Of a sequence frames 0 to 4 and the folder as frame 5; else the folder alone.
            EXPECT_EQ(TakeFiles(), sequence ? Numbered("f", 6) : std::vector<std::string>{blocked});

            // Only a sequence names its files by number alone.
            EXPECT_TRUE(sequence || Render("").find("names a folder, not a file") != std::string::npos);
            EXPECT_TRUE(TakeFiles().empty());
        }
    }
    config_.format = OutputFormat::kPngSequence;
    config_.settings = {0xFFFFFFFFu, 0xFFFFFFFFu};
    EXPECT_PRED_FORMAT2(IsSubstring, "cannot allocate", Render("f"));
    EXPECT_TRUE(TakeFiles().empty());
}

// Frames of a range, and frames after a start offset, are the very frames of a whole render.
TEST_F(RenderJobTest, RangesAndStartOffsetsWriteTheFramesOfTheWholeRender) {
    // Warm-up steps, first and last frame: frame n then shows frame n + warm-up of the whole render.
    const std::uint64_t cases[][3] = {{0, 10, 13}, {0, 14, 14}, {0, 12, 1000},
                                      {0, 15, 40}, {7, 0, 2},   {7, 5, 7}};
    for (const auto& [warmUp, first, last] : cases) {
        SCOPED_TRACE("warm-up " + std::to_string(warmUp) + ", from " + std::to_string(first));
        config_.threads = first % 2 == 0 ? 1 : 3;  // drawn and written in turn, or by writer threads
        config_.warmUpSteps = warmUp;
        config_.firstFrame = first;
        config_.lastFrame = last;
        ASSERT_EQ(Render("f"), "");
        std::map<std::string, std::string> expected;  // the frames of the range within the sequence
        for (std::uint64_t n = first; n <= std::min<std::uint64_t>(last, kFrames - 1); ++n)
            expected[FrameName("f", n)] = sequence_.at(FrameName("f", n + warmUp));
        EXPECT_EQ(written_, expected.size());
        EXPECT_TRUE(TakeFileBytes() == expected);
        EXPECT_TRUE(expected.empty() || progress_->positions.back() == 1000);
    }
    // The compression reaches the files (that every compression keeps the pixels is the PNG writer's test).
    config_ = RenderJobConfig{kFps, {}, 1, SettingsSnapshot{64, 48}, 1, PngCompression::kFast};
    ASSERT_EQ(Render("f"), "");
    EXPECT_TRUE(TakeFileBytes() != sequence_) << "the fast files are the default ones";
}

// The largest and the mean error of a colour channel, premultiplied as a viewer lays it over a
// ground, over the pixels of `want` that are seen; `twoLevelAlpha` takes `want` as a GIF shows it.
std::pair<int, double> Error(const Image& want, const Image& got, bool twoLevelAlpha) {
    int worst = 0;
    double total = 0, seen = 0;
    for (std::size_t p = 0; p < want.pixels.size(); ++p) {
        const std::uint32_t wantAlpha = twoLevelAlpha ? (want.pixels[p] >> 31) * 255 : want.pixels[p] >> 24;
        for (const int shift : {0, 8, 16, 24}) {
            const auto premultiplied = [shift](std::uint32_t pixel, std::uint32_t alpha) {
                return shift == 24 ? int(alpha) : int((pixel >> shift & 0xff) * alpha / 255);
            };
            const int error = std::abs(premultiplied(want.pixels[p], wantAlpha) -
                                       premultiplied(got.pixels[p], got.pixels[p] >> 24));
            worst = std::max(worst, error);
            total += wantAlpha != 0 ? error : 0;
        }
        seen += wantAlpha != 0;
    }
    return {worst, seen != 0 ? total / (4 * seen) : 0};
}

// Each animated format read back apart from its writer: the sequence's frames within the format's
// loss, 1/15 s each, played forever, and the same bytes from one thread as from three.
TEST_F(RenderJobTest, AnimationsHoldTheSequencesFramesWithinTheirLoss) {
    struct Case {
        OutputFormat format;
        const char* name;
        WebpQuality quality;
        test::Animation (*read)(const fs::path&);
        int worst;  // largest error of a channel, 0: the very pixels, also under alpha 0
        double mean;
    };
    const Case cases[] = {
        {OutputFormat::kAnimatedPng, "f.png", {}, test::ReadAnimatedPng, 0, 0},
        {OutputFormat::kAnimatedWebp, "f.webp", {}, test::ReadWebp, 0, 0},
        {OutputFormat::kAnimatedWebp, "f.webp", 60, test::ReadWebp, 96, 4},
        {OutputFormat::kAnimatedGif, "f.gif", {}, test::ReadGif, 48, 1.5},
    };
    std::vector<std::size_t> sizes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + (c.quality ? " quality " + std::to_string(*c.quality) : ""));
        config_.webpQuality = c.quality;
        config_.format = c.format;
        config_.threads = 3;
        EXPECT_EQ(Render("f"), "");
        std::map<std::string, std::string> files = TakeFileBytes();
        config_.threads = 1;
        EXPECT_EQ(Render("f"), "");
        const test::Animation animation = c.read(dir_ / c.name);
        EXPECT_TRUE(TakeFileBytes() == files) << "one thread writes what three do";
        sizes.push_back(files[c.name].size());
        EXPECT_EQ(animation.error, "");
        EXPECT_EQ(animation.loops, 0);
        // 1/15 s is no whole number of milliseconds or centiseconds: the frames end on the second.
        EXPECT_NEAR(std::accumulate(animation.delaysMs.begin(), animation.delaysMs.end(), 0.0), 1000, 1e-9);
        for (const double delay : animation.delaysMs) EXPECT_NEAR(delay, 1000.0 / kFps, 7);
        ASSERT_EQ(animation.frames.size(), kFrames);
        for (std::size_t i = 0; i < kFrames; ++i) {
            const auto [worst, mean] = Error(reference_[i], animation.frames[i], c.read == test::ReadGif);
            const bool within =
                c.worst == 0 ? animation.frames[i] == reference_[i] : worst <= c.worst && mean <= c.mean;
            EXPECT_TRUE(within) << "frame " << i << ": " << worst << " at worst, " << mean << " on average";
        }
    }
    EXPECT_LT(sizes[2], sizes[1]) << "lossy WebP no smaller than lossless";
}

std::size_t VisiblePixels(const Image& image) {
    return std::ranges::count_if(image.pixels, [](std::uint32_t pixel) { return pixel >> 24 != 0; });
}

// Every rectangle of every page's atlas, cut from its page, is the frame's part that the atlas
// names, and that part holds all the frame's visible pixels, from one thread as from three.
TEST_F(RenderJobTest, SheetAtlasesCutBackToEveryFrame) {
    // Columns, trimmed, page side; the first page's width (0: not checked); threads. The 15 frames
    // make a 4 x 4 grid, or 2 x 2 frames on each of 4 pages 130 pixels a side. (How many pages a
    // layout takes is the layout's test; that the side reached it, the first page's width shows.)
    const std::uint32_t cases[][5] = {
        {0, false, kMaxAtlasSide, 4 * 64, 1},
        {5, false, kMaxAtlasSide, 5 * 64, 3},
        {0, true, kMaxAtlasSide, 0, 3},
        {0, false, 130, 2 * 64, 3},
        {3, true, 100, 0, 1},
    };
    const PixelRect whole{0, 0, 64, 48};
    config_.format = OutputFormat::kSheet;
    for (const auto& [columns, trim, side, firstPageWidth, threads] : cases) {
        SCOPED_TRACE(::testing::Message() << columns << " columns, trimmed " << trim << ", side " << side);
        config_.sheet = {columns, trim != 0, side};
        config_.threads = threads;
        ASSERT_EQ(Render("f"), "");
        std::set<std::string> named;
        std::size_t pages = 0;
        for (std::string title = "f"; fs::exists(dir_ / (title + ".json"));
             title = "f-" + std::to_string(++pages)) {
            const Image page = test::ReadPng(dir_ / (title + ".png"));
            EXPECT_LE(std::max(page.width, page.height), side);
            EXPECT_TRUE(pages != 0 || firstPageWidth == 0 || page.width == firstPageWidth) << page.width;
            const JsonValue atlas = ParseJson(test::ReadFileBytes(dir_ / (title + ".json")));
            const JsonValue* meta = atlas.Find("meta");
            const JsonValue* frames = atlas.Find("frames");
            ASSERT_TRUE(meta != nullptr && frames != nullptr && frames->IsObject());
            EXPECT_EQ(meta->Find("image")->text, title + ".png");
            EXPECT_EQ(meta->Find("frameRate")->text, std::to_string(kFps));
            EXPECT_EQ(Rect(*meta->Find("size")), (PixelRect{~0u, ~0u, page.width, page.height}));
            for (const auto& [key, frame] : frames->members) {
                SCOPED_TRACE(key);
                ASSERT_TRUE(sequence_.count(key)) << "no frame of the sequence";
                const std::size_t index = std::stoul(key.substr(1));
                EXPECT_TRUE(named.insert(key).second) << "twice";
                const PixelRect onPage = Rect(*frame.Find("frame"));
                const PixelRect inSource = Rect(*frame.Find("spriteSourceSize"));
                EXPECT_EQ(Rect(*frame.Find("sourceSize")), (PixelRect{~0u, ~0u, 64, 48}));
                EXPECT_EQ(frame.Find("trimmed")->boolean, inSource != whole);
                EXPECT_TRUE(trim || inSource == whole);
                ASSERT_TRUE(onPage.x + onPage.width <= page.width && onPage.y + onPage.height <= page.height);
                const Image part = Cut(reference_[index], inSource);
                EXPECT_EQ(Cut(page, onPage), part);
                EXPECT_EQ(VisiblePixels(part), VisiblePixels(reference_[index])) << "visible pixels lost";
            }
        }
        EXPECT_EQ(named.size(), kFrames);
        EXPECT_EQ(TakeFiles().size(), 2 * pages);  // no temporary left
    }
}

TEST(SheetLayoutTest, GridsCloseToSquareWithinThePageSide) {
    // Frames, cell width and height, columns asked for (0: closest to square), page side; then the
    // columns, the pages and the last page's width and height.
    const std::uint64_t cases[][9] = {
        {1, 800, 600, 0, 8192, 1, 1, 800, 600},
        {16, 64, 48, 0, 8192, 4, 1, 256, 192},
        {17, 64, 48, 0, 8192, 5, 1, 320, 192},
        {600, 800, 600, 0, 8192, 10, 5, 8000, 4800},  // 130 a page: 80 frames on the last
        {3, 64, 48, 10, 8192, 3, 1, 192, 48},         // more columns than frames
        {5, 8192, 8192, 0, 8192, 1, 5, 8192, 8192},
    };
    for (const auto& [frames, width, height, columns, side, wantColumns, pages, lastWidth, lastHeight] :
         cases) {
        const SheetLayout grid(frames, width, height, columns, side);
        const auto last = static_cast<std::uint32_t>(grid.PageCount() - 1);
        EXPECT_EQ(std::tuple(grid.Columns(), grid.PageCount(), grid.PageWidth(last), grid.PageHeight(last)),
                  std::tuple(wantColumns, pages, lastWidth, lastHeight))
            << frames;
    }
    EXPECT_THROW(SheetLayout(3, 8193, 10, 0), std::runtime_error);
    EXPECT_THROW(SheetLayout(3, 10, 8193, 0), std::runtime_error);
}

}  // namespace
}  // namespace orv
