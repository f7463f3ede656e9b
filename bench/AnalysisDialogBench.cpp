// Benchmark of the "Paßpunktanalyse", offscreen: the recompute after one tick with 100,000
// pairs (table unsorted and sorted by T), painting the plot, and opening the dialog through
// the real command with 1,000,000 pairs (whether the progress window came up, and how long
// until the dialog stood). Prints figures; not a test.
#include "ControlPointAnalysis.h"
#include "ControlPointDialog.h"
#include "PairTableModel.h"
#include "ResidualPlotWidget.h"
#include "Tramis_Unit1.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTableView>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// count pairs over ten kilometres, new = old turned, scaled, shifted, with centimetre noise.
void fill(int count) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> spread(0, 10'000);
  std::normal_distribution<double> noise(0, 0.01);
  oldPoints.clear();
  newPoints.clear();
  for (int i = 0; i < count; ++i) {
    const double rw = 4'500'000 + spread(random);
    const double hw = 5'500'000 + spread(random);
    oldPoints.rw.push_back(rw);
    oldPoints.hw.push_back(hw);
    newPoints.rw.push_back(12.5 + 1.00001 * rw + 0.0002 * hw + noise(random));
    newPoints.hw.push_back(-3.25 + 1.00001 * hw - 0.0002 * rw + noise(random));
  }
}

void recomputeAtHundredThousand() {
  fill(100'000);
  auto dialogSolver = std::make_unique<kel::TKEL_Vovezorevarovaduvorir>();
  auto first = analysis::analyseControlPoints(oldPoints, newPoints, {}, analysis::kDefaultAlpha, *dialogSolver);
  analysis::ControlPointDialog dialog(nullptr, oldPoints, newPoints, {}, std::move(dialogSolver), std::move(first));
  dialog.show();
  QApplication::processEvents();
  for (bool sorted : {false, true}) {
    if (sorted) dialog.PairTable->sortByColumn(analysis::PairTableModel::Test, Qt::DescendingOrder);
    const int rounds = 5;
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
      dialog.setPairActive(static_cast<std::size_t>(1000 * i + (sorted ? 500 : 0)), false);
      QApplication::processEvents();  // the table and the plot repaint
    }
    std::printf("recompute after one tick, 100000 pairs%s: %.3f s\n",
                sorted ? " (sorted by T)" : "", secondsSince(start) / rounds);
  }
  kel::TKEL_Vovezorevarovaduvorir solverAlone;
  auto analysisStart = Clock::now();
  analysis::analyseControlPoints(oldPoints, newPoints, dialog.activeFlags(), analysis::kDefaultAlpha, solverAlone);
  std::printf("the analysis alone, 100000 pairs: %.3f s\n", secondsSince(analysisStart));
  const auto start = Clock::now();
  const QImage picture = dialog.Plot->grab().toImage();
  std::printf("painting the plot, 100000 pairs (%dx%d): %.3f s\n", picture.width(), picture.height(),
              secondsSince(start));
}

void openingAtOneMillion(TForm2& form) {
  fill(1'000'000);
  bool progressShown = false;
  double opened = 0;
  double painted = 0;
  QTimer watch;
  watch.setInterval(20);
  const auto start = Clock::now();
  QObject::connect(&watch, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (qobject_cast<QProgressDialog*>(widget) && widget->isVisible()) progressShown = true;
    if (auto* dialog = qobject_cast<analysis::ControlPointDialog*>(QApplication::activeModalWidget())) {
      opened = secondsSince(start);
      const auto paintStart = Clock::now();
      dialog->Plot->grab();
      painted = secondsSince(paintStart);
      dialog->reject();
    }
  });
  watch.start();
  form.mnuPasspunkteClick(nullptr);
  std::printf("opening the dialog, 1000000 pairs: %.3f s until shown, progress window %s\n", opened,
              progressShown ? "shown" : "not shown");
  std::printf("painting the plot, 1000000 pairs: %.3f s\n", painted);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TForm2 form(nullptr);
  Form2 = &form;
  form.show();
  recomputeAtHundredThousand();
  openingAtOneMillion(form);
  Form2 = nullptr;
  return 0;
}
