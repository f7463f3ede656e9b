// When a residual is nothing but round-off. The coordinates are doubles, so everything
// computed from them carries errors of a few units in the last place of the largest
// coordinate involved: with pairs that fit exactly (two pairs, or data made to fit) the
// residuals come out as 1e-12 m instead of 0 on Gauss-Krüger coordinates. Such a residual
// says nothing about the data; shown as a residual it would be magnified into an arrow, a
// factor of 10^15 or a test value. So a residual counts as round-off when its length is at
// most
//     kRoundOffMultiple · ε · M
// with ε the double's machine epsilon (2.2e-16) and M the coordinates' magnitude: the
// largest absolute coordinate of the pairs, the old ones times the scale m. On coordinates
// of 6e6 m the limit is 8e-8 m, far below any measured residual; relative to the
// coordinates, it holds for a local system of metres as for coordinates near 1e9.
// One rule for every place that tells round-off from a real residual.
#pragma once

#include <limits>

namespace analysis {

// How many epsilons of the coordinates' magnitude a round-off residual may reach: the
// residual passes through the centroids, the parameters and the transformation, each
// adding a few units in the last place.
inline constexpr double kRoundOffMultiple = 64;

// Whether a residual of length `residualLength` [m] is round-off for coordinates of
// magnitude `coordinateMagnitude` [m]. A residual of exactly zero always is.
inline bool isRoundOffResidual(double residualLength, double coordinateMagnitude) {
  return residualLength <= kRoundOffMultiple * std::numeric_limits<double>::epsilon() * coordinateMagnitude;
}

}  // namespace analysis
