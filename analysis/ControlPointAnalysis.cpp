// Estimates from the active control point pairs and derives, for every pair, its residual,
// redundancy share, leave-one-out gap and point test.
#include "ControlPointAnalysis.h"

#include "DegreesOfFreedom.h"
#include "PairTest.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace analysis {

namespace {

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
  return !gapShown ? 0 : active ? vRWHigh_ * (1 / r) : vRWHigh_;
}

double PairStatistics::gapHW() const {
  return !gapShown ? 0 : active ? vHWHigh_ * (1 / r) : vHWHigh_;
}

double PairStatistics::gapLength() const { return std::hypot(gapRW(), gapHW()); }

double ControlPointAnalysis::criticalOf(const PairStatistics& pair) const {
  const std::optional<long double>& critical = pair.active ? criticalActive : criticalSwitchedOff;
  return critical ? static_cast<double>(*critical) : 0;
}

int ControlPointAnalysis::testDof(bool pairActive) const {
  return testDegreesOfFreedom(activeCount, pairActive);
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

  // Reduced old coordinates as the solver forms them (observation minus centroid), taken
  // from the contiguous input rather than the solver's row-wise tables.
  const long double cRW = solver.centroid.row(0)[0];
  const long double cHW = solver.centroid.row(1)[0];
  // The largest factor the transformation gives an old coordinate, for the round-off level.
  const double factor = static_cast<double>(std::fabs(solver.a) + std::fabs(solver.o));
  long double N = 0;
  long double sumSquares = 0;  // sum over the active pairs of |v|^2
  double size = 0;             // of the active pairs' coordinates
  for (std::size_t i = 0, row = 0; i < n; ++i) {
    if (!isActive(active, i)) continue;
    const long double y = static_cast<long double>(oldPairs.rw[i]) - cRW;
    const long double x = static_cast<long double>(oldPairs.hw[i]) - cHW;
    N += y * y + x * x;
    const long double* v = solver.residuals.row(static_cast<int>(row++));
    sumSquares += v[0] * v[0] + v[1] * v[1];
    size = std::max(size, RoundOffLevel::pairSize(oldPairs.rw[i], oldPairs.hw[i], newPairs.rw[i],
                                                  newPairs.hw[i], factor));
  }
  analysis.roundOff = RoundOffLevel::ofCoordinateSize(size);
  // The derived figures are kept as double; they are computed in double too, which is
  // ample for r, gaps of millimetres and T, and keeps this pass cheap for large files.
  const PairTestContext context =
      PairTestContext::of(analysis, fActive, fSwitchedOff, sumSquares, analysis.roundOff);
  analysis.exactFit = context.soIsZero;
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
      // 1 - h is a share of at least 0; round-off must not make it negative.
      const double r = std::max(1 - h, 0.0);
      const double perR = 1 / r;
      pair.roundOff = analysis.roundOff.isRoundOff(vv);
      setActivePair(pair, context, r, vRW * perR, vHW * perR, vv, vv * perR);
    } else {
      const double own = RoundOffLevel::pairSize(rw, hw, newPairs.rw[i], newPairs.hw[i], factor);
      const RoundOffLevel level = RoundOffLevel::ofCoordinateSize(std::max(size, own));
      pair.roundOff = level.isRoundOff(vv);
      setCheckPoint(pair, context, vv, vv, 1 + h, level);
    }
    return pair;
  };
  // Filled in one pass, without zeroing the table first: it is large for large files.
  analysis.pairs.reserve(n);
  double largest = -1;
  for (std::size_t i = 0; i < n; ++i) {
    const PairStatistics& pair = analysis.pairs.emplace_back(statisticsOf(i));
    if (pair.active && pair.testShown && pair.T > largest) {
      largest = pair.T;
      analysis.suspect = i;
    }
  }
  return analysis;
}

}  // namespace analysis
