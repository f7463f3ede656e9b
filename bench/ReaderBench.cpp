// Benchmark: reads a generated file of 1,000,000 named points (about 35 MB) through the
// same function the open commands use, and prints the throughput; then the same points as a
// CSV file with header, height and code. Not a test.
#include "CoordinateReader.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace {

// The coordinate list "P0000001 4510584.1234 5431729.5678", or with `csv` the same points
// as "P0000001;4510584.1234;5431729.5678;101.234;GS" below a header line.
std::string generateFile(const std::filesystem::path& path, int points, bool csv) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return {};
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> east(4'450'000.0, 4'550'000.0);
  std::uniform_real_distribution<double> north(5'450'000.0, 5'550'000.0);
  if (csv) std::fputs("Punkt;RW;HW;H;Code\r\n", out);
  for (int i = 0; i < points; ++i) {
    const double rw = east(random);
    const double hw = north(random);
    if (csv)
      std::fprintf(out, "P%07d;%.4f;%.4f;%.3f;GS\r\n", i, rw, hw, 100.0 + i % 1000 * 0.001);
    else
      std::fprintf(out, "P%07d %.4f %.4f\r\n", i, rw, hw);
  }
  std::fclose(out);
  return path.string();
}

// Reads the file five times; prints the best time. False when reading fails.
bool timeReading(const std::filesystem::path& path, const char* what) {
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
      return false;
    }
    count = list.count();
    if (seconds < best) best = seconds;
  }
  std::printf("read %zu points%s, %.1f MB: best of 5 %.3f s, %.0f MB/s\n", count, what, megabytes,
              best, megabytes / best);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int points = argc > 1 ? std::stoi(argv[1]) : 1'000'000;
  const auto path = std::filesystem::temp_directory_path() / "tramis-reader-bench.asc";
  for (const bool csv : {false, true}) {
    if (generateFile(path, points, csv).empty()) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    const bool read = timeReading(path, csv ? " (CSV with header, height and code)" : "");
    std::filesystem::remove(path);
    if (!read) return 1;
  }
  return 0;
}
