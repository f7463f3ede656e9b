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
// A sum of squared residuals without the pair below this share of the full sum is
// round-off: the other pairs fit exactly and the pair's test value would only show noise.
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

// Sets gap, r, T, its degrees of freedom and the critical value, or leaves the pair "not
// available" unless every figure is finite in the precision it is kept in.
void setStatistics(PairStatistics& pair, long double gapRW, long double gapHW, long double r,
                   long double T, int dof, long double critical) {
  const double kept[] = {static_cast<double>(gapRW), static_cast<double>(gapHW), static_cast<double>(r),
                         static_cast<double>(T)};
  for (const double value : kept)
    if (!std::isfinite(value)) return;
  pair.gapRW = kept[0];
  pair.gapHW = kept[1];
  pair.r = kept[2];
  pair.T = kept[3];
  pair.available = true;
  pair.dof = dof;
  pair.critical = static_cast<double>(critical);
  pair.outlier = pair.T > pair.critical;  // as shown
}

}  // namespace

double PairStatistics::gapLength() const { return std::hypot(gapRW, gapHW); }

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
  // No point test at all for a significance level outside 0 .. 1.
  const bool testable = alpha > 0 && alpha < 1;
  if (testable && fActive > 0) analysis.criticalActive = criticalValue(alpha, fActive);
  if (testable && fSwitchedOff > 0) analysis.criticalSwitchedOff = criticalValue(alpha, fSwitchedOff);

  // Reduced old coordinates as the solver forms them (observation minus centroid), taken
  // from the contiguous input rather than the solver's row-wise tables.
  const long double cRW = solver.centroid.row(0)[0];
  const long double cHW = solver.centroid.row(1)[0];
  long double N = 0;
  long double sumSquares = 0;  // sum over the active pairs of |v|^2
  for (std::size_t i = 0, row = 0; i < n; ++i) {
    if (!isActive(active, i)) continue;
    const long double y = static_cast<long double>(oldPairs.rw[i]) - cRW;
    const long double x = static_cast<long double>(oldPairs.hw[i]) - cHW;
    N += y * y + x * x;
    const long double* v = solver.residuals.row(static_cast<int>(row++));
    sumSquares += v[0] * v[0] + v[1] * v[1];
  }
  const long double variance = fSwitchedOff > 0 ? sumSquares / fSwitchedOff : 0;  // So^2
  // So without a pair, times f: below this it is round-off.
  const long double noiseSum = kRoundOffShare * sumSquares;
  const long double perPair = 1.0L / na;
  const long double perN = 1 / N;

  int row = 0;  // the solver's row of the next active pair
  auto statisticsOf = [&](std::size_t i) {
    PairStatistics pair;
    pair.active = isActive(active, i);
    const long double rw = oldPairs.rw[i];
    const long double hw = oldPairs.hw[i];
    if (pair.active) {
      const long double* v = solver.residuals.row(row++);
      pair.vRW = v[0];
      pair.vHW = v[1];
    } else {
      // Observed minus computed, bracketed as the solver's own residuals.
      pair.vRW = ((-solver.Yo - solver.a * rw) - solver.o * hw) + static_cast<long double>(newPairs.rw[i]);
      pair.vHW = ((-solver.Xo - solver.a * hw) + solver.o * rw) + static_cast<long double>(newPairs.hw[i]);
    }
    const long double y = rw - cRW;
    const long double x = hw - cHW;
    const long double h = perPair + (y * y + x * x) * perN;
    const long double vv = pair.vRW * pair.vRW + pair.vHW * pair.vHW;

    if (pair.active) {
      const long double r = 1 - h;
      if (!analysis.criticalActive || !(r > kSmallestShare)) return pair;
      const long double perR = 1 / r;
      const long double sumWithout = sumSquares - vv * perR;
      if (!(sumWithout > noiseSum)) return pair;
      setStatistics(pair, pair.vRW * perR, pair.vHW * perR, r, vv * perR * fActive / (2 * sumWithout), fActive,
                    *analysis.criticalActive);
    } else if (analysis.criticalSwitchedOff && variance > 0) {
      setStatistics(pair, pair.vRW, pair.vHW, 0, vv / (2 * (1 + h) * variance), fSwitchedOff,
                    *analysis.criticalSwitchedOff);
    }
    return pair;
  };
  // Filled in one pass, without zeroing the table first: it is large for large files.
  analysis.pairs.reserve(n);
  for (std::size_t i = 0; i < n; ++i) analysis.pairs.push_back(statisticsOf(i));

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
