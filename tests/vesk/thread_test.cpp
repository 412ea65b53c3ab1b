#include "vesk/thread.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "vesk/task_pool.h"

namespace {

using namespace std::chrono_literals;

// A worker whose Run is the given body.
struct Worker : vesk::CThread {
    explicit Worker(std::function<void(Worker&)> body) : body(std::move(body)) {}
    ~Worker() override { Stop(); }
    void Run() override { ++runs, body(*this); }
    std::function<void(Worker&)> body;
    std::atomic<int> runs{0}, units{0}, result{-100};
};

// Works until asked to stop, then records that it saw the request.
void Loop(Worker& w) {
    for (; !w.IsStopRequested(); std::this_thread::sleep_for(1ms)) ++w.units;
    w.result = 0;
}

// The event flag is tested through the thread: Start resets its started signal and waits on it,
// and IsStopRequested reads the stop request's flag.
TEST(Thread, StartStopRequestStopAndRestart) {
    Worker w(Loop);
    EXPECT_EQ(w.Stop(), 0);  // never started
    ASSERT_EQ(w.Start(), 0);
    while (w.units < 2) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(w.Start(), 0);  // stops and joins the running loop first
    EXPECT_EQ(w.result.exchange(-100), 0);
    EXPECT_FALSE(w.IsStopRequested());
    w.RequestStop();  // does not wait
    while (w.result != 0) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(w.Stop(), 0);
    EXPECT_EQ(w.Stop(), 0);
    EXPECT_EQ(w.runs, 2);

    vesk::CThread base;  // the base destructor joins a worker that was never stopped
    EXPECT_EQ(base.Start(), 0);
    EXPECT_EQ(base.Stop(), 0);
    EXPECT_EQ(base.Start(), 0);
}

TEST(Thread, StopFromTheWorkerReturnsTwoAndTheWorkerCanBeRestarted) {
    Worker w([](Worker& self) { self.result = self.Stop(); });  // ends by itself, as the render job does
    for (int i = 0; i < 50; ++i) {
        w.result = -100;
        ASSERT_EQ(w.Start(), 0);
        while (w.result == -100) std::this_thread::sleep_for(1ms);
        EXPECT_EQ(w.result, 2);
    }
    EXPECT_EQ(w.runs, 50);
}

TEST(Thread, ConcurrentStopsNeitherDeadlockNorLeak) {
    Worker w(Loop);
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(w.Start(), 0);
        std::thread a([&] { w.RequestStop(); }), b([&] { w.Stop(); });
        a.join(), b.join();
        EXPECT_EQ(w.Stop(), 0);
    }
    Worker late([](Worker& self) {  // takes the thread lock through RequestStop while Start restarts it
        while (!self.IsStopRequested()) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(5ms);
        self.RequestStop();
    });
    for (int i = 0; i < 20; ++i) ASSERT_EQ(late.Start(), 0);
    EXPECT_EQ(late.Stop(), 0);
}

// Every task running once, batch after batch, on 1, 2, 3 and 7 threads is what the band drawing
// tests (BandDrawing, BandFrames) see: a band drawn twice or not at all changes the frame.
TEST(TaskPool, TheWorkersTakePart) {
    vesk::CTaskPool pool(3);
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> callerTookPart{false};
    // Tasks that wait for one another can only finish when three threads run them at once, so three
    // threads took part; the caller must be one of them.
    std::atomic<int> arrived{0};
    pool.Run(3, [&](std::size_t) {
        ++arrived;
        while (arrived.load() < 3) std::this_thread::yield();
        if (std::this_thread::get_id() == caller) callerTookPart = true;
    });
    EXPECT_TRUE(callerTookPart);
    EXPECT_EQ(vesk::CTaskPool(0).Threads(), 1u);
}

TEST(TaskPool, AFailingTaskIsReportedAfterTheOthersRanAndThePoolGoesOn) {
    vesk::CTaskPool pool(2);
    std::atomic<int> runs{0};
    const auto task = [&](std::size_t index) {
        ++runs;
        if (index == 5) throw std::runtime_error("task 5");
    };
    EXPECT_THROW(pool.Run(8, task), std::runtime_error);
    EXPECT_EQ(runs.load(), 8);
    pool.Run(4, [&](std::size_t) { ++runs; });
    EXPECT_EQ(runs.load(), 12);
}

}  // namespace
