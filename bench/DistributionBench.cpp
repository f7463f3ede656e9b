// Cost of the Restklaffenverteilung: 1,000 control points and 1,000,000 points (other
// counts as arguments: bench_distribution [POINTS [CONTROL_POINTS]]), per method the
// set-up time and the time to correct every point on one and on two threads. The points
// are split into blocks of 16,384 that the threads take in turn, as the stream hands out
// its blocks. Wall-clock medians of five runs, the one- and two-thread runs alternating,
// so that a busy moment of the shared machine does not fall on one of them only; and the
// processor time the threads used, which others' work on the machine disturbs less.
#include "ResidualDistribution.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <time.h>
#include <vector>

namespace {

using distribution::Method;

constexpr std::size_t kBlock = 16384;
constexpr int kRuns = 5;

double seconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// Processor time of the calling thread [s].
double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Points {
  std::vector<double> rw, hw;
};

struct Timing {
  double wall = 0;       // [s]
  double processor = 0;  // [s], all threads together
};

// Corrects every point with `threads` threads taking blocks in turn; adds the corrections
// to `checksum` so that nothing is left out.
Timing correctAll(const distribution::ResidualDistribution& method, const Points& points, unsigned threads,
                  double& checksum, std::size_t& corrected) {
  std::vector<double> sums(threads, 0), processor(threads, 0);
  std::vector<std::size_t> counts(threads, 0);
  std::atomic<std::size_t> nextBlock{0};
  const auto start = std::chrono::steady_clock::now();
  auto work = [&](unsigned thread) {
    const double processorStart = threadSeconds();
    double sum = 0;  // kept local: the threads' entries share a cache line
    std::size_t count = 0;
    for (;;) {
      const std::size_t begin = nextBlock.fetch_add(1) * kBlock;
      if (begin >= points.rw.size()) break;
      const std::size_t end = std::min(points.rw.size(), begin + kBlock);
      for (std::size_t i = begin; i < end; ++i) {
        const distribution::Correction c = method.correctionAt(points.rw[i], points.hw[i]);
        sum += c.dRW + c.dHW;
        count += c.corrected;
      }
    }
    sums[thread] = sum;
    counts[thread] = count;
    processor[thread] = threadSeconds() - processorStart;
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work, t);
  work(0);
  for (std::thread& thread : pool) thread.join();
  Timing timing{seconds(std::chrono::steady_clock::now() - start), 0};
  corrected = 0;
  for (unsigned t = 0; t < threads; ++t) {
    checksum += sums[t];
    corrected += counts[t];
    timing.processor += processor[t];
  }
  return timing;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t pointCount = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
  const std::size_t controlCount = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;

  // Control points over 2 km x 2 km in Gauss-Krueger-sized coordinates with residuals of a
  // few centimetres; the points in the same square, in random order.
  std::mt19937_64 random(22);
  std::uniform_real_distribution<double> across(0, 2000), residual(-0.03, 0.03);
  std::vector<distribution::ControlPoint> controls(controlCount);
  for (distribution::ControlPoint& point : controls)
    point = {4510000 + across(random), 5430000 + across(random), residual(random), residual(random)};
  Points points;
  for (std::size_t i = 0; i < pointCount; ++i) {
    points.rw.push_back(4510000 + across(random));
    points.hw.push_back(5430000 + across(random));
  }

  struct Case {
    const char* name;
    distribution::Settings settings;
  };
  const Case cases[] = {
      {"1/s", {Method::DistanceWeightingP1, {}, {}}},
      {"1/s^1.5", {Method::DistanceWeightingP1_5, {}, {}}},
      {"1/s^2", {Method::DistanceWeightingP2, {}, {}}},
      {"1/s^2, radius 200 m", {Method::DistanceWeightingP2, 200.0, {}}},
      {"multiquadric", {Method::Multiquadric, {}, {}}},
      {"triangles", {Method::Triangles, {}, {}}},
  };
  std::printf("%zu points, %zu control points, blocks of %zu; medians of %d runs: wall clock on 1 and 2\n"
              "threads, and the processor time per point of all runs\n", pointCount, controlCount, kBlock, kRuns);
  std::printf("%-20s %9s %13s %13s %13s %10s\n", "method", "setup [s]", "1 thread [s]", "2 threads [s]",
              "CPU/point", "corrected");
  for (const Case& c : cases) {
    std::vector<double> setups;
    std::unique_ptr<const distribution::ResidualDistribution> method;
    for (int run = 0; run < 3; ++run) {
      const auto start = std::chrono::steady_clock::now();
      distribution::DistributionSetup setup = distribution::prepareDistribution(controls, c.settings);
      setups.push_back(seconds(std::chrono::steady_clock::now() - start));
      if (setup.result.problem != distribution::SetupProblem::None) {
        std::printf("%-22s set-up failed (problem %d)\n", c.name, static_cast<int>(setup.result.problem));
        break;
      }
      method = std::move(setup.distribution);
    }
    if (!method) continue;
    std::vector<double> one, two, processor;
    double checksum = 0;
    std::size_t corrected = 0;
    for (int run = 0; run < kRuns; ++run) {
      const Timing single = correctAll(*method, points, 1, checksum, corrected);
      const Timing pair = correctAll(*method, points, 2, checksum, corrected);
      one.push_back(single.wall);
      two.push_back(pair.wall);
      processor.push_back(single.processor);
      processor.push_back(pair.processor);
    }
    std::printf("%-20s %9.4f %13.3f %13.3f %10.0f ns %10zu   (checksum %.6g)\n", c.name, median(setups), median(one),
                median(two), median(processor) / static_cast<double>(pointCount) * 1e9, corrected, checksum);
  }
  return 0;
}
