// Distance weighting ("Gewichtung 1/s", "1/s^1,5", "1/s²"):
//
//   c(P) = sum_j w_j v_j / sum_j w_j,   w_j = 1 / s_j^p,   p = 1, 1.5 or 2,
//
// s_j the distance in the old system from P to control point j [m], v_j its residual [m].
// Where s_j = 0 the correction is v_j exactly. With a radius R only control points with
// s_j <= R take part; with none of them P gets no correction. The weights are cut at R, not
// tapered, so with a radius the correction jumps where a control point enters or leaves
// P's circle; without one it is continuous everywhere.
//
// Without a radius every point meets every control point, so the inner loop over the
// control points is written for the vector unit: arrays of coordinates and residuals, no
// pow (s^1.5 = s * sqrt(s), s^2 without a root) and no branch. With a radius the control
// points are sorted into a grid of cells at least R wide, and a point looks only at the
// cells its circle touches; each row of those cells is one contiguous run of the arrays.
#pragma once

#include "ResidualDistribution.h"

#include <cstdint>
#include <vector>

namespace distribution {

class DistanceWeighting final : public ResidualDistribution {
public:
  // `settings` must name one of the three distance weightings; a radius must be > 0.
  DistanceWeighting(PreparedControlPoints points, const Settings& settings);

  Correction correctionAt(double rw, double hw) const override;

private:
  struct Sums;
  template <int twiceExponent, bool bounded>
  void accumulate(std::size_t begin, std::size_t end, double rw, double hw, Sums& sums) const;
  template <class Visit>
  void forEachRun(double rw, double hw, Visit visit) const;
  template <int twiceExponent>
  Correction correctionWith(double rw, double hw) const;
  void buildGrid();

  PreparedControlPoints points_;  // with a radius: sorted by grid cell, row by row
  int twiceExponent_ = 4;         // 2p: 2, 3 or 4
  double radius_ = 0;             // 0: none
  double radiusSquared_ = 0;

  // The grid (with a radius only): cell (column, row) covers reduced rw in
  // [minRW + column * cellSize, ...+ cellSize), likewise hw; its points are
  // points_[cellStart_[row * columns_ + column] .. cellStart_[... + 1]).
  double minRW_ = 0, minHW_ = 0, cellSize_ = 1;
  int columns_ = 0, rows_ = 0;
  std::vector<std::uint32_t> cellStart_;
};

}  // namespace distribution
