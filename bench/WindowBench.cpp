// Benchmark: the "Parameter" command of the real main window on 100,000 and 1,000,000
// generated point pairs, offscreen. Prints the time each run takes, including filling the
// residual grid. Not a test.
#include "StringGrid.h"
#include "Tramis_Unit1.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <random>

namespace {

void fill(PointList& points, int count, double shiftEast, double shiftNorth, unsigned seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> east(4'450'000.0, 4'550'000.0);
  std::uniform_real_distribution<double> north(5'450'000.0, 5'550'000.0);
  points.clear();
  for (int i = 0; i < count; ++i) {
    points.rw.push_back(east(random) + shiftEast);
    points.hw.push_back(north(random) + shiftNorth);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TForm2 form(nullptr);
  Form2 = &form;
  for (int count : {100'000, 1'000'000}) {
    fill(oldPoints, count, 0, 0, 1);
    fill(newPoints, count, 0, 0, 1);
    for (std::size_t i = 0; i < newPoints.count(); ++i) {
      newPoints.rw[i] += 12.5 + 0.001 * (i % 7);
      newPoints.hw[i] -= 3.25;
    }
    const auto start = std::chrono::steady_clock::now();
    form.Parameter1Click(nullptr);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("Parameter with %d pairs: %.3f s (grid rows %d)\n", count, seconds,
                form.StringGrid1->model()->rowCount());
  }
  Form2 = nullptr;
  return 0;
}
