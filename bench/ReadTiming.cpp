// Benchmark helper for bench/cli-vs-cct.sh: reads coordinate files with the same reader
// tramis-cli uses and does nothing else, so that the time of an estimate can be set against
// the time that reading its two files takes. Prints the points read and the seconds.
#include "CoordinateReader.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  PointList points[2];
  std::size_t total = 0;
  for (int i = 1; i < argc; ++i) {
    // Both lists stay alive, as in an estimate, so that the memory figure compares too.
    PointList& list = points[(i - 1) % 2];
    if (readCoordinateFile(argv[i], list, [](const BadLine&) { return BadLineAnswer::Continue; }) !=
        ReadStatus::Complete) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
    total += list.count();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%zu points read in %.3f s\n", total, seconds);
  return 0;
}
