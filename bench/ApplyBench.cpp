// Benchmark helper for bench/apply-stream.sh: applies known parameters to one coordinate
// file the way the window does (read it whole, then writeResultFile) and streamed with 0, 1
// and 2 worker threads beside the calling thread, in alternating runs; checks that all
// results are byte for byte the same and prints the median wall and CPU time of each way.
// Reading and writing the window's way, each on one core, give the bound that two cores
// cannot beat: (read + write) / 2; each streamed way is given as a multiple of it.
//
// Usage: bench_apply "Xo Yo a o" INPUT WORKDIR [RUNS]
// With WORKDIR "-" every way writes to /dev/null: the times without the disk.
#include "CoordinateReader.h"
#include "ResultFile.h"
#include "StreamingApply.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Timing {
  double wall;
  double cpu;
};

Timing timed(const std::function<bool()>& run) {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  if (!run()) {
    std::fprintf(stderr, "run failed\n");
    std::exit(1);
  }
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
          static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: bench_apply \"Xo Yo a o\" INPUT WORKDIR [RUNS]\n");
    return 2;
  }
  kel::TKEL_Vovezorevarovaduvorir solver;
  std::istringstream parameters(argv[1]);
  double Xo = 0, Yo = 0, a = 0, o = 0;
  parameters >> Xo >> Yo >> a >> o;
  solver.Xo = Xo;
  solver.Yo = Yo;
  solver.a = a;
  solver.o = o;
  const std::string input = argv[2];
  const std::string folder = argv[3];
  const bool toNull = folder == "-";
  const auto outputPath = [&](const std::string& name) {
    return toNull ? std::string("/dev/null") : folder + "/" + name;
  };
  const int runs = argc > 4 ? std::stoi(argv[4]) : 5;
  const auto skip = [](const BadLine&) { return BadLineAnswer::Continue; };

  struct Way {
    std::string label;
    std::string output;
    std::function<bool()> run;
    std::vector<double> wall, cpu;
  };
  std::vector<Way> ways;
  // The window's way in two steps, timed one by one; the points pass from one to the other.
  PointList points;
  ways.push_back({"read whole file", "", {}, {}, {}});
  ways.back().run = [&] {
    points = PointList();
    return readCoordinateFile(input, points, skip) == ReadStatus::Complete;
  };
  ways.push_back({"then writeResultFile", outputPath("whole.erg"), {}, {}, {}});
  ways.back().run = [&, out = ways.back().output] {
    return output::writeResultFile(out, points, solver).ok;
  };
  for (const unsigned threads : {0u, 1u, 2u}) {
    ways.push_back({"streamed, caller + " + std::to_string(threads) + " worker threads",
                    outputPath("streamed-" + std::to_string(threads) + ".erg"), {}, {}, {}});
    ways.back().run = [&, threads, out = ways.back().output] {
      stream::StreamSettings settings;
      settings.workerThreads = threads;
      const stream::ApplyResult result = stream::applyToFile(input, out, solver, skip, settings);
      return result.read == ReadStatus::Complete && result.fileWritten;
    };
  }

  for (int run = 0; run < runs; ++run)
    for (Way& way : ways) {
      const Timing t = timed(way.run);
      way.wall.push_back(t.wall);
      way.cpu.push_back(t.cpu);
    }

  const std::string reference = contents(ways[1].output);
  const double bound = (median(ways[0].wall) + median(ways[1].wall)) / 2;
  std::printf("%-40s %10s %10s %9s  %s\n", "way (median of runs)", "wall [s]", "cpu [s]", "/ bound",
              "bytes");
  for (std::size_t i = 0; i < ways.size(); ++i) {
    const Way& way = ways[i];
    const std::string ratio = i < 2 ? "" : std::to_string(median(way.wall) / bound).substr(0, 4);
    std::printf("%-40s %10.3f %10.3f %9s  %s\n", way.label.c_str(), median(way.wall),
                median(way.cpu), ratio.c_str(),
                i == 0                              ? ""
                : toNull                            ? "not kept"
                : contents(way.output) == reference ? "identical"
                                                    : "DIFFERENT");
  }
  std::printf("%-40s %10.3f\n", "two-core bound: (read + write) / 2", bound);
  return 0;
}
