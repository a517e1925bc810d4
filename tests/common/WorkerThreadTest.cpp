#include <windows.h>

#include <atomic>

#include <gtest/gtest.h>

#include "WorkerThread.h"

namespace {

// Runs until asked to stop, recording the thread it ran on.
class LoopTask final : public CWorkerThread {
public:
    ~LoopTask() override { stop(); }
    std::atomic<DWORD> ranOn{0};
    std::atomic<int> rounds{0};
    uint32_t seenParameter = 0;

protected:
    void run() override
    {
        seenParameter = parameter();
        ranOn = GetCurrentThreadId();
        while (!stopRequested()) {
            ++rounds;
            Sleep(1);
        }
    }
};

class OnceTask final : public CWorkerThread {
public:
    ~OnceTask() override { stop(); }
    std::atomic<int> runs{0};

protected:
    void run() override { ++runs; }
};

TEST(WorkerThread, RunsOnItsOwnThreadUntilStopped)
{
    LoopTask task;
    ASSERT_TRUE(task.start(42, false));
    EXPECT_TRUE(task.hasThread());
    EXPECT_NE(task.threadId(), 0u);
    EXPECT_FALSE(task.start(1, false)) << "a second start while a thread exists";
    while (task.rounds.load() == 0)
        Sleep(1);
    task.stop();
    EXPECT_FALSE(task.hasThread());
    EXPECT_EQ(task.threadId(), 0u);
    EXPECT_NE(task.ranOn.load(), GetCurrentThreadId());
    EXPECT_EQ(task.seenParameter, 42u);

    // The stop flag is cleared again, so the task can run once more.
    ASSERT_TRUE(task.start(7, false));
    while (task.rounds.load() < 2)
        Sleep(1);
    task.stop();
    EXPECT_EQ(task.seenParameter, 7u);
}

TEST(WorkerThread, SuspendedThreadRunsOnlyWhenWaitedFor)
{
    OnceTask task;
    ASSERT_TRUE(task.start(0, true));
    Sleep(50);
    EXPECT_EQ(task.runs.load(), 0);
    task.wait();
    EXPECT_EQ(task.runs.load(), 1);
    task.stop();
    task.wait();  // no thread: returns at once
}

TEST(WorkerThread, DestructorStopsRunningThread)
{
    auto* task = new LoopTask;
    ASSERT_TRUE(task->start(0, false));
    delete task;  // must return: the loop sees the stop flag
}

} // namespace
