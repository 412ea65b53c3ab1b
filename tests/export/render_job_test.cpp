#include "export/render_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/effect.h"
#include "engine/param_table.h"
#include "engine/settings.h"
#include "export/frame_file_name.h"
#include "image/png_loader.h"
#include "image/texture.h"
#include "vesk/path_utils.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// Records what the job reports and lets the test wait for its end without asking it to stop.
class RecordingProgress final : public RenderProgress {
public:
    void SetRange(int minimum, int maximum) override {
        rangeMin = minimum;
        rangeMax = maximum;
    }
    void SetPosition(int position) override {
        positions.push_back(position);
        if (onPosition) onPosition(positions.size());
    }
    void Finish() override {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++finishCount;
        ended_.notify_all();
    }
    void WaitForFinish() {
        std::unique_lock<std::mutex> lock(mutex_);
        ended_.wait(lock, [this] { return finishCount > 0; });
    }

    int rangeMin = -1;
    int rangeMax = -1;
    std::vector<int> positions;
    int finishCount = 0;
    std::function<void(std::size_t reports)> onPosition;

private:
    std::mutex mutex_;
    std::condition_variable ended_;
};

class RenderJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = CurrentSettings();
        CurrentSettings().screenWidth = 32;
        CurrentSettings().screenHeight = 24;
        dir_ = fs::temp_directory_path() /
               ("orv_export_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);

        // The default emitter with a small white texture, so that frames hold particles.
        auto image = std::make_unique<Texture>();
        image->colour.emplace(4, 4);
        for (std::uint32_t y = 0; y < 4; ++y) {
            for (std::uint32_t x = 0; x < 4; ++x) image->colour->At(x, y) = 0xFFFFFFFFu;
        }
        effect_.EmitterAt(0).texture.SetImage(std::move(image));
    }
    void TearDown() override {
        CurrentSettings() = saved_;
        fs::remove_all(dir_);
    }

    std::u16string Base(const std::string& relative) const {
        return FromNativePath(dir_) + u"/" + Wide(relative);
    }
    static std::u16string Wide(const std::string& ascii) {
        return std::u16string(ascii.begin(), ascii.end());
    }

    // Runs a whole job and waits for its end; the job is joined before returning.
    struct Result {
        std::optional<std::string> failure;
        std::uint64_t written = 0;
    };
    Result Render(std::u16string base, std::uint32_t seconds, std::uint32_t fps,
                  std::function<void(CRenderThread&, std::size_t)> onPosition = {}) {
        progress_ = std::make_unique<RecordingProgress>();
        CRenderThread job(effect_, *progress_, RenderJobConfig{fps, std::move(base), seconds});
        if (onPosition) progress_->onPosition = [&](std::size_t reports) { onPosition(job, reports); };
        EXPECT_EQ(job.Start(), 0);
        progress_->WaitForFinish();
        job.Stop();
        return {job.Failure(), job.FramesWritten()};
    }

    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::vector<std::string> Numbered(const std::string& title, int count) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%06d", i);
            names.push_back(title + digits + ".png");
        }
        return names;
    }

    Settings saved_;
    fs::path dir_;
    Effect effect_;
    std::unique_ptr<RecordingProgress> progress_;  // a fresh one for every run
};

TEST(FrameFileNameTest, SixDigitsAtLeastAndMoreWhenNeeded) {
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 0), u"/out/fire000000.png");
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 59), u"/out/fire000059.png");
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 999999), u"/out/fire999999.png");
    EXPECT_EQ(FrameFileName(u"/out/", u"fire", 1000000), u"/out/fire1000000.png");
    // Past the 32-bit range a "%06d" of an int would have wrapped.
    EXPECT_EQ(FrameFileName(u"", u"", 257698037699ull), u"257698037699.png");
}

TEST_F(RenderJobTest, ExtensionOfTheBaseIsReplaced) {
    EXPECT_FALSE(Render(Base("fire.png"), 1, 15).failure);
    EXPECT_EQ(Files(), Numbered("fire", 15));
}

TEST_F(RenderJobTest, BaseWithoutExtensionGivesTheSameNames) {
    EXPECT_FALSE(Render(Base("fire"), 1, 15).failure);
    EXPECT_EQ(Files(), Numbered("fire", 15));
}

TEST_F(RenderJobTest, FolderAsBaseGivesBareNumbers) {
    EXPECT_FALSE(Render(Base(""), 1, 15).failure);
    EXPECT_EQ(Files(), Numbered("", 15));
}

TEST_F(RenderJobTest, TwoSecondsAtThirtyFpsReportProgressPerFrame) {
    const Result result = Render(Base("fire.png"), 2, 30);
    EXPECT_FALSE(result.failure);
    EXPECT_EQ(result.written, 60u);
    EXPECT_EQ(Files().size(), 60u);
    EXPECT_EQ(progress_->rangeMin, 0);
    EXPECT_EQ(progress_->rangeMax, 1000);
    ASSERT_EQ(progress_->positions.size(), 61u);  // 0 at the start, then one per frame
    EXPECT_EQ(progress_->positions[0], 0);
    EXPECT_EQ(progress_->positions[1], 16);
    EXPECT_EQ(progress_->positions[2], 33);
    EXPECT_EQ(progress_->positions[3], 50);
    EXPECT_EQ(progress_->positions[59], 983);
    EXPECT_EQ(progress_->positions[60], 1000);
    EXPECT_EQ(progress_->finishCount, 1);
}

TEST_F(RenderJobTest, ZeroSecondsWritesNothingAndFinishes) {
    const Result result = Render(Base("fire"), 0, 60);
    EXPECT_FALSE(result.failure);
    EXPECT_EQ(result.written, 0u);
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(progress_->positions, std::vector<int>{0});
    EXPECT_EQ(progress_->finishCount, 1);
}

TEST_F(RenderJobTest, CancelAfterFrameKKeepsFramesZeroToK) {
    constexpr std::size_t k = 4;
    // The first report is the start's 0, so report k + 2 follows frame k.
    const Result result = Render(Base("fire"), 10, 60, [](CRenderThread& job, std::size_t reports) {
        if (reports == k + 2) job.RequestStop();
    });
    EXPECT_FALSE(result.failure);
    EXPECT_EQ(result.written, k + 1);
    EXPECT_EQ(Files(), Numbered("fire", k + 1));
    EXPECT_EQ(progress_->finishCount, 1);
}

TEST_F(RenderJobTest, MissingFolderEndsTheRunAtOnceWithOneReport) {
    const Result result = Render(Base("missing/fire.png"), 10, 60);
    ASSERT_TRUE(result.failure);
    EXPECT_NE(result.failure->find("missing/fire000000.png"), std::string::npos) << *result.failure;
    EXPECT_NE(result.failure->find("No such file or directory"), std::string::npos) << *result.failure;
    EXPECT_EQ(result.written, 0u);
    EXPECT_EQ(progress_->positions, std::vector<int>{0});
    EXPECT_EQ(progress_->finishCount, 1);
    EXPECT_TRUE(Files().empty());
}

TEST_F(RenderJobTest, FrameThatCannotBeWrittenKeepsTheEarlierOnes) {
    fs::create_directory(dir_ / "fire000002.png");  // a folder where frame 2 should go
    const Result result = Render(Base("fire"), 10, 60);
    ASSERT_TRUE(result.failure);
    EXPECT_NE(result.failure->find("fire000002.png"), std::string::npos) << *result.failure;
    EXPECT_EQ(result.written, 2u);
    EXPECT_TRUE(fs::exists(dir_ / "fire000000.png"));
    EXPECT_TRUE(fs::exists(dir_ / "fire000001.png"));
    EXPECT_FALSE(fs::exists(dir_ / "fire000003.png"));
    EXPECT_EQ(progress_->positions.size(), 3u);
}

TEST_F(RenderJobTest, BackgroundAlphaReachesTheFile) {
    // The bottom-left corner stays untouched: the default emitter sprays from the centre upwards.
    CurrentSettings().screenWidth = 200;
    CurrentSettings().screenHeight = 150;
    const auto cornerAlpha = [&](std::int32_t bgAlphaRaw) {
        effect_.SetBackgroundRaw(kBgR, 250);
        effect_.SetBackgroundRaw(kBgA, bgAlphaRaw);
        EXPECT_FALSE(Render(Base("bg"), 1, 15).failure);
        const TexturePtr frame = LoadPng(Base("bg000000.png"));
        return frame->colour->At(0, 149) >> 24;
    };
    EXPECT_EQ(cornerAlpha(0), 0u);
    EXPECT_EQ(cornerAlpha(1000), 255u);
}

TEST_F(RenderJobTest, FrameTooLargeToAllocateIsReported) {
    CurrentSettings().screenWidth = 0xFFFFFFFFu;
    CurrentSettings().screenHeight = 0xFFFFFFFFu;
    const Result result = Render(Base("fire"), 1, 15);
    ASSERT_TRUE(result.failure);
    EXPECT_NE(result.failure->find("cannot allocate"), std::string::npos) << *result.failure;
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(progress_->finishCount, 1);
}

}  // namespace
}  // namespace orv
