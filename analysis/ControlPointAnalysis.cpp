// Estimates from the active control point pairs and derives, for every pair, its residual,
// redundancy share, leave-one-out gap and point test.
#include "ControlPointAnalysis.h"

#include "DegreesOfFreedom.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace analysis {

namespace {

// Below this a redundancy share counts as zero: the pair alone fixes its own fit.
constexpr double kSmallestShare = 1e-9;
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

// Sets r, T and the outlier flag, or leaves the pair "not available" unless every figure
// is finite in the precision it is kept in.
void setStatistics(PairStatistics& pair, double gapRW, double gapHW, double r, double T,
                   double critical) {
  if (!std::isfinite(gapRW) || !std::isfinite(gapHW) || !std::isfinite(T)) return;
  pair.r = r;
  pair.T = T;
  pair.available = true;
  pair.outlier = T > critical;  // as shown
}

}  // namespace

void PairStatistics::setResidual(long double rw, long double hw) {
  vRWHigh_ = static_cast<double>(rw);
  vHWHigh_ = static_cast<double>(hw);
  vRWLow_ = static_cast<float>(rw - vRWHigh_);
  vHWLow_ = static_cast<float>(hw - vHWHigh_);
}

// An active pair's gap is its residual over its redundancy share; a switched-off pair's is
// its residual.
double PairStatistics::gapRW() const {
  return !available ? 0 : active ? vRWHigh_ * (1 / r) : vRWHigh_;
}

double PairStatistics::gapHW() const {
  return !available ? 0 : active ? vHWHigh_ * (1 / r) : vHWHigh_;
}

double PairStatistics::gapLength() const { return std::hypot(gapRW(), gapHW()); }

double ControlPointAnalysis::criticalOf(const PairStatistics& pair) const {
  const std::optional<long double>& critical = pair.active ? criticalActive : criticalSwitchedOff;
  return critical ? static_cast<double>(*critical) : 0;
}

int ControlPointAnalysis::dofOf(const PairStatistics& pair) const {
  return testDegreesOfFreedom(activeCount, pair.active);
}

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
  if (analysis.run.outcome == compute::ParameterOutcome::NotRepresentable) {
    analysis.outcome = AnalysisOutcome::NotRepresentable;
    return analysis;
  }
  analysis.outcome = AnalysisOutcome::Success;

  const int fActive = testDegreesOfFreedom(na, true);
  const int fSwitchedOff = testDegreesOfFreedom(na, false);
  // No point test at all for a significance level outside 0 .. 1.
  const bool testable = alpha > 0 && alpha < 1;
  if (testable && fActive > 0) analysis.criticalActive = criticalValue(alpha, fActive);
  if (testable && fSwitchedOff > 0) analysis.criticalSwitchedOff = criticalValue(alpha, fSwitchedOff);
  const double criticalActive = static_cast<double>(analysis.criticalActive.value_or(0));
  const double criticalSwitchedOff = static_cast<double>(analysis.criticalSwitchedOff.value_or(0));

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
  // The derived figures are kept as double; they are computed in double too, which is
  // ample for r, gaps of millimetres and T, and keeps this pass cheap for large files.
  const double variance = fSwitchedOff > 0 ? static_cast<double>(sumSquares / fSwitchedOff) : 0;  // So^2
  const double sumAll = static_cast<double>(sumSquares);
  // So without a pair, times f: below this it is round-off.
  const double noiseSum = static_cast<double>(kRoundOffShare * sumSquares);
  const double perPair = 1.0 / static_cast<double>(na);
  const double perN = static_cast<double>(1 / N);
  const double centreRW = static_cast<double>(cRW);
  const double centreHW = static_cast<double>(cHW);

  int row = 0;  // the solver's row of the next active pair
  auto statisticsOf = [&](std::size_t i) {
    PairStatistics pair;
    pair.active = isActive(active, i);
    const double rw = oldPairs.rw[i];
    const double hw = oldPairs.hw[i];
    if (pair.active) {
      const long double* v = solver.residuals.row(row++);
      pair.setResidual(v[0], v[1]);
    } else {
      // Observed minus computed, bracketed as the solver's own residuals.
      const long double lrw = rw;
      const long double lhw = hw;
      pair.setResidual(((-solver.Yo - solver.a * lrw) - solver.o * lhw) + static_cast<long double>(newPairs.rw[i]),
                       ((-solver.Xo - solver.a * lhw) + solver.o * lrw) + static_cast<long double>(newPairs.hw[i]));
    }
    const double y = static_cast<double>(rw - centreRW);
    const double x = static_cast<double>(hw - centreHW);
    const double h = perPair + (y * y + x * x) * perN;
    const double vRW = static_cast<double>(pair.vRW());
    const double vHW = static_cast<double>(pair.vHW());
    const double vv = vRW * vRW + vHW * vHW;

    if (pair.active) {
      const double r = 1 - h;
      if (!analysis.criticalActive || !(r > kSmallestShare)) return pair;
      const double perR = 1 / r;
      const double sumWithout = sumAll - vv * perR;
      if (!(sumWithout > noiseSum)) return pair;
      setStatistics(pair, vRW * perR, vHW * perR, r, vv * perR * fActive / (2 * sumWithout),
                    criticalActive);
    } else if (analysis.criticalSwitchedOff && variance > 0) {
      setStatistics(pair, vRW, vHW, 0, vv / (2 * (1 + h) * variance), criticalSwitchedOff);
    }
    return pair;
  };
  // Filled in one pass, without zeroing the table first: it is large for large files.
  analysis.pairs.reserve(n);
  double largest = -1;
  for (std::size_t i = 0; i < n; ++i) {
    const PairStatistics& pair = analysis.pairs.emplace_back(statisticsOf(i));
    if (pair.active && pair.available && pair.T > largest) {
      largest = pair.T;
      analysis.suspect = i;
    }
  }
  return analysis;
}

}  // namespace analysis
