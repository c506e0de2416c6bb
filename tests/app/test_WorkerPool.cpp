// The worker pool: every task of a job run once, failures carried back to the caller by task
// number, and jobs handed over from a task or from a second thread while the pool is busy.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/WorkerPool.h"

namespace {

// How many times each task of a job ran, and whether a task outside the job was run.
class TaskTally {
public:
    explicit TaskTally(int count) : m_runs(static_cast<std::size_t>(count)) {}

    void Ran(int task) {
        if (task < 0 || task >= static_cast<int>(m_runs.size()))
            m_outside.store(true);
        else
            m_runs[static_cast<std::size_t>(task)].fetch_add(1);
    }

    // The tasks that did not run exactly once; empty when the job was run right.
    std::vector<int> Wrong() const {
        std::vector<int> wrong;
        for (std::size_t task = 0; task < m_runs.size(); ++task)
            if (m_runs[task].load() != 1)
                wrong.push_back(static_cast<int>(task));
        if (m_outside.load())
            wrong.push_back(-1);
        return wrong;
    }

private:
    std::vector<std::atomic<int>> m_runs;
    std::atomic<bool> m_outside{false};
};

// The threads that ran a job's tasks.
class ThreadsSeen {
public:
    void Add() {
        const std::lock_guard lock(m_mutex);
        m_threads.insert(std::this_thread::get_id());
    }
    std::set<std::thread::id> Threads() {
        const std::lock_guard lock(m_mutex);
        return m_threads;
    }

private:
    std::mutex m_mutex;
    std::set<std::thread::id> m_threads;
};

// A flag other threads wait for. The waits give up after a minute (all of them, once one has) so
// that a pool that deadlocks fails the test instead of hanging it; no test depends on how long
// anything takes.
class Signal {
public:
    void Raise() {
        {
            const std::lock_guard lock(m_mutex);
            m_raised = true;
        }
        m_changed.notify_all();
    }
    bool Wait() {
        std::unique_lock lock(m_mutex);
        if (!m_givenUp && !m_changed.wait_for(lock, std::chrono::minutes(1), [&] { return m_raised; }))
            m_givenUp = true;
        return m_raised;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_raised = false;
    bool m_givenUp = false;
};

struct PoolCase {
    const char* name;
    WorkerPool* pool;
    unsigned threads; // the most threads its jobs may use
};

std::vector<PoolCase> Pools() {
    static WorkerPool one(1);
    static WorkerPool three(3);
    static WorkerPool none(0); // taken as a pool of one: a job always has the caller's thread
    return {
        {"shared", &WorkerPool::Shared(), WorkerPool::Shared().ThreadCount()},
        {"one thread", &one, 1},
        {"three threads", &three, 3},
        {"zero threads asked", &none, 1},
    };
}

TEST(WorkerPoolTest, EveryTaskRunsOnceOnNoMoreThreadsThanThePoolHas) {
    EXPECT_GE(WorkerPool::Shared().ThreadCount(), 1u);
    for (const PoolCase& pool : Pools()) {
        EXPECT_EQ(pool.pool->ThreadCount(), pool.threads) << pool.name;
        // The same counts twice: the threads started by the first job wait for the next one.
        for (const int count : {0, 1, 2, 1000, 0, 1, 2, 1000}) {
            SCOPED_TRACE(std::string(pool.name) + ", " + std::to_string(count) + " tasks");
            TaskTally tally(count);
            ThreadsSeen threads;
            pool.pool->Run(count, [&](int task) {
                tally.Ran(task);
                threads.Add();
            });
            EXPECT_EQ(tally.Wrong(), std::vector<int>{});
            EXPECT_LE(threads.Threads().size(), pool.threads);
            if (pool.threads == 1 && count > 0) {
                EXPECT_EQ(threads.Threads(), std::set<std::thread::id>{std::this_thread::get_id()});
            }
        }
    }
}

TEST(WorkerPoolTest, ManySmallJobsInARowEachRunEveryTaskOnce) {
    // Jobs that end while the workers of the one before may still be leaving it.
    for (const PoolCase& pool : Pools()) {
        SCOPED_TRACE(pool.name);
        for (int job = 0; job < 500; ++job) {
            const int count = 2 + job % 7;
            TaskTally tally(count);
            pool.pool->Run(count, [&](int task) { tally.Ran(task); });
            ASSERT_EQ(tally.Wrong(), std::vector<int>{}) << "job " << job;
        }
    }
}

TEST(WorkerPoolTest, FailingTasksRethrowTheLowestOnesExceptionAfterAllTheOthersRan) {
    const std::set<int> failing = {700, 13, 512, 999};
    for (const PoolCase& pool : Pools()) {
        SCOPED_TRACE(pool.name);
        TaskTally tally(1000);
        try {
            pool.pool->Run(1000, [&](int task) {
                tally.Ran(task);
                if (failing.count(task) != 0)
                    throw std::runtime_error("task " + std::to_string(task));
            });
            ADD_FAILURE() << "nothing thrown";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "task 13");
        }
        EXPECT_EQ(tally.Wrong(), std::vector<int>{});
    }
}

TEST(WorkerPoolTest, TheLowestFailureWinsEvenWhenAHigherOneCameFirst) {
    // Task 1 fails only once the failure of task 900 has been taken in: its thread has gone on to
    // a later task (the tasks after 900 wait for that, so that it finds one left).
    WorkerPool pool(3);
    std::atomic<std::thread::id> highThread{};
    Signal highTaken;
    bool waited = false;
    try {
        pool.Run(1000, [&](int task) {
            if (task == 900) {
                highThread.store(std::this_thread::get_id());
                throw std::out_of_range("task 900");
            }
            if (task > 900) {
                if (highThread.load() == std::this_thread::get_id())
                    highTaken.Raise();
                else
                    highTaken.Wait();
            }
            if (task == 1) {
                waited = highTaken.Wait();
                throw std::invalid_argument("task 1");
            }
        });
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "task 1");
    } catch (const std::exception& error) {
        ADD_FAILURE() << "the exception of a higher task came back: " << error.what();
    }
    EXPECT_TRUE(waited) << "no other thread went past task 900 while task 1 waited";
}

TEST(WorkerPoolTest, AJobHandedOverFromATaskRunsInPlaceInOrder) {
    for (const PoolCase& pool : Pools()) {
        SCOPED_TRACE(pool.name);
        constexpr int kOuter = 16;
        constexpr int kInner = 50;
        TaskTally tally(kOuter * kInner);
        std::vector<std::vector<int>> order(kOuter);
        std::atomic<int> elsewhere{0};
        pool.pool->Run(kOuter, [&](int outer) {
            const std::thread::id self = std::this_thread::get_id();
            std::vector<int>& mine = order[static_cast<std::size_t>(outer)];
            pool.pool->Run(kInner, [&](int inner) {
                if (std::this_thread::get_id() != self)
                    elsewhere.fetch_add(1);
                mine.push_back(inner);
                tally.Ran(outer * kInner + inner);
            });
        });
        EXPECT_EQ(tally.Wrong(), std::vector<int>{});
        EXPECT_EQ(elsewhere.load(), 0);
        std::vector<int> inOrder(kInner);
        for (int i = 0; i < kInner; ++i)
            inOrder[static_cast<std::size_t>(i)] = i;
        for (int outer = 0; outer < kOuter; ++outer)
            EXPECT_EQ(order[static_cast<std::size_t>(outer)], inOrder) << "outer task " << outer;
    }
}

TEST(WorkerPoolTest, AJobHandedOverWhileAnotherThreadsJobHoldsThePoolRunsOnItsOwnThread) {
    // The first job does not end before the second one has: had the second waited for the pool,
    // neither would.
    WorkerPool pool(3);
    Signal firstStarted;
    Signal secondEnded;
    TaskTally first(10);
    TaskTally second(40);
    std::vector<int> secondOrder;
    bool secondEndedInTime = false;
    std::thread other([&] {
        if (!firstStarted.Wait())
            return;
        const std::thread::id self = std::this_thread::get_id();
        bool onOtherThreads = false;
        pool.Run(40, [&](int task) {
            onOtherThreads = onOtherThreads || std::this_thread::get_id() != self;
            secondOrder.push_back(task);
            second.Ran(task);
        });
        EXPECT_FALSE(onOtherThreads);
        secondEnded.Raise();
    });
    pool.Run(10, [&](int task) {
        first.Ran(task);
        if (task == 0) {
            firstStarted.Raise();
            secondEndedInTime = secondEnded.Wait();
        }
    });
    other.join();
    EXPECT_TRUE(secondEndedInTime);
    EXPECT_EQ(first.Wrong(), std::vector<int>{});
    EXPECT_EQ(second.Wrong(), std::vector<int>{});
    std::vector<int> inOrder(40);
    for (int i = 0; i < 40; ++i)
        inOrder[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(secondOrder, inOrder);
}

TEST(WorkerPoolTest, ThreadsHandingJobsToOnePoolAtOnceEachGetEveryTaskRun) {
    for (const PoolCase& pool : Pools()) {
        SCOPED_TRACE(pool.name);
        constexpr int kThreads = 4;
        constexpr int kJobs = 200;
        std::vector<std::vector<int>> wrong(kThreads);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                for (int job = 0; job < kJobs && wrong[static_cast<std::size_t>(t)].empty(); ++job) {
                    const int count = 1 + (job * 7 + t) % 300;
                    TaskTally tally(count);
                    pool.pool->Run(count, [&](int task) { tally.Ran(task); });
                    wrong[static_cast<std::size_t>(t)] = tally.Wrong();
                }
            });
        for (std::thread& thread : threads)
            thread.join();
        for (int t = 0; t < kThreads; ++t)
            EXPECT_EQ(wrong[static_cast<std::size_t>(t)], std::vector<int>{}) << "thread " << t;
    }
}

} // namespace
