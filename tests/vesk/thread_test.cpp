#include "vesk/thread.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "vesk/event_flag.h"

namespace {

using namespace std::chrono_literals;

// Works until asked to stop, counting its units of work.
class LoopThread : public CThread {
public:
    ~LoopThread() override { Stop(); }
    std::atomic<int> runs{0};
    std::atomic<int> units{0};
    std::atomic<bool> stopSeen{false};

protected:
    void Run() override {
        ++runs;
        while (!IsStopRequested()) {
            ++units;
            std::this_thread::sleep_for(1ms);
        }
        stopSeen = true;
    }
};

// Calls Stop on itself from inside Run and records the result.
class SelfStopThread : public CThread {
public:
    ~SelfStopThread() override { Stop(); }
    std::atomic<int> selfStopResult{-100};
    std::atomic<bool> returnedAtOnce{false};

protected:
    void Run() override {
        auto t0 = std::chrono::steady_clock::now();
        selfStopResult = Stop();
        returnedAtOnce = std::chrono::steady_clock::now() - t0 < 2s;
        // Like the render worker: request its own stop at the end.
        RequestStop();
    }
};

// Finishes at once after requesting its own stop (the render worker's ending).
class ShortThread : public CThread {
public:
    ~ShortThread() override { Stop(); }
    std::atomic<int> runs{0};

protected:
    void Run() override {
        StartedSignal().Set();  // as CRenderThread does
        ++runs;
        RequestStop();
    }
};

TEST(EventFlag, SetResetIsSet) {
    CEventFlag f;
    EXPECT_FALSE(f.IsSet());
    f.Set();
    EXPECT_TRUE(f.IsSet());
    EXPECT_EQ(f.Wait(), 0);      // signalled before the wait: returns at once
    EXPECT_TRUE(f.IsSet());      // the flag stays; only the event resets
    EXPECT_EQ(f.WaitFor(10ms), 1);  // auto-reset: consumed
    f.Reset();
    EXPECT_FALSE(f.IsSet());
    f.Set();
    f.Reset();
    EXPECT_EQ(f.WaitFor(10ms), 1);  // Reset clears the event too
}

TEST(EventFlag, WakesWaiterFromOtherThread) {
    CEventFlag f;
    std::thread t([&] {
        std::this_thread::sleep_for(20ms);
        f.Set();
    });
    EXPECT_EQ(f.Wait(), 0);
    EXPECT_TRUE(f.IsSet());
    t.join();
}

TEST(Thread, StopNeverStartedReturnsZero) {
    LoopThread t;
    EXPECT_EQ(t.Stop(), 0);
    EXPECT_EQ(t.Stop(), 0);
    EXPECT_TRUE(t.IsStopRequested());
}

TEST(Thread, BaseRunStartsAndEnds) {
    CThread t;
    EXPECT_EQ(t.Start(), 0);
    EXPECT_EQ(t.Stop(), 0);
    EXPECT_EQ(t.Start(), 0);
}  // destructor joins

TEST(Thread, StartRunsUntilStop) {
    LoopThread t;
    ASSERT_EQ(t.Start(), 0);
    EXPECT_FALSE(t.IsStopRequested());
    while (t.units < 3) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(t.Stop(), 0);
    EXPECT_TRUE(t.stopSeen);
    EXPECT_TRUE(t.IsStopRequested());
    EXPECT_EQ(t.Stop(), 0);
}

TEST(Thread, RequestStopDoesNotWait) {
    LoopThread t;
    ASSERT_EQ(t.Start(), 0);
    t.RequestStop();
    EXPECT_TRUE(t.IsStopRequested());
    while (!t.stopSeen) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(t.Stop(), 0);
}

TEST(Thread, StopFromWorkerReturnsTwoAtOnce) {
    SelfStopThread t;
    ASSERT_EQ(t.Start(), 0);
    while (t.selfStopResult == -100) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(t.Stop(), 0);  // joins the worker
    EXPECT_EQ(t.selfStopResult, 2);
    EXPECT_TRUE(t.returnedAtOnce);
}

TEST(Thread, RestartStopsAndJoinsPreviousRun) {
    LoopThread t;
    ASSERT_EQ(t.Start(), 0);
    while (t.units < 1) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(t.Start(), 0);  // stops the running loop first
    EXPECT_FALSE(t.IsStopRequested());  // new run: stop request reset
    EXPECT_EQ(t.Stop(), 0);
    EXPECT_EQ(t.runs, 2);
    EXPECT_TRUE(t.stopSeen);
}

TEST(Thread, RestartAfterWorkerEndedByItself) {
    ShortThread t;
    for (int i = 0; i < 50; ++i) ASSERT_EQ(t.Start(), 0);
    EXPECT_EQ(t.Stop(), 0);
    EXPECT_EQ(t.runs, 50);
}

TEST(Thread, DestructorStopsAndJoins) {
    {
        LoopThread t;
        ASSERT_EQ(t.Start(), 0);
        while (t.units < 1) std::this_thread::sleep_for(1ms);
    }
    SUCCEED();
}

TEST(Thread, BaseDestructorJoinsFinishedWorker) {
    // The worker has ended on its own but was never joined: destruction must still join it.
    auto* t = new ShortThread;
    ASSERT_EQ(t->Start(), 0);
    std::this_thread::sleep_for(10ms);
    delete t;
}

TEST(Thread, ConcurrentStopAndRequestStop) {
    LoopThread t;
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(t.Start(), 0);
        std::thread a([&] { t.RequestStop(); });
        std::thread b([&] { t.Stop(); });
        std::thread c([&] { (void)t.IsStopRequested(); });
        a.join();
        b.join();
        c.join();
        EXPECT_EQ(t.Stop(), 0);
    }
}

// A worker that calls RequestStop on itself while another thread restarts it must not deadlock.
class SelfRequestThread : public CThread {
public:
    ~SelfRequestThread() override { Stop(); }

protected:
    void Run() override {
        while (!IsStopRequested()) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(5ms);
        RequestStop();  // takes the thread lock
    }
};

TEST(Thread, RestartWhileWorkerRequestsItsOwnStop) {
    SelfRequestThread t;
    for (int i = 0; i < 20; ++i) ASSERT_EQ(t.Start(), 0);
    EXPECT_EQ(t.Stop(), 0);
}

}  // namespace
