// The worker pool: a caller that waits runs queued jobs itself, and a job's exception
// reaches whoever waits for that job, whichever thread ran it.
#include "WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>

namespace {

// Guards against a waiting caller that only sleeps: with the one worker held up, the job
// waited for must still run, in the caller's thread.
TEST(WorkerPool, CallerRunsQueuedJobsWhileItWaits) {
  std::promise<void> release;
  const std::shared_future<void> released = release.get_future().share();
  std::atomic<bool> workerBusy{false};
  stream::WorkerPool pool(1);
  const std::uint64_t blocker = pool.submit([&] {
    workerBusy = true;
    released.wait();
  });
  while (!workerBusy) std::this_thread::yield();
  std::thread::id ranOn;
  const std::uint64_t queued = pool.submit([&] { ranOn = std::this_thread::get_id(); });
  pool.wait(queued);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  release.set_value();
  pool.wait(blocker);
}

TEST(WorkerPool, WaitThrowsWhatItsOwnJobThrew) {
  for (const unsigned threads : {0u, 1u, 3u}) {
    stream::WorkerPool pool(threads);
    std::atomic<int> ran{0};
    const std::uint64_t first = pool.submit([&] { ++ran; });
    const std::uint64_t failing = pool.submit([] { throw std::runtime_error("Block 2"); });
    const std::uint64_t last = pool.submit([&] { ++ran; });
    EXPECT_NO_THROW(pool.wait(first)) << threads;
    EXPECT_THROW(pool.wait(failing), std::runtime_error) << threads;
    EXPECT_NO_THROW(pool.wait(last)) << threads;
    EXPECT_EQ(ran, 2) << threads;
  }
}

}  // namespace
