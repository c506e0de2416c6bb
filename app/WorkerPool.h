#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A few threads kept for the life of the process, that share the tasks of one job with the
// thread that hands it over: reading a large file in pieces, counting a table in chunks.
//
// Starting threads for every table cost more than counting a small one, and a table of a million
// interviews is counted in a fraction of a millisecond: the threads are started once, on the
// first job that wants them, and wait for the next job between jobs, first spinning a little
// (tables of one session follow each other closely) and then asleep.
//
// Which thread runs a task is left to chance; a job whose result must not depend on it has each
// task write only its own slot and combines the slots in task order afterwards.
//
// One job runs at a time. A job handed over while another runs (from another thread, or from one
// of the pool's own tasks) runs its tasks on the calling thread, in order: never a deadlock.
class WorkerPool {
public:
    // The pool of the process, whose threads start with its first job of several tasks.
    static WorkerPool& Shared();

    // A pool that never uses more than `mostThreads` threads, the caller's included.
    explicit WorkerPool(unsigned mostThreads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The largest number of threads a job runs on, the caller's included.
    unsigned ThreadCount() const { return m_mostThreads; }

    // Runs task(0) .. task(count - 1), each once, and returns when all have ended. When tasks
    // throw, the other tasks still run and the exception of the lowest task is thrown again here.
    void Run(int count, const std::function<void(int)>& task);

private:
    struct Job;

    void StartWorkers();
    void Work();
    static void RunTasks(Job& job);
    static void RunInOrder(int count, const std::function<void(int)>& task);

    const unsigned m_mostThreads;
    std::mutex m_submitting; // held by the job that runs on the pool
    std::mutex m_mutex;      // guards what follows
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Job* m_job = nullptr;
    // Raised with each job (and at the end), under m_mutex; read without it by spinning workers.
    std::atomic<std::uint64_t> m_generation{0};
    int m_busyWorkers = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};
