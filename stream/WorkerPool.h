// A few threads that run jobs in the order they were handed in; the caller waits for each
// job by its number and, while it waits, runs queued jobs itself, so the calling thread is
// one more worker and no core idles while it waits. With no threads, a job runs at once in
// the caller's thread, so the same code serves a single core.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace stream {

class WorkerPool {
public:
  explicit WorkerPool(unsigned threads);
  // Lets running jobs end and drops queued ones.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Queues `job`; returns its number (0, 1, 2, ... in the order of submission).
  std::uint64_t submit(std::function<void()> job);
  // Waits until job `number` has run, running queued jobs meanwhile; throws what the job
  // threw.
  void wait(std::uint64_t number);

private:
  void work();
  // Runs the queue's first job with `lock` released and records how it ended.
  void runFirstQueued(std::unique_lock<std::mutex>& lock);

  std::mutex mutex_;
  std::condition_variable jobQueued_;
  std::condition_variable jobDone_;
  std::deque<std::pair<std::uint64_t, std::function<void()>>> queue_;
  std::map<std::uint64_t, std::exception_ptr> done_;  // run, not yet waited for
  std::uint64_t nextNumber_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// Threads worth starting on this machine beside the calling thread, which works too: one
// fewer than the cores, none on a single core.
unsigned defaultWorkerThreads();

}  // namespace stream
