// Multiquadric interpolation: the bordered system solved with the trend eliminated by a
// Householder reflection, refined with the evaluation's own residuals.
#include "Multiquadric.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace distribution {

namespace {

// q = sqrt(s^2 + delta^2), written once so that the system and the evaluation round alike.
inline double quadric(double dRW, double dHW, double deltaSquared) {
  return std::sqrt(dRW * dRW + dHW * dHW + deltaSquared);
}

// Refinement stops once the nodes are this close, or after kMaxRefinements rounds.
constexpr double kRefinedEnough = 1e-13;  // [m]
constexpr int kMaxRefinements = 3;

Settings withDefaultDelta(const PreparedControlPoints& points, Settings settings) {
  if (!settings.delta) settings.delta = meanNearestNeighbourDistance(points);
  return settings;
}

// Solves [A 1; 1^T 0] (alpha, b) = (v, 0) for right-hand sides with two columns (RW, HW).
// A is taken over and overwritten: first with H A H, then its lower right block with the
// Cholesky factor of -(H A H)_22, so that the n x n matrix exists once.
class BorderedSolver {
public:
  explicit BorderedSolver(Eigen::MatrixXd&& A) : n_(A.rows()), matrix_(std::move(A)) {
    sqrtN_ = std::sqrt(static_cast<double>(n_));
    u_ = Eigen::VectorXd::Ones(n_);
    u_(0) += sqrtN_;
    beta_ = 2 / u_.squaredNorm();
    // H A H = A - u p^T - p u^T with p = beta A u - (beta^2 / 2)(u^T A u) u.
    const Eigen::VectorXd w = matrix_ * u_;
    const Eigen::VectorXd p = beta_ * w - (beta_ * beta_ / 2 * u_.dot(w)) * u_;
    matrix_.noalias() -= u_ * p.transpose();
    matrix_.noalias() -= p * u_.transpose();
    firstRow_ = matrix_.row(0).tail(n_ - 1);
    if (n_ > 1) {
      auto block = matrix_.bottomRightCorner(n_ - 1, n_ - 1);
      block = -block;
      cholesky_.emplace(block);
      ok_ = cholesky_->info() == Eigen::Success;
    }
  }
  BorderedSolver(const BorderedSolver&) = delete;
  BorderedSolver& operator=(const BorderedSolver&) = delete;

  bool ok() const { return ok_; }

  void solve(const Eigen::MatrixX2d& v, Eigen::MatrixX2d& alpha, Eigen::RowVector2d& trend) const {
    const Eigen::MatrixX2d hv = v - beta_ * u_ * (u_.transpose() * v);
    Eigen::MatrixX2d z = Eigen::MatrixX2d::Zero(n_, 2);
    if (n_ > 1) z.bottomRows(n_ - 1) = cholesky_->solve(-hv.bottomRows(n_ - 1));
    alpha = z - beta_ * u_ * (u_.transpose() * z);
    trend = (firstRow_.transpose() * z.bottomRows(n_ - 1) - hv.row(0)) / sqrtN_;
  }

private:
  using Factor = Eigen::LLT<Eigen::Ref<Eigen::MatrixXd>>;
  Eigen::Index n_;
  Eigen::MatrixXd matrix_;
  double sqrtN_ = 1;
  Eigen::VectorXd u_;
  double beta_ = 0;
  Eigen::VectorXd firstRow_;  // (H A H)_12
  std::optional<Factor> cholesky_;
  bool ok_ = true;
};

}  // namespace

double meanNearestNeighbourDistance(const PreparedControlPoints& points) {
  const std::size_t n = points.size();
  if (n < 2) return 0;
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    double nearest = std::numeric_limits<double>::infinity();
    for (std::size_t j = 0; j < n; ++j) {
      if (j == i) continue;
      const double dRW = points.rw[j] - points.rw[i], dHW = points.hw[j] - points.hw[i];
      nearest = std::min(nearest, dRW * dRW + dHW * dHW);
    }
    sum += std::sqrt(nearest);
  }
  return sum / static_cast<double>(n);
}

MultiquadricInterpolation::MultiquadricInterpolation(PreparedControlPoints points, const Settings& settings,
                                                     SetupResult& result)
    : ResidualDistribution(withDefaultDelta(points, settings), points.size()), points_(std::move(points)) {
  result = {};
  const double delta = *this->settings().delta;
  deltaSquared_ = delta * delta;
  const Eigen::Index n = static_cast<Eigen::Index>(points_.size());
  alphaRW_.assign(points_.size(), 0);
  alphaHW_.assign(points_.size(), 0);
  if (n == 0) return;

  Eigen::MatrixXd A(n, n);
  for (Eigen::Index i = 0; i < n; ++i)
    for (Eigen::Index j = 0; j < n; ++j)
      A(i, j) = quadric(points_.rw[j] - points_.rw[i], points_.hw[j] - points_.hw[i], deltaSquared_);
  const BorderedSolver solver(std::move(A));
  if (!solver.ok()) {
    result.problem = SetupProblem::MultiquadricIllConditioned;
    return;
  }

  Eigen::MatrixX2d v(n, 2);
  for (Eigen::Index i = 0; i < n; ++i) v.row(i) << points_.vRW[i], points_.vHW[i];
  Eigen::MatrixX2d alpha = Eigen::MatrixX2d::Zero(n, 2);
  Eigen::RowVector2d trend = Eigen::RowVector2d::Zero();
  Eigen::MatrixX2d remaining = v;  // v minus what the evaluation gives at the nodes
  for (int round = 0;; ++round) {
    Eigen::MatrixX2d step;
    Eigen::RowVector2d trendStep;
    solver.solve(remaining, step, trendStep);
    alpha += step;
    trend += trendStep;
    for (Eigen::Index i = 0; i < n; ++i) {
      alphaRW_[i] = alpha(i, 0);
      alphaHW_[i] = alpha(i, 1);
    }
    trendRW_ = trend(0);
    trendHW_ = trend(1);
    for (Eigen::Index i = 0; i < n; ++i) {
      const Value value = evaluate(points_.rw[i], points_.hw[i]);
      remaining.row(i) << points_.vRW[i] - value.rw, points_.vHW[i] - value.hw;
    }
    largestNodeDeviation_ = remaining.cwiseAbs().maxCoeff();
    if (!(largestNodeDeviation_ > kRefinedEnough) || round == kMaxRefinements) break;
  }
  if (!(largestNodeDeviation_ <= kMultiquadricNodeTolerance))
    result.problem = SetupProblem::MultiquadricIllConditioned;
}

// Vector code over the control points (OpenMP SIMD: the sums may be added in any order).
MultiquadricInterpolation::Value MultiquadricInterpolation::evaluate(double reducedRW, double reducedHW) const {
  const double* const pointRW = points_.rw.data();
  const double* const pointHW = points_.hw.data();
  const double* const alphaRW = alphaRW_.data();
  const double* const alphaHW = alphaHW_.data();
  const double deltaSquared = deltaSquared_;
  const std::size_t n = points_.size();
  double sumRW = 0, sumHW = 0;
#pragma omp simd reduction(+ : sumRW, sumHW)
  for (std::size_t j = 0; j < n; ++j) {
    const double q = quadric(pointRW[j] - reducedRW, pointHW[j] - reducedHW, deltaSquared);
    sumRW += alphaRW[j] * q;
    sumHW += alphaHW[j] * q;
  }
  return {sumRW + trendRW_, sumHW + trendHW_};
}

Correction MultiquadricInterpolation::correctionAt(double rw, double hw) const {
  if (!std::isfinite(rw) || !std::isfinite(hw) || points_.size() == 0) return {};
  const Value value = evaluate(points_.origin.reducedRW(rw), points_.origin.reducedHW(hw));
  return {value.rw, value.hw, true};
}

}  // namespace distribution
