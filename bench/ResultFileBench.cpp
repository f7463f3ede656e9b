// Speed of writing a result file: one million named points transformed and written
// through writeResultFile, against the same lines printed with fprintf.
#include "ResultFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kPoints = 1000000;
constexpr int kRuns = 3;

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long long fileSize(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

// The line-by-line way: one fprintf per line through a C stream, fflush and fsync at
// the end so both ways pay for getting the bytes to disk.
bool writeWithFprintf(const std::string& path, const PointList& points,
                      const kel::TKEL_Vovezorevarovaduvorir& solver) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (!file) return false;
  for (std::size_t i = 0; i < points.count(); ++i) {
    const double rw = static_cast<double>(solver.transform_rw(points.rw[i], points.hw[i]));
    const double hw = static_cast<double>(solver.transform_hw(points.rw[i], points.hw[i]));
    std::fprintf(file, " %s\t %-15.11g\t %-15.11g", std::string(points.nameAt(i)).c_str(), rw,
                 hw);
    if (i + 1 != points.count()) std::fputs("\r\n", file);
  }
  const bool ok = std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main() {
  PointList points;
  points.names.reserve(kPoints);
  points.rw.reserve(kPoints);
  points.hw.reserve(kPoints);
  for (std::size_t i = 0; i < kPoints; ++i) {
    points.names.push_back("P" + std::to_string(100000 + i));
    points.rw.push_back(4500000.0 + 0.0137 * static_cast<double>(i));
    points.hw.push_back(5400000.0 - 0.0291 * static_cast<double>(i % 7919) * 13.0);
  }
  kel::TKEL_Vovezorevarovaduvorir solver;
  solver.a = 0.99998712345L;
  solver.o = 0.00012345678L;
  solver.Yo = -123.456L;
  solver.Xo = 987.654L;

  const std::string folder =
      (std::filesystem::temp_directory_path() / ("tramis-bench-" + std::to_string(::getpid())))
          .string();
  std::filesystem::create_directories(folder);
  const std::string ours = folder + "/result.erg";
  const std::string reference = folder + "/fprintf.erg";

  double bestOurs = 1e300, bestFprintf = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    const output::WriteResult result = output::writeResultFile(ours, points, solver);
    if (!result.ok) {
      std::fprintf(stderr, "writeResultFile failed: %s\n", result.reason.c_str());
      return 1;
    }
    bestOurs = std::min(bestOurs, secondsSince(start));

    start = std::chrono::steady_clock::now();
    if (!writeWithFprintf(reference, points, solver)) {
      std::fprintf(stderr, "fprintf reference failed\n");
      return 1;
    }
    bestFprintf = std::min(bestFprintf, secondsSince(start));
  }

  const long long bytes = fileSize(ours);
  const bool same = bytes == fileSize(reference) &&
                    std::system(("cmp -s '" + ours + "' '" + reference + "'").c_str()) == 0;
  const double megabytes = static_cast<double>(bytes) / 1e6;
  std::printf("points:            %zu\n", kPoints);
  std::printf("output:            %.1f MB (%lld bytes)\n", megabytes, bytes);
  std::printf("writeResultFile:   %.3f s  %.0f MB/s  (best of %d)\n", bestOurs,
              megabytes / bestOurs, kRuns);
  std::printf("fprintf per line:  %.3f s  %.0f MB/s  (best of %d)\n", bestFprintf,
              megabytes / bestFprintf, kRuns);
  std::printf("speed-up:          %.2fx\n", bestFprintf / bestOurs);
  std::printf("identical bytes:   %s\n", same ? "yes" : "NO");

  std::filesystem::remove_all(folder);
  return same ? 0 : 1;
}
