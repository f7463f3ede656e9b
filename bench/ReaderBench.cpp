// Benchmark: reads a generated file of 1,000,000 named points (about 35 MB) through the
// same function the open commands use, and prints the throughput. Not a test.
#include "CoordinateReader.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace {

std::string generateFile(const std::filesystem::path& path, int points) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return {};
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> east(4'450'000.0, 4'550'000.0);
  std::uniform_real_distribution<double> north(5'450'000.0, 5'550'000.0);
  for (int i = 0; i < points; ++i)
    std::fprintf(out, "P%07d %.4f %.4f\r\n", i, east(random), north(random));
  std::fclose(out);
  return path.string();
}

}  // namespace

int main(int argc, char** argv) {
  const int points = argc > 1 ? std::stoi(argv[1]) : 1'000'000;
  const auto path = std::filesystem::temp_directory_path() / "tramis-reader-bench.asc";
  if (generateFile(path, points).empty()) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;

  double best = 1e9;
  std::size_t count = 0;
  for (int run = 0; run < 5; ++run) {
    PointList list;
    const auto start = std::chrono::steady_clock::now();
    const ReadStatus status =
        readCoordinateFile(path.string(), list, [](const BadLine&) { return BadLineAnswer::Stop; });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != ReadStatus::Complete) {
      std::fprintf(stderr, "reading failed\n");
      return 1;
    }
    count = list.count();
    if (seconds < best) best = seconds;
  }
  std::filesystem::remove(path);
  std::printf("read %zu points, %.1f MB: best of 5 %.3f s, %.0f MB/s\n", count, megabytes, best,
              megabytes / best);
  return 0;
}
