#include "vesk/task_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(TaskPool, RunsEveryTaskOnceOnSeveralThreadsBatchAfterBatch) {
    for (std::size_t threads : {0u, 1u, 2u, 5u}) {
        CTaskPool pool(threads);
        EXPECT_EQ(pool.Threads(), threads == 0 ? 1u : threads);
        for (std::size_t count : {0u, 1u, 3u, 64u}) {
            for (int batch = 0; batch < 20; ++batch) {
                std::vector<std::atomic<int>> runs(count);
                pool.Run(count, [&](std::size_t index) { ++runs[index]; });
                for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(runs[i].load(), 1) << threads << "/" << i;
            }
        }
    }
}

TEST(TaskPool, TheWorkersTakePart) {
    CTaskPool pool(3);
    std::mutex lock;
    std::set<std::thread::id> seen;
    // Tasks that wait for one another can only finish when three threads run them at once.
    std::atomic<int> arrived{0};
    pool.Run(3, [&](std::size_t) {
        ++arrived;
        while (arrived.load() < 3) std::this_thread::yield();
        std::lock_guard<std::mutex> hold(lock);
        seen.insert(std::this_thread::get_id());
    });
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen.count(std::this_thread::get_id()));
}

TEST(TaskPool, AFailingTaskIsReportedAfterTheOthersRanAndThePoolGoesOn) {
    CTaskPool pool(2);
    std::atomic<int> runs{0};
    EXPECT_THROW(pool.Run(8,
                          [&](std::size_t index) {
                              ++runs;
                              if (index == 5) throw std::runtime_error("task 5");
                          }),
                 std::runtime_error);
    EXPECT_EQ(runs.load(), 8);
    runs = 0;
    pool.Run(4, [&](std::size_t) { ++runs; });
    EXPECT_EQ(runs.load(), 4);
}

}  // namespace
