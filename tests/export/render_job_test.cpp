#include "export/render_job.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "effectfile/effect_loading.h"
#include "engine/param_table.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "export/frame_file_name.h"
#include "image/png_loader.h"
#include "tests/support/temp_folder.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// Records what the job reports; `onPosition` sees the number of position reports so far.
struct Recorder final : RenderProgress {
    void SetRange(int minimum, int maximum) override { range = {minimum, maximum}; }
    void SetPosition(int position) override {
        positions.push_back(position);
        if (onPosition) onPosition(positions.size());
    }
    void Finish() override { ++finished; }
    std::pair<int, int> range{-1, -1};
    std::vector<int> positions;
    std::function<void(std::size_t)> onPosition;
    std::atomic<int> finished{0};
};

class RenderJobTest : public ::testing::Test {
protected:
    // Runs a whole job, waits for its end without asking it to stop, and joins it. Returns the
    // failure that ended it, empty when none did.
    std::string Render(const std::string& base, std::uint32_t seconds, std::uint32_t fps,
                       std::function<void(CRenderThread&, std::size_t)> onPosition = {}) {
        return Render(RenderJobConfig{fps, (dir_ / base).u16string(), seconds, settings_, threads_, compression_},
                      std::move(onPosition));
    }
    std::string Render(RenderJobConfig config, std::function<void(CRenderThread&, std::size_t)> onPosition = {}) {
        progress_ = std::make_unique<Recorder>();
        CRenderThread job(effect_, *progress_, std::move(config));
        if (onPosition) progress_->onPosition = [&](std::size_t reports) { onPosition(job, reports); };
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
        for (const std::string& name : test::FileNamesIn(dir_)) files[name] = test::ReadFileBytes(dir_ / name);
        TakeFiles();
        return files;
    }

    // The files in the folder, emptying it.
    std::vector<std::string> TakeFiles() const {
        const std::vector<std::string> names = test::FileNamesIn(dir_);
        for (const std::string& name : names) fs::remove_all(dir_ / name);
        return names;
    }

    static std::vector<std::string> Numbered(const std::string& title, std::size_t count) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < count; ++i)
            names.push_back(title + std::to_string(1000000 + i).substr(1) + ".png");
        return names;
    }

    SettingsSnapshot settings_{32, 24};
    unsigned threads_ = 1;
    PngCompression compression_ = PngCompression::kDefault;
    const test::TempFolder folder_{"orv-export-"};
    const fs::path dir_ = folder_.Path();
    Effect effect_;
    std::unique_ptr<Recorder> progress_;  // a fresh one for every run
    std::uint64_t written_ = 0;
};

TEST(FrameFileNameTest, SixDigitsAtLeastAndMoreWhenNeeded) {
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 59), u"/out/fire000059.png");
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 999999), u"/out/fire999999.png");
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 1000000), u"/out/fire1000000.png");
    EXPECT_EQ(FrameFileName(u"", u"", 257698037699ull), u"257698037699.png");  // past 32 bits
}

TEST_F(RenderJobTest, FilesTakeTheFolderAndTitleOfTheBase) {
    for (const auto& [base, title] :
         {std::pair<std::string, std::string>{"fire.png", "fire"}, {"fire", "fire"}, {"", ""}}) {
        EXPECT_EQ(Render(base, 1, 15), "") << base;
        EXPECT_EQ(TakeFiles(), Numbered(title, 15)) << base;
    }
}

TEST_F(RenderJobTest, ProgressGoesFromZeroToAThousandOncePerFrame) {
    EXPECT_EQ(Render("fire", 2, 30), "");
    EXPECT_EQ(written_, 60u);
    EXPECT_EQ(TakeFiles().size(), 60u);
    EXPECT_EQ(progress_->range, std::make_pair(0, 1000));
    ASSERT_EQ(progress_->positions.size(), 61u);  // 0 at the start, then one per frame
    for (const int i : {0, 1, 2, 3, 59, 60}) EXPECT_EQ(progress_->positions[i], i * 1000 / 60) << i;

    EXPECT_EQ(Render("fire", 0, 60), "");  // no frames: nothing written, the display still closes
    EXPECT_EQ(written_, 0u);
    EXPECT_TRUE(TakeFiles().empty());
    EXPECT_EQ(progress_->positions, std::vector<int>{0});
}

TEST_F(RenderJobTest, CancelAfterFrameKKeepsAnUnbrokenRunFromFrameZero) {
    constexpr std::size_t k = 4;  // the first report is the start's 0, so report k + 2 follows frame k
    const auto stopAfterFrameK = [](CRenderThread& job, std::size_t reports) {
        if (reports == k + 2) job.RequestStop();
    };
    for (const unsigned threads : {1u, 3u}) {
        threads_ = threads;
        EXPECT_EQ(Render("fire", 10, 60, stopAfterFrameK), "");
        // Sequentially the stop is seen right after frame k; with encoders, after the frame being
        // drawn when frame k was reported, and every frame before it is written.
        if (threads == 1) {
            EXPECT_EQ(written_, k + 1);
        }
        EXPECT_GE(written_, k + 1);
        EXPECT_LT(written_, 600u);
        EXPECT_EQ(TakeFiles(), Numbered("fire", written_)) << threads;
    }
}

TEST_F(RenderJobTest, AFrameThatCannotBeWrittenLeavesExactlyTheFramesBeforeIt) {
    for (const unsigned threads : {1u, 3u}) {
        threads_ = threads;
        std::string failure = Render("missing/fire.png", 10, 60);
        EXPECT_NE(failure.find("missing/fire000000.png\": No such file or directory"), std::string::npos)
            << failure;
        EXPECT_EQ(progress_->positions, std::vector<int>{0});
        EXPECT_TRUE(TakeFiles().empty());

        // A folder where frame 5 should go: the encoders may have written frames 6 and on already.
        fs::create_directory(dir_ / "fire000005.png");
        failure = Render("fire", 10, 60);
        EXPECT_NE(failure.find("fire000005.png"), std::string::npos) << failure;
        EXPECT_EQ(written_, 5u);
        std::vector<std::string> expected = Numbered("fire", 6);  // the folder keeps frame 5's name
        EXPECT_EQ(TakeFiles(), expected) << threads;
        EXPECT_EQ(progress_->positions.size(), 6u);

        settings_.frameWidth = settings_.frameHeight = 0xFFFFFFFFu;
        failure = Render("fire", 1, 15);
        EXPECT_NE(failure.find("cannot allocate"), std::string::npos) << failure;
        EXPECT_TRUE(TakeFiles().empty());
        settings_ = {32, 24};
    }
}

TEST_F(RenderJobTest, BackgroundAlphaReachesTheFile) {
    // The default emitter has no texture and draws nothing: every pixel is the background.
    settings_ = {200, 150};
    for (const std::int32_t alpha : {0, 1000}) {
        effect_.SetBackgroundRaw(kBgA, alpha);
        EXPECT_EQ(Render("bg", 1, 15), "");
        EXPECT_EQ(LoadPng((dir_ / "bg000000.png").u16string())->colour->At(0, 149) >> 24,
                  alpha == 0 ? 0u : 255u);
    }
}

// Frames of a range, and frames after a start offset, are the very frames of a whole render.
TEST_F(RenderJobTest, RangesAndStartOffsetsWriteTheFramesOfTheWholeRender) {
    ASSERT_TRUE(LoadEffect(effect_, fs::path(ORV_SOURCE_DIR "/examples/fire.orv").u16string(), false).loaded);
    effect_.SetSeed(5);  // every run in this process starts from the same draws
    settings_ = {48, 64};
    const auto config = [&](std::uint64_t warmUp, std::uint64_t first, std::uint64_t last) {
        RenderJobConfig c{15, (dir_ / "f").u16string(), 2, settings_, threads_, compression_};
        c.warmUpSteps = warmUp;
        c.firstFrame = first;
        c.lastFrame = last;
        return c;
    };
    ASSERT_EQ(Render(config(0, 0, UINT64_MAX)), "");
    const std::map<std::string, std::string> whole = TakeFileBytes();
    ASSERT_EQ(whole.size(), 30u);
    ASSERT_NE(whole.at("f000010.png"), whole.at("f000011.png"));  // the frames move

    struct Case {
        std::uint64_t warmUp, first, last;
        std::vector<std::uint64_t> written;  // frame numbers
        std::uint64_t shift;                 // frame n shows frame n + shift of the whole render
    };
    const Case cases[] = {
        {0, 10, 13, {10, 11, 12, 13}, 0}, {0, 29, 29, {29}, 0},   {0, 27, 1000, {27, 28, 29}, 0},
        {0, 30, 40, {}, 0},               {7, 0, 2, {0, 1, 2}, 7}, {7, 20, 22, {20, 21, 22}, 7},
    };
    for (const Case& c : cases) {
        threads_ = c.first % 2 == 0 ? 1 : 3;  // drawn and written in turn, or by writer threads
        ASSERT_EQ(Render(config(c.warmUp, c.first, c.last)), "");
        const std::map<std::string, std::string> files = TakeFileBytes();
        EXPECT_EQ(written_, c.written.size());
        ASSERT_EQ(files.size(), c.written.size()) << c.first;
        for (const std::uint64_t n : c.written) {
            const std::string name = Numbered("f", n + 1).back();
            ASSERT_TRUE(files.count(name)) << name;
            EXPECT_EQ(files.at(name), whole.at(Numbered("f", n + c.shift + 1).back()))
                << name << " warm-up " << c.warmUp;
        }
        if (!c.written.empty()) {
            EXPECT_EQ(progress_->positions.back(), 1000);
        }
    }
    // The compression reaches the files (that every compression keeps the pixels is the PNG
    // writer's test).
    compression_ = PngCompression::kFast;
    ASSERT_EQ(Render(config(0, 0, UINT64_MAX)), "");
    EXPECT_TRUE(TakeFileBytes() != whole) << "the fast files are the default ones";
}

}  // namespace
}  // namespace orv
