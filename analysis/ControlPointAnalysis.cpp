// Estimates from the active control point pairs and derives, for every pair, its residual,
// redundancy share, leave-one-out gap and point test.
#include "ControlPointAnalysis.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace analysis {

namespace {

// Below this a redundancy share counts as zero: the pair alone fixes its own fit.
constexpr long double kSmallestShare = 1e-9L;
// A variance without the pair below this share of the full sum of squares is round-off:
// the other pairs fit exactly and the pair's test value would only show that noise.
constexpr long double kRoundOffShare = 1e-15L;

std::size_t pairCountOf(const PointList& oldPairs, const PointList& newPairs) {
  return std::min({oldPairs.rw.size(), oldPairs.hw.size(), newPairs.rw.size(), newPairs.hw.size()});
}

bool isActive(const std::vector<bool>& active, std::size_t i) {
  return active.empty() || i >= active.size() || active[i];
}

// The active pairs alone, coordinates only, in pairing order.
std::pair<PointList, PointList> activePairs(const PointList& oldPairs, const PointList& newPairs,
                                            const std::vector<bool>& active, std::size_t n,
                                            std::size_t activeCount) {
  std::pair<PointList, PointList> lists;
  for (PointList* list : {&lists.first, &lists.second}) {
    list->rw.reserve(activeCount);
    list->hw.reserve(activeCount);
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!isActive(active, i)) continue;
    lists.first.rw.push_back(oldPairs.rw[i]);
    lists.first.hw.push_back(oldPairs.hw[i]);
    lists.second.rw.push_back(newPairs.rw[i]);
    lists.second.hw.push_back(newPairs.hw[i]);
  }
  return lists;
}

bool finite(long double value) { return std::isfinite(value); }

// Sets T, its degrees of freedom and the critical value; leaves the pair "not available"
// unless every figure is finite.
void setTest(PairStatistics& pair, long double T, int dof, long double critical) {
  if (!finite(T) || !finite(pair.gapRW) || !finite(pair.gapHW) || !finite(pair.r)) {
    pair.gapRW = pair.gapHW = pair.r = 0;
    return;
  }
  pair.available = true;
  pair.T = T;
  pair.dof = dof;
  pair.critical = critical;
  pair.outlier = T > critical;
}

}  // namespace

long double PairStatistics::gapLength() const { return std::sqrt(gapRW * gapRW + gapHW * gapHW); }

long double criticalValue(double alpha, int dof) {
  const long double f = dof;
  // alpha^(-2/f) - 1 through expm1: for large f the power is close to 1.
  return f / 2 * std::expm1(-2 / f * std::log(static_cast<long double>(alpha)));
}

ControlPointAnalysis analyseControlPoints(const PointList& oldPairs, const PointList& newPairs,
                                          const std::vector<bool>& active, double alpha,
                                          kel::TKEL_Vovezorevarovaduvorir& solver,
                                          const toolkit::ProgressHandler& onProgress) {
  ControlPointAnalysis analysis;
  analysis.alpha = alpha;
  const std::size_t n = pairCountOf(oldPairs, newPairs);
  analysis.pairCount = n;
  for (std::size_t i = 0; i < n; ++i) analysis.activeCount += isActive(active, i) ? 1 : 0;
  const std::size_t na = analysis.activeCount;

  // The estimate itself is the "Parameter" run on the active pairs, so that nothing of its
  // order of operations can drift; all pairs active need no copy at all.
  if (na == n) {
    analysis.run = compute::runParameterEstimation(oldPairs, newPairs, solver, onProgress);
  } else {
    const auto [oldActive, newActive] = activePairs(oldPairs, newPairs, active, n, na);
    analysis.run = compute::runParameterEstimation(oldActive, newActive, solver, onProgress);
  }
  if (na < 2) {
    analysis.outcome = AnalysisOutcome::TooFewActive;
    return analysis;
  }
  if (analysis.run.outcome == compute::ParameterOutcome::PointsCoincide) {
    analysis.outcome = AnalysisOutcome::PointsCoincide;
    return analysis;
  }
  analysis.outcome = AnalysisOutcome::Success;

  const int fActive = static_cast<int>(2 * na) - 6;
  const int fSwitchedOff = static_cast<int>(2 * na) - 4;
  if (fActive > 0) analysis.criticalActive = criticalValue(alpha, fActive);
  if (fSwitchedOff > 0) analysis.criticalSwitchedOff = criticalValue(alpha, fSwitchedOff);

  const long double cRW = solver.centroid.row(0)[0];
  const long double cHW = solver.centroid.row(1)[0];
  long double N = 0;
  for (std::size_t k = 0; k < na; ++k) {
    const long double* reduced = solver.reduced.row(static_cast<int>(k));
    N += reduced[0] * reduced[0] + reduced[1] * reduced[1];
  }
  const long double sumSquares = solver.residuals.column_square_sum(0) + solver.residuals.column_square_sum(1);
  const long double variance = fSwitchedOff > 0 ? sumSquares / fSwitchedOff : 0;  // So^2

  analysis.pairs.resize(n);
  std::size_t row = 0;  // the solver's row of the next active pair
  for (std::size_t i = 0; i < n; ++i) {
    PairStatistics& pair = analysis.pairs[i];
    pair.active = isActive(active, i);
    long double y = 0;
    long double x = 0;
    if (pair.active) {
      const int k = static_cast<int>(row++);
      pair.vRW = solver.residual_rw(k);
      pair.vHW = solver.residual_hw(k);
      y = solver.reduced.row(k)[0];
      x = solver.reduced.row(k)[1];
    } else {
      const long double rw = oldPairs.rw[i];
      const long double hw = oldPairs.hw[i];
      // Observed minus computed, bracketed as the solver's own residuals.
      pair.vRW = ((-solver.Yo - solver.a * rw) - solver.o * hw) + static_cast<long double>(newPairs.rw[i]);
      pair.vHW = ((-solver.Xo - solver.a * hw) + solver.o * rw) + static_cast<long double>(newPairs.hw[i]);
      y = rw - cRW;
      x = hw - cHW;
    }
    const long double h = 1.0L / na + (y * y + x * x) / N;
    const long double vv = pair.vRW * pair.vRW + pair.vHW * pair.vHW;

    if (pair.active) {
      const long double r = 1 - h;
      if (fActive <= 0 || !(r > kSmallestShare)) continue;
      const long double varianceWithout = (sumSquares - vv / r) / fActive;
      if (!(varianceWithout > kRoundOffShare * sumSquares / fActive)) continue;
      pair.r = r;
      pair.gapRW = pair.vRW / r;
      pair.gapHW = pair.vHW / r;
      setTest(pair, vv / (2 * r * varianceWithout), fActive, *analysis.criticalActive);
    } else {
      if (fSwitchedOff <= 0 || !(variance > 0)) continue;
      pair.gapRW = pair.vRW;
      pair.gapHW = pair.vHW;
      setTest(pair, vv / (2 * (1 + h) * variance), fSwitchedOff, *analysis.criticalSwitchedOff);
    }
  }

  long double largest = -1;
  for (std::size_t i = 0; i < n; ++i) {
    const PairStatistics& pair = analysis.pairs[i];
    if (!pair.active || !pair.available) continue;
    if (pair.T > largest) {
      largest = pair.T;
      analysis.suspect = i;
    }
  }
  return analysis;
}

}  // namespace analysis
