// Estimates from the active control point pairs and derives, for every pair, its residual,
// redundancy share, leave-one-out gap and point test: Helmert through the "Parameter" run,
// the other models through their own estimate (models/).
#include "ControlPointAnalysis.h"

#include "DegreesOfFreedom.h"
#include "PairInfluence.h"
#include "PairTest.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace analysis {

namespace {

using models::isActivePair;

// Pair counts, model and alpha: what every analysis starts with.
ControlPointAnalysis startAnalysis(models::Model model, const PointList& oldPairs, const PointList& newPairs,
                                   const std::vector<bool>& active, double alpha) {
  ControlPointAnalysis analysis;
  analysis.model = model;
  analysis.alpha = alpha;
  analysis.pairCount = models::pairCount(oldPairs, newPairs);
  for (std::size_t i = 0; i < analysis.pairCount; ++i) analysis.activeCount += isActivePair(active, i) ? 1 : 0;
  return analysis;
}

AnalysisOutcome outcomeOf(models::FitOutcome outcome) {
  switch (outcome) {
    case models::FitOutcome::Success: return AnalysisOutcome::Success;
    case models::FitOutcome::TooFewPairs: return AnalysisOutcome::TooFewActive;
    case models::FitOutcome::PointsCoincide: return AnalysisOutcome::PointsCoincide;
    case models::FitOutcome::PointsCollinear: return AnalysisOutcome::PointsCollinear;
    case models::FitOutcome::NotRepresentable: return AnalysisOutcome::NotRepresentable;
  }
  return AnalysisOutcome::NotRepresentable;
}

}  // namespace

void PairStatistics::setResidual(long double rw, long double hw) {
  vRWHigh_ = static_cast<double>(rw);
  vHWHigh_ = static_cast<double>(hw);
  vRWLow_ = static_cast<float>(rw - vRWHigh_);
  vHWLow_ = static_cast<float>(hw - vHWHigh_);
}

void PairStatistics::setGap(double rw, double hw) {
  gapRW_ = rw;
  gapHW_ = hw;
  gapShown = true;
}

double PairStatistics::gapLength() const { return std::hypot(gapRW(), gapHW()); }

double ControlPointAnalysis::criticalOf(const PairStatistics& pair) const {
  const std::optional<long double>& critical = pair.active ? criticalActive : criticalSwitchedOff;
  return critical ? static_cast<double>(*critical) : 0;
}

int ControlPointAnalysis::testDof(bool pairActive) const {
  return testDegreesOfFreedom(activeCount, pairActive, model);
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
  ControlPointAnalysis analysis = startAnalysis(models::Model::Helmert, oldPairs, newPairs, active, alpha);
  const std::size_t n = analysis.pairCount;
  const std::size_t na = analysis.activeCount;

  // The estimate itself is the "Parameter" run on the active pairs, so that nothing of its
  // order of operations can drift; all pairs active need no copy at all.
  if (na == n) {
    analysis.run = compute::runParameterEstimation(oldPairs, newPairs, solver, onProgress);
  } else {
    const auto [oldActive, newActive] = models::activePairLists(oldPairs, newPairs, active, n, na);
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
  analysis.transformation =
      models::PlaneTransformation::similarity(models::Model::Helmert, solver.a, solver.o, solver.Yo, solver.Xo);
  analysis.centroid = {solver.centroid.row(0)[0], solver.centroid.row(1)[0], solver.centroid.row(2)[0],
                       solver.centroid.row(3)[0]};

  const int fActive = testDegreesOfFreedom(na, true);
  const int fSwitchedOff = testDegreesOfFreedom(na, false);
  setCriticalValues(analysis, fActive, fSwitchedOff);

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
    if (!isActivePair(active, i)) continue;
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
  fillPairs(analysis, [&](std::size_t i) {
    PairStatistics pair;
    pair.active = isActivePair(active, i);
    const double rw = oldPairs.rw[i];
    const double hw = oldPairs.hw[i];
    if (pair.active) {
      const long double* v = solver.residuals.row(row++);
      pair.setResidual(v[0], v[1]);
    } else {
      pair.setResidual(analysis.transformation.residualRW(rw, hw, newPairs.rw[i]),
                       analysis.transformation.residualHW(rw, hw, newPairs.hw[i]));
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
      setActivePair(pair, context, r, r, vRW * perR, vHW * perR, vv, vv * perR);
    } else {
      const double own = RoundOffLevel::pairSize(rw, hw, newPairs.rw[i], newPairs.hw[i], factor);
      const RoundOffLevel level = RoundOffLevel::ofCoordinateSize(std::max(size, own));
      pair.roundOff = level.isRoundOff(vv);
      setCheckPoint(pair, context, vv, vv, 1 + h, level);
    }
    return pair;
  });
  return analysis;
}

ControlPointAnalysis analyseModel(models::Model model, const PointList& oldPairs, const PointList& newPairs,
                                  const std::vector<bool>& active, double alpha,
                                  const toolkit::ProgressHandler& onProgress) {
  if (model == models::Model::Helmert) {
    kel::TKEL_Vovezorevarovaduvorir solver;
    return analyseControlPoints(oldPairs, newPairs, active, alpha, solver, onProgress);
  }
  auto progress = [&](double fraction) {
    if (onProgress) onProgress(fraction);
  };
  ControlPointAnalysis analysis = startAnalysis(model, oldPairs, newPairs, active, alpha);
  const models::ModelFit fit = models::fitModel(model, oldPairs, newPairs, active);
  progress(0.5);
  analysis.run.pointCount = static_cast<int>(analysis.activeCount);
  analysis.outcome = outcomeOf(fit.outcome);
  if (analysis.outcome != AnalysisOutcome::Success) return analysis;
  analysis.transformation = fit.transformation;
  analysis.centroid = fit.centroid;
  analysis.run.outcome = compute::ParameterOutcome::Success;
  analysis.run.So = fit.So;
  if (model == models::Model::Congruent) {
    const models::SimilarityShape shape = models::similarityShape(fit.transformation);
    analysis.run.scale = shape.scale;
    analysis.run.rotation = shape.rotationGon;
  }

  const std::size_t na = analysis.activeCount;
  const int fActive = testDegreesOfFreedom(na, true, model);
  const int fSwitchedOff = testDegreesOfFreedom(na, false, model);
  setCriticalValues(analysis, fActive, fSwitchedOff);
  analysis.roundOff = RoundOffLevel::ofCoordinateSize(fit.coordinateSize);
  const PairTestContext context = PairTestContext::of(analysis, fActive, fSwitchedOff, fit.omega, analysis.roundOff);
  analysis.exactFit = context.soIsZero;
  const models::PlaneTransformation& t = fit.transformation;
  const double factor = static_cast<double>(t.largestFactor());

  fillPairs(analysis, [&](std::size_t i) {
    PairStatistics pair;
    pair.active = isActivePair(active, i);
    const double rw = oldPairs.rw[i], hw = oldPairs.hw[i];
    const double RW = newPairs.rw[i], HW = newPairs.hw[i];
    pair.setResidual(t.residualRW(rw, hw, RW), t.residualHW(rw, hw, HW));
    const double vRW = static_cast<double>(pair.vRW());
    const double vHW = static_cast<double>(pair.vHW());
    const double vv = vRW * vRW + vHW * vHW;
    if (pair.active) {
      const models::LeaveOneOut figures = models::leaveOneOut(fit, rw, hw, RW, HW, vRW, vHW);
      setActivePair(pair, context, figures.share, figures.smallestShare, figures.gapRW, figures.gapHW, vv,
                    figures.fall);
    } else {
      const models::CheckPointWeight weight = models::checkPointWeight(fit, rw, hw, vRW, vHW);
      const double own = RoundOffLevel::pairSize(rw, hw, RW, HW, factor);
      setCheckPoint(pair, context, vv, weight.weighted, weight.cofactor,
                    RoundOffLevel::ofCoordinateSize(std::max(fit.coordinateSize, own)));
    }
    return pair;
  });
  progress(1);
  return analysis;
}

}  // namespace analysis
