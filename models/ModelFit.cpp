// Fits the three plane models to the active control point pairs in closed form.
#include "ModelFit.h"

#include "Keltransformation.h"
#include "ParameterRun.h"
#include "RoundOffLevel.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <utility>

namespace models {

namespace {

// det M at or below this share of sum y^2 * sum x^2: the points lie on one line.
constexpr long double kCollinear = 1e-12L;

// The Helmert estimate is the "Parameter" run itself, so that not a bit of it can drift.
FitOutcome fitHelmert(ModelFit& fit, const PointList& oldPairs, const PointList& newPairs,
                      const std::vector<bool>& active, std::size_t n) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  compute::ParameterRun run;
  if (fit.activeCount == n) {
    run = compute::runParameterEstimation(oldPairs, newPairs, solver);
  } else {
    const auto [oldActive, newActive] = activePairLists(oldPairs, newPairs, active, n, fit.activeCount);
    run = compute::runParameterEstimation(oldActive, newActive, solver);
  }
  if (run.outcome == compute::ParameterOutcome::PointsCoincide) return FitOutcome::PointsCoincide;
  if (run.outcome != compute::ParameterOutcome::Success && run.outcome != compute::ParameterOutcome::NotRepresentable)
    return FitOutcome::TooFewPairs;
  fit.transformation = PlaneTransformation::similarity(Model::Helmert, solver.a, solver.o, solver.Yo, solver.Xo);
  fit.centroid = {solver.centroid.row(0)[0], solver.centroid.row(1)[0], solver.centroid.row(2)[0],
                  solver.centroid.row(3)[0]};
  fit.So = run.So;
  return run.outcome == compute::ParameterOutcome::Success ? FitOutcome::Success : FitOutcome::NotRepresentable;
}

FitOutcome fitCongruent(ModelFit& fit) {
  if (fit.N == 0) return FitOutcome::PointsCoincide;
  // All new points on one spot give P = Q = 0: no rotation to find, none taken.
  const long double d = fit.P == 0 && fit.Q == 0 ? 0.0L : std::atan2(fit.Q, fit.P);
  const long double a = std::cos(d), o = std::sin(d);
  const Centroids& c = fit.centroid;
  fit.transformation = PlaneTransformation::similarity(Model::Congruent, a, o, c.RW - a * c.rw - o * c.hw,
                                                       c.HW - a * c.hw + o * c.rw);
  return FitOutcome::Success;
}

FitOutcome fitAffine(ModelFit& fit, long double yY, long double xY, long double yX, long double xX) {
  if (fit.Myy + fit.Mxx == 0) return FitOutcome::PointsCoincide;
  const long double det = fit.Myy * fit.Mxx - fit.Myx * fit.Myx;
  if (!(det > kCollinear * fit.Myy * fit.Mxx)) return FitOutcome::PointsCollinear;
  fit.Lyy = fit.Mxx / det;
  fit.Lxx = fit.Myy / det;
  fit.Lyx = -fit.Myx / det;
  PlaneTransformation& t = fit.transformation;
  t.model = Model::Affine;
  t.a1 = fit.Lyy * yY + fit.Lyx * xY;
  t.a2 = fit.Lyx * yY + fit.Lxx * xY;
  t.b1 = fit.Lyy * yX + fit.Lyx * xX;
  t.b2 = fit.Lyx * yX + fit.Lxx * xX;
  const Centroids& c = fit.centroid;
  t.Yo = c.RW - t.a1 * c.rw - t.a2 * c.hw;
  t.Xo = c.HW - t.b1 * c.rw - t.b2 * c.hw;
  return FitOutcome::Success;
}

bool finiteAsDouble(long double value) { return std::isfinite(static_cast<double>(value)); }

}  // namespace

std::size_t pairCount(const PointList& oldPairs, const PointList& newPairs) {
  return std::min({oldPairs.rw.size(), oldPairs.hw.size(), newPairs.rw.size(), newPairs.hw.size()});
}

std::pair<PointList, PointList> activePairLists(const PointList& oldPairs, const PointList& newPairs,
                                                const std::vector<bool>& active, std::size_t n,
                                                std::size_t activeCount) {
  std::pair<PointList, PointList> lists;
  for (PointList* list : {&lists.first, &lists.second}) {
    list->rw.reserve(activeCount);
    list->hw.reserve(activeCount);
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!isActivePair(active, i)) continue;
    lists.first.rw.push_back(oldPairs.rw[i]);
    lists.first.hw.push_back(oldPairs.hw[i]);
    lists.second.rw.push_back(newPairs.rw[i]);
    lists.second.hw.push_back(newPairs.hw[i]);
  }
  return lists;
}

ModelFit fitModel(Model model, const PointList& oldPairs, const PointList& newPairs, const std::vector<bool>& active) {
  ModelFit fit;
  fit.model = model;
  fit.transformation.model = model;
  const std::size_t n = pairCount(oldPairs, newPairs);
  for (std::size_t i = 0; i < n; ++i) fit.activeCount += isActivePair(active, i) ? 1 : 0;
  fit.redundancy = redundancy(model, static_cast<long long>(fit.activeCount));
  if (fit.activeCount < minimumPairs(model)) return fit;

  // The centroids, summed in pairing order as the Helmert solver sums its columns.
  Centroids& c = fit.centroid;
  for (std::size_t i = 0; i < n; ++i) {
    if (!isActivePair(active, i)) continue;
    c.rw += oldPairs.rw[i];
    c.hw += oldPairs.hw[i];
    c.RW += newPairs.rw[i];
    c.HW += newPairs.hw[i];
  }
  const long double count = static_cast<long double>(fit.activeCount);
  c = {c.rw / count, c.hw / count, c.RW / count, c.HW / count};

  long double yY = 0, xY = 0, yX = 0, xX = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (!isActivePair(active, i)) continue;
    const long double y = oldPairs.rw[i] - c.rw, x = oldPairs.hw[i] - c.hw;
    const long double Y = newPairs.rw[i] - c.RW, X = newPairs.hw[i] - c.HW;
    fit.Myy += y * y;
    fit.Myx += y * x;
    fit.Mxx += x * x;
    yY += y * Y;
    xY += x * Y;
    yX += y * X;
    xX += x * X;
  }
  fit.N = fit.Myy + fit.Mxx;
  fit.P = yY + xX;
  fit.Q = xY - yX;

  switch (model) {
    case Model::Helmert: fit.outcome = fitHelmert(fit, oldPairs, newPairs, active, n); break;
    case Model::Congruent: fit.outcome = fitCongruent(fit); break;
    case Model::Affine: fit.outcome = fitAffine(fit, yY, xY, yX, xX); break;
  }
  if (fit.outcome != FitOutcome::Success && fit.outcome != FitOutcome::NotRepresentable) return fit;
  if (model == Model::Helmert && fit.N > 0) fit.Lyy = fit.Lxx = 1 / fit.N;

  // Residuals of the active pairs, their sum of squares and the coordinates' size.
  const PlaneTransformation& t = fit.transformation;
  const double factor = static_cast<double>(t.largestFactor());
  for (std::size_t i = 0; i < n; ++i) {
    if (!isActivePair(active, i)) continue;
    const long double vRW = t.residualRW(oldPairs.rw[i], oldPairs.hw[i], newPairs.rw[i]);
    const long double vHW = t.residualHW(oldPairs.rw[i], oldPairs.hw[i], newPairs.hw[i]);
    fit.omega += vRW * vRW + vHW * vHW;
    fit.coordinateSize = std::max(fit.coordinateSize, RoundOffLevel::pairSize(oldPairs.rw[i], oldPairs.hw[i],
                                                                              newPairs.rw[i], newPairs.hw[i], factor));
  }
  if (model != Model::Helmert)
    fit.So = fit.redundancy > 0 ? static_cast<double>(std::sqrt(fit.omega / fit.redundancy)) : 0;

  bool representable = std::isfinite(fit.So);
  for (const long double parameter : {t.Yo, t.Xo, t.a1, t.a2, t.b1, t.b2}) representable = representable && finiteAsDouble(parameter);
  if (!representable) fit.outcome = FitOutcome::NotRepresentable;
  return fit;
}

ParameterMatrix ModelFit::designBlock(long double rw, long double hw, ParameterOrigin origin) const {
  const double y = static_cast<double>(origin == ParameterOrigin::Centroid ? rw - centroid.rw : rw);
  const double x = static_cast<double>(origin == ParameterOrigin::Centroid ? hw - centroid.hw : hw);
  ParameterMatrix A;
  A.rows = 2;
  A.cols = parameterCount(model);
  A(0, 0) = 1;  // Y0 or Yo
  A(1, 1) = 1;  // X0 or Xo
  const double a = static_cast<double>(transformation.a1), o = static_cast<double>(transformation.a2);
  switch (model) {
    case Model::Congruent:
      A(0, 2) = -o * y + a * x;
      A(1, 2) = -o * x - a * y;
      break;
    case Model::Helmert:
      A(0, 2) = y, A(0, 3) = x;
      A(1, 2) = x, A(1, 3) = -y;
      break;
    case Model::Affine:
      A(0, 2) = y, A(0, 3) = x;
      A(1, 4) = y, A(1, 5) = x;
      break;
  }
  return A;
}

ParameterMatrix ModelFit::cofactors(ParameterOrigin origin) const {
  const int k = parameterCount(model);
  Eigen::MatrixXd atCentroid = Eigen::MatrixXd::Zero(k, k);
  atCentroid(0, 0) = atCentroid(1, 1) = 1.0 / static_cast<double>(activeCount);
  switch (model) {
    case Model::Congruent: atCentroid(2, 2) = static_cast<double>(1 / N); break;
    case Model::Helmert: atCentroid(2, 2) = atCentroid(3, 3) = static_cast<double>(1 / N); break;
    case Model::Affine:
      for (const int block : {2, 4}) {
        atCentroid(block, block) = static_cast<double>(Lyy);
        atCentroid(block, block + 1) = atCentroid(block + 1, block) = static_cast<double>(Lyx);
        atCentroid(block + 1, block + 1) = static_cast<double>(Lxx);
      }
      break;
  }
  Eigen::MatrixXd result = atCentroid;
  if (origin == ParameterOrigin::Origin) {
    // The parameters at the centroid are x_c = K x_o with K = [I B; 0 I], B the design
    // columns of the other parameters at the centroid; so Q_o = K^-1 Q_c K^-T.
    const ParameterMatrix atCentre = designBlock(centroid.rw, centroid.hw, ParameterOrigin::Origin);
    Eigen::MatrixXd inverseK = Eigen::MatrixXd::Identity(k, k);
    for (int row = 0; row < 2; ++row)
      for (int col = 2; col < k; ++col) inverseK(row, col) = -atCentre(row, col);
    result = inverseK * atCentroid * inverseK.transpose();
  }
  ParameterMatrix Q;
  Q.rows = Q.cols = k;
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) Q(i, j) = result(i, j);
  return Q;
}

}  // namespace models
