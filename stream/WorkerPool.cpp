// The worker threads and their queue.
#include "WorkerPool.h"

#include <algorithm>

namespace stream {

namespace {

// More threads than this gain nothing: reading and writing the file set the pace.
constexpr unsigned kMaxThreads = 7;

}  // namespace

WorkerPool::WorkerPool(unsigned threads) {
  threads_.reserve(threads);
  for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  jobQueued_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

std::uint64_t WorkerPool::submit(std::function<void()> job) {
  const std::uint64_t number = nextNumber_++;
  if (threads_.empty()) {
    std::exception_ptr failure;
    try {
      job();
    } catch (...) {
      failure = std::current_exception();
    }
    done_.emplace(number, failure);
    return number;
  }
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    queue_.emplace_back(number, std::move(job));
  }
  jobQueued_.notify_one();
  return number;
}

void WorkerPool::wait(std::uint64_t number) {
  std::unique_lock<std::mutex> lock(mutex_);
  while (done_.count(number) == 0) {
    // Queued jobs run here until a thread (this one or a worker) has run the one waited for.
    if (!queue_.empty())
      runFirstQueued(lock);
    else
      jobDone_.wait(lock);
  }
  const auto found = done_.find(number);
  const std::exception_ptr failure = found->second;
  done_.erase(found);
  if (failure) std::rethrow_exception(failure);
}

void WorkerPool::runFirstQueued(std::unique_lock<std::mutex>& lock) {
  auto [number, job] = std::move(queue_.front());
  queue_.pop_front();
  lock.unlock();
  std::exception_ptr failure;
  try {
    job();
  } catch (...) {
    failure = std::current_exception();
  }
  lock.lock();
  done_.emplace(number, failure);
  jobDone_.notify_all();
}

void WorkerPool::work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    jobQueued_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    runFirstQueued(lock);
  }
}

unsigned defaultWorkerThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores <= 1 ? 0 : std::min(cores - 1, kMaxThreads);
}

}  // namespace stream
