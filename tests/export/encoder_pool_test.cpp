#include "export/encoder_pool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

namespace orv {
namespace {

using namespace std::chrono_literals;

// Draws `count` frames through a pool the way the render job does; returns how many were submitted.
std::uint64_t Drive(EncoderPool& pool, std::uint64_t count) {
    std::uint64_t i = 0;
    for (; i < count; ++i) {
        std::optional<FrameBuffer> frame = pool.TakeFrame();
        if (!frame) break;
        frame->At(0, 0) = static_cast<std::uint32_t>(i);
        pool.Submit(i, std::move(*frame));
    }
    pool.Finish();
    return i;
}

TEST(EncoderPoolTest, FramesFinishingOutOfOrderAreReportedInOrderWithBoundedFrames) {
    for (const unsigned threads : {0u, 1u, 3u}) {
        std::mutex mutex;
        std::vector<std::uint64_t> reports;
        std::set<const std::uint32_t*> buffers;
        int busy = 0, mostBusy = 0;
        const auto encode = [&](std::uint64_t index, const FrameBuffer& frame) -> std::optional<std::string> {
            EXPECT_EQ(frame.At(0, 0), index);  // the pixels drawn for this frame
            std::unique_lock<std::mutex> lock(mutex);
            mostBusy = std::max(mostBusy, ++busy);
            buffers.insert(frame.Row(0));
            lock.unlock();
            std::this_thread::sleep_for(index % 3 == 0 ? 6ms : 1ms);  // frames 0, 3, ... lag behind
            lock.lock();
            --busy;
            return std::nullopt;
        };
        EncoderPool pool(threads, encode, [&](std::uint64_t written) { reports.push_back(written); });
        ASSERT_TRUE(pool.AllocateFrames(4, 2));
        EXPECT_EQ(Drive(pool, 40), 40u);

        ASSERT_EQ(reports.size(), 40u) << threads;
        for (std::uint64_t i = 0; i < 40; ++i) EXPECT_EQ(reports[i], i + 1) << threads;  // in order
        EXPECT_EQ(buffers.size(), EncoderPool::FrameCount(threads)) << threads;
        EXPECT_LE(mostBusy, static_cast<int>(std::max(threads, 1u))) << threads;
    }
}

TEST(EncoderPoolTest, TheLowestFailureWinsAndLaterWrittenFramesAreListed) {
    // Frame 3 fails only once frames 4 and 5 are written, as a slow disk might make it.
    std::mutex mutex;
    std::condition_variable changed;
    std::set<std::uint64_t> done;
    std::vector<std::uint64_t> reports;
    const auto encode = [&](std::uint64_t index, const FrameBuffer&) -> std::optional<std::string> {
        std::unique_lock<std::mutex> lock(mutex);
        if (index == 3) {
            changed.wait_for(lock, 5s, [&] { return done.count(4) && done.count(5); });
            return "frame 3 failed";
        }
        if (index == 7) return "frame 7 failed";
        done.insert(index);
        changed.notify_all();
        return std::nullopt;
    };
    EncoderPool pool(3, encode, [&](std::uint64_t written) { reports.push_back(written); });
    ASSERT_TRUE(pool.AllocateFrames(4, 2));
    EXPECT_LT(Drive(pool, 100), 100u);  // no frame is handed out after the failure
    ASSERT_TRUE(pool.FirstFailure());
    EXPECT_EQ(std::tie(pool.FirstFailure()->index, pool.FirstFailure()->text),
              std::tuple(3u, "frame 3 failed"));
    EXPECT_EQ(reports, (std::vector<std::uint64_t>{1, 2, 3}));
    const std::vector<std::uint64_t> past = pool.WrittenPastFailure();
    ASSERT_GE(past.size(), 2u);
    EXPECT_EQ(std::vector(past.begin(), past.begin() + 2), (std::vector<std::uint64_t>{4, 5}));
    for (const std::uint64_t index : past) EXPECT_GT(index, 3u);
}

}  // namespace
}  // namespace orv
