// Multiquadric interpolation ("Multiquadratische Interpolation", after Hardy) with a
// constant trend:
//
//   c(P) = sum_j alpha_j q_j(P) + b,   q_j(P) = sqrt(s_j^2 + delta^2),   sum_j alpha_j = 0,
//
// s_j the old-system distance from P to control point j [m], delta >= 0 [m]; alpha_j
// (dimensionless) and b [m] solved, for RW and HW alike, from c(P_i) = v_i at every
// control point i. With A_ij = q_j(P_i) that is the bordered system
//
//   [ A   1 ] [alpha]   [v]
//   [ 1^T 0 ] [  b  ] = [0],
//
// which is symmetric but indefinite. For distinct points A is negative definite on the
// vectors with sum 0 (Micchelli), so the trend is eliminated: with the Householder
// reflection H that maps the vector of ones to -sqrt(n) e_1, alpha = H (0, gamma) keeps
// sum alpha = 0 for every gamma, and gamma solves the (n-1) x (n-1) system
// -(H A H)_22 gamma = -(H v)_2, whose matrix is symmetric positive definite. Cholesky
// (Eigen's LLT, the blocked form of LDL^T for such matrices, ten times faster than its
// pivoting LDLT at 3000 points) factors it in place and reports a matrix that rounding has
// left without positive definiteness. b follows from the first row. The solution is
// refined with the residuals of the evaluation itself, and refused
// (MultiquadricIllConditioned) unless the evaluation reproduces every v_i to
// kMultiquadricNodeTolerance.
//
// Default delta: the mean, over the control points, of the distance to the nearest other
// control point (0 with a single control point, whose residual is then the constant b).
#pragma once

#include "ResidualDistribution.h"

#include <vector>

namespace distribution {

class MultiquadricInterpolation final : public ResidualDistribution {
public:
  // Solves the system; `result` tells whether it succeeded. Control points must number at
  // most kMaxMultiquadricPoints and delta, if given, be finite and >= 0.
  MultiquadricInterpolation(PreparedControlPoints points, const Settings& settings, SetupResult& result);

  Correction correctionAt(double rw, double hw) const override;

  // The largest deviation of c(P_i) from v_i over the control points [m].
  double largestNodeDeviation() const { return largestNodeDeviation_; }

private:
  struct Value {
    double rw, hw;
  };
  Value evaluate(double reducedRW, double reducedHW) const;

  PreparedControlPoints points_;
  double deltaSquared_ = 0;
  std::vector<double> alphaRW_, alphaHW_;
  double trendRW_ = 0, trendHW_ = 0;
  double largestNodeDeviation_ = 0;
};

// The default delta for these points: the mean nearest-neighbour distance [m].
double meanNearestNeighbourDistance(const PreparedControlPoints& points);

}  // namespace distribution
