#include "export/render_job.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/param_table.h"
#include "engine/settings.h"
#include "export/frame_file_name.h"
#include "image/png_loader.h"

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
    void SetUp() override {
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs a whole job, waits for its end without asking it to stop, and joins it. Returns the
    // failure that ended it, empty when none did.
    std::string Render(const std::string& base, std::uint32_t seconds, std::uint32_t fps,
                       std::function<void(CRenderThread&, std::size_t)> onPosition = {}) {
        progress_ = std::make_unique<Recorder>();
        CRenderThread job(effect_, *progress_, RenderJobConfig{fps, (dir_ / base).u16string(), seconds, settings_});
        if (onPosition) progress_->onPosition = [&](std::size_t reports) { onPosition(job, reports); };
        EXPECT_EQ(job.Start(), 0);
        while (progress_->finished == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        job.Stop();
        EXPECT_EQ(progress_->finished, 1);
        written_ = job.FramesWritten();
        return job.Failure().value_or("");
    }

    // The files in the folder, emptying it.
    std::vector<std::string> TakeFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        for (const std::string& name : names) fs::remove_all(dir_ / name);
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::vector<std::string> Numbered(const std::string& title, std::size_t count) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < count; ++i)
            names.push_back(title + std::to_string(1000000 + i).substr(1) + ".png");
        return names;
    }

    SettingsSnapshot settings_{32, 24};
    const fs::path dir_ = fs::temp_directory_path() / ("orv_export_" + std::to_string(getpid()));
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

TEST_F(RenderJobTest, CancelAfterFrameKKeepsFramesZeroToK) {
    constexpr std::size_t k = 4;  // the first report is the start's 0, so report k + 2 follows frame k
    const auto stopAfterFrameK = [](CRenderThread& job, std::size_t reports) {
        if (reports == k + 2) job.RequestStop();
    };
    EXPECT_EQ(Render("fire", 10, 60, stopAfterFrameK), "");
    EXPECT_EQ(written_, k + 1);
    EXPECT_EQ(TakeFiles(), Numbered("fire", k + 1));
}

TEST_F(RenderJobTest, AFrameThatCannotBeWrittenEndsTheRunAndNamesFileAndReason) {
    std::string failure = Render("missing/fire.png", 10, 60);
    EXPECT_NE(failure.find("missing/fire000000.png\": No such file or directory"), std::string::npos)
        << failure;
    EXPECT_EQ(progress_->positions, std::vector<int>{0});
    EXPECT_TRUE(TakeFiles().empty());

    fs::create_directory(dir_ / "fire000002.png");  // a folder where frame 2 should go
    failure = Render("fire", 10, 60);
    EXPECT_NE(failure.find("fire000002.png"), std::string::npos) << failure;
    EXPECT_EQ(written_, 2u);
    EXPECT_EQ(TakeFiles(), (std::vector<std::string>{"fire000000.png", "fire000001.png", "fire000002.png"}));

    settings_.frameWidth = settings_.frameHeight = 0xFFFFFFFFu;
    failure = Render("fire", 1, 15);
    EXPECT_NE(failure.find("cannot allocate"), std::string::npos) << failure;
    EXPECT_TRUE(TakeFiles().empty());
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

}  // namespace
}  // namespace orv
