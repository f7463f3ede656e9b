// Cost of the control-point analysis: the estimate of one million pairs through the
// "Parameter" run alone, through the analysis with all pairs active, and with one pair
// switched off (the active pairs are then copied once); then the analysis of the congruent
// and the affine model, and the comparison of all three. Each run starts with a fresh solver
// and ends with it gone, as a run of tramis-cli does. Best of a few runs each, in processor
// time of this process, so that other work on the machine counts less; the three are
// taken in turn so that a busy moment of the machine does not fall on one of them only.
#include "ControlPointAnalysis.h"
#include "ModelComparison.h"
#include "ParameterRun.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>

namespace {

constexpr std::size_t kPairs = 1000000;
constexpr int kRuns = 7;

void keepBest(double& best, const std::function<void()>& work) {
  const std::clock_t start = std::clock();
  work();
  best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
}

}  // namespace

int main() {
  PointList oldPoints;
  PointList newPoints;
  for (std::size_t i = 0; i < kPairs; ++i) {
    const double rw = 4500000.0 + 0.0137 * static_cast<double>(i);
    const double hw = 5400000.0 - 0.0291 * static_cast<double>(i % 7919) * 13.0;
    oldPoints.rw.push_back(rw);
    oldPoints.hw.push_back(hw);
    newPoints.rw.push_back(-123.456 + 0.99998712345 * rw + 0.00012345678 * hw + 1e-3 * static_cast<double>(i % 7));
    newPoints.hw.push_back(987.654 + 0.99998712345 * hw - 0.00012345678 * rw - 1e-3 * static_cast<double>(i % 5));
  }
  std::vector<bool> oneOff(kPairs, true);
  oneOff[kPairs / 2] = false;

  double So = 0;
  std::size_t flagged = 0;
  double parameter = 1e300, allActive = 1e300, switchedOff = 1e300;
  double congruent = 1e300, affine = 1e300, comparison = 1e300;
  models::Model preferred = models::Model::Helmert;
  for (int run = 0; run < kRuns; ++run) {
    keepBest(parameter, [&] {
      kel::TKEL_Vovezorevarovaduvorir solver;
      So = compute::runParameterEstimation(oldPoints, newPoints, solver).So;
    });
    keepBest(allActive, [&] {
      kel::TKEL_Vovezorevarovaduvorir solver;
      const auto result = analysis::analyseControlPoints(oldPoints, newPoints, {}, analysis::kDefaultAlpha, solver);
      flagged = static_cast<std::size_t>(std::count_if(result.pairs.begin(), result.pairs.end(),
                                                       [](const analysis::PairStatistics& p) { return p.outlier; }));
    });
    keepBest(switchedOff, [&] {
      kel::TKEL_Vovezorevarovaduvorir solver;
      analysis::analyseControlPoints(oldPoints, newPoints, oneOff, analysis::kDefaultAlpha, solver);
    });
    keepBest(congruent, [&] {
      analysis::analyseModel(models::Model::Congruent, oldPoints, newPoints, oneOff, analysis::kDefaultAlpha);
    });
    keepBest(affine, [&] {
      analysis::analyseModel(models::Model::Affine, oldPoints, newPoints, oneOff, analysis::kDefaultAlpha);
    });
    keepBest(comparison, [&] { preferred = models::compareModels(oldPoints, newPoints, oneOff, 0.05).preferred(); });
  }

  std::printf("%zu pairs, best of %d runs, processor time (So %.4f, %zu outliers flagged)\n", kPairs, kRuns, So, flagged);
  std::printf("  \"Parameter\" estimate alone          %8.3f s\n", parameter);
  std::printf("  with the analysis, all active        %8.3f s  (+%.0f %%)\n", allActive,
              100 * (allActive / parameter - 1));
  std::printf("  with the analysis, one switched off  %8.3f s  (+%.0f %%)\n", switchedOff,
              100 * (switchedOff / parameter - 1));
  std::printf("  congruent model, one switched off    %8.3f s\n", congruent);
  std::printf("  affine model, one switched off       %8.3f s\n", affine);
  std::printf("  comparison of the three models       %8.3f s  (preferred: model %d)\n", comparison,
              static_cast<int>(preferred));
  std::printf("  record of one pair                   %8zu bytes\n", sizeof(analysis::PairStatistics));
  return 0;
}
