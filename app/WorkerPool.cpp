#include "app/WorkerPool.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <limits>

namespace {

// Set on the pool's own threads, and on a caller while its job runs: a job handed over from
// one of the tasks runs in place (the caller's second job must not wait for its first).
thread_local bool t_insideJob = false;

class InsideJob {
public:
    InsideJob() { t_insideJob = true; }
    ~InsideJob() { t_insideJob = false; }
    InsideJob(const InsideJob&) = delete;
    InsideJob& operator=(const InsideJob&) = delete;
};

// How long a worker looks for the next job before it sleeps. Tables of a session come one after
// another within a fraction of a millisecond; waking a sleeping thread takes longer than that.
constexpr auto kSpinTime = std::chrono::microseconds(300);

// The first exception of a job's tasks, by task number, so that the one thrown again does not
// depend on which thread failed first.
class Failures {
public:
    void Record(int task, std::exception_ptr failure) {
        const std::lock_guard lock(m_mutex);
        if (task < m_task) {
            m_task = task;
            m_failure = std::move(failure);
        }
    }
    void ThrowFirst() const {
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    std::mutex m_mutex;
    int m_task = std::numeric_limits<int>::max();
    std::exception_ptr m_failure;
};

} // namespace

struct WorkerPool::Job {
    const std::function<void(int)>* task = nullptr;
    int count = 0;
    std::atomic<int> next{0};
    Failures failures;
};

namespace {

// More threads than cores only wait for each other; the counts are bound by memory, and past
// eight threads a table of a million interviews gains nothing. MORVANE_THREADS, a whole number
// from 1 to 64, sets the count instead (to measure the program on one core, say).
unsigned SharedThreadCount() {
    if (const char* text = std::getenv("MORVANE_THREADS"); text != nullptr) {
        char* end = nullptr;
        const long wanted = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && wanted >= 1 && wanted <= 64)
            return static_cast<unsigned>(wanted);
    }
    return std::clamp(std::thread::hardware_concurrency(), 1U, 8U);
}

} // namespace

WorkerPool& WorkerPool::Shared() {
    static WorkerPool pool(SharedThreadCount());
    return pool;
}

WorkerPool::WorkerPool(unsigned mostThreads) : m_mostThreads(std::max(mostThreads, 1U)) {}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_generation.fetch_add(1, std::memory_order_release);
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

void WorkerPool::Run(int count, const std::function<void(int)>& task) {
    if (count <= 0)
        return;
    if (count == 1 || m_mostThreads == 1 || t_insideJob) {
        RunInOrder(count, task);
        return;
    }
    std::unique_lock submitting(m_submitting, std::try_to_lock);
    if (!submitting.owns_lock()) {
        RunInOrder(count, task);
        return;
    }
    const InsideJob inside;
    Job job;
    job.task = &task;
    job.count = count;
    {
        const std::lock_guard lock(m_mutex);
        StartWorkers();
        m_job = &job;
        m_generation.fetch_add(1, std::memory_order_release);
    }
    m_wake.notify_all();
    RunTasks(job);
    {
        // No worker joins the job once it is withdrawn; those that joined are waited for, since
        // the job lives on this stack.
        std::unique_lock lock(m_mutex);
        m_job = nullptr;
        m_idle.wait(lock, [&] { return m_busyWorkers == 0; });
    }
    job.failures.ThrowFirst();
}

// Called with m_mutex held. A thread that cannot be started leaves the job to those that were.
void WorkerPool::StartWorkers() {
    if (!m_workers.empty())
        return;
    m_workers.reserve(m_mostThreads - 1);
    try {
        for (unsigned i = 1; i < m_mostThreads; ++i)
            m_workers.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
    }
}

void WorkerPool::Work() {
    t_insideJob = true;
    std::uint64_t seen = 0;
    for (;;) {
        // Look for the next job for a while, then sleep until it comes.
        const auto spinUntil = std::chrono::steady_clock::now() + kSpinTime;
        while (m_generation.load(std::memory_order_acquire) == seen &&
               std::chrono::steady_clock::now() < spinUntil)
            std::this_thread::yield();
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [&] { return m_generation.load() != seen; });
        seen = m_generation.load();
        if (m_stopping)
            return;
        Job* job = m_job;
        if (job == nullptr)
            continue;
        ++m_busyWorkers;
        lock.unlock();
        RunTasks(*job);
        lock.lock();
        if (--m_busyWorkers == 0)
            m_idle.notify_all();
    }
}

void WorkerPool::RunTasks(Job& job) {
    for (int task = job.next.fetch_add(1); task < job.count; task = job.next.fetch_add(1)) {
        try {
            (*job.task)(task);
        } catch (...) {
            job.failures.Record(task, std::current_exception());
        }
    }
}

void WorkerPool::RunInOrder(int count, const std::function<void(int)>& task) {
    Failures failures;
    for (int i = 0; i < count; ++i) {
        try {
            task(i);
        } catch (...) {
            failures.Record(i, std::current_exception());
        }
    }
    failures.ThrowFirst();
}
