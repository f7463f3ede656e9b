// When a residual is round-off rather than a misfit: the rule that the point test, the
// verdict and everything that says "the pairs fit exactly" follow.
//
// Coordinates are doubles. Each holds its value to half a unit in its last place,
// eps/2 * |value| with eps = DBL_EPSILON = 2^-52; nothing finer can be told apart. A
// residual v = RW - (Yo + a1*rw + a2*hw) carries the rounding of the pair's new coordinate,
// of its old coordinates times the transformation's factors, and of the centroids and
// parameters formed from all active pairs: a few units in the last place of the largest of
// these values. With the size of the coordinates of an estimate
//   S = max over the active pairs of max(|RW|, |HW|, L*|rw|, L*|hw|),
//   L = max(|a1| + |a2|, |b1| + |b2|), the largest factor the transformation gives an old
//       coordinate (Helmert: |a| + |o|),
// the round-off level of a residual component is u = 64 eps S. The 64 units leave room
// for the few that the computation adds and stay far below anything a survey measures:
// S = 100 m gives u = 1.4e-12 m, S = 1e6 m gives 1.4e-8 m, S = 1e9 m gives 1.4e-5 m.
//   a residual (vRW, vHW) is round-off when vRW^2 + vHW^2 <= 2 u^2;
//   a sum of squared residuals of m pairs is zero when it is <= 2 m u^2;
//   the sum without pair i, formed as the difference Omega - delta_i of the sum of all
//   and the pair's part delta_i = v_i' Q_i^-1 v_i, is zero when it is at most
//     2 m u^2 + 6 u |g_i| + 8 eps Omega:
//   besides the round-off of the other pairs it carries the cross terms of pair i's real
//   misfit with the round-off of the residuals, 2 v.e / r in delta_i and as much again in
//   Omega (|e| <= sqrt(2) u per residual, so at most 4 sqrt(2) u |g_i| with g_i = v_i / r_i
//   the pair's gap), and the cancellation error of the subtraction in double.
// A check point's residual is formed from its own coordinates as well: its level uses
// the larger of S and the size of its own coordinates.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>

namespace models {

struct RoundOffLevel {
  // Units in the last place of the coordinates that a residual may carry as round-off.
  static constexpr double kUnitsInLastPlace = 64;
  // Cancellation error of a difference of sums formed in double, relative to the sum.
  static constexpr double kCancellation = 8 * DBL_EPSILON;
  // Bound of the cross terms of a misfit with round-off, in units of u |g| (> 4 sqrt(2)).
  static constexpr double kCrossTerms = 6;

  double residual = 0;  // u, in the unit of the coordinates

  // The level for coordinates of size S (see above).
  static RoundOffLevel ofCoordinateSize(double size) {
    return {kUnitsInLastPlace * DBL_EPSILON * std::fabs(size)};
  }
  // The size of a pair's coordinates: max(|RW|, |HW|, factor * |rw|, factor * |hw|).
  static double pairSize(double rw, double hw, double RW, double HW, double factor) {
    return std::max({std::fabs(RW), std::fabs(HW), factor * std::fabs(rw), factor * std::fabs(hw)});
  }

  // Whether a residual with vRW^2 + vHW^2 = squaredLength is round-off.
  bool isRoundOff(double squaredLength) const { return !(squaredLength > 2 * residual * residual); }
  // Whether a sum of squared residuals of `pairs` pairs is zero.
  bool isZeroSum(double sum, std::size_t pairs) const {
    return !(sum > 2 * static_cast<double>(pairs) * residual * residual);
  }
  // Whether `difference` = whole - part, the sum of squared residuals of `pairs` pairs
  // without one pair, formed by subtraction from the sum `whole` of all; `gapLength` is
  // the left-out pair's gap.
  bool isZeroDifference(double difference, double whole, std::size_t pairs, double gapLength) const {
    const double level = 2 * static_cast<double>(pairs) * residual * residual +
                         kCrossTerms * residual * gapLength + kCancellation * whole;
    return !(difference > level);
  }
};

}  // namespace models
