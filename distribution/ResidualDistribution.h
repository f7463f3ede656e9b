// Restklaffenverteilung: carrying the control points' residuals over to other points, so
// that control points keep their given new coordinates and neighbouring points move alike.
//
// For a point P given by its old-system position the distribution yields a correction c(P)
// in the new system [m]; the caller adds it to its transformed coordinate T(P). Nothing
// here knows the transformation model. Distances s_j are measured in the old system, from
// P to control point j's old position (see ControlPoints.h), with v_j = (vRW_j, vHW_j):
//
//   Distance weighting, p = 1, 1.5 or 2 ("Gewichtung 1/s", "1/s^1,5", "1/s²"):
//     c(P) = sum w_j v_j / sum w_j,  w_j = 1 / s_j^p;  c(P) = v_j where s_j = 0.
//     With a radius R only control points with s_j <= R count; a point with none of
//     them within R gets no correction.
//   Multiquadric interpolation ("Multiquadratische Interpolation"):
//     c(P) = sum alpha_j sqrt(s_j^2 + delta^2) + b,  with sum alpha_j = 0,
//     alpha and the constant trend b solved so that c = v_j at every control point.
//     delta [m] as given, by default the mean distance from each control point to its
//     nearest neighbour.
//   Triangle-wise linear interpolation ("Dreiecksvermaschung"):
//     the Delaunay triangulation of the control points in the old system; inside a
//     triangle c(P) = l1 v_1 + l2 v_2 + l3 v_3 with P's barycentric coordinates l_i.
//     Points outside the convex hull get no correction.
//
// Every method reproduces v_j at the control points (distance weighting and triangles
// exactly, multiquadric to 1e-9 m, checked when it is set up) and gives c = 0 exactly
// when all residuals are zero. Evaluation is const and may run on many threads at once.
#pragma once

#include "ControlPoints.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <span>

namespace distribution {

enum class Method {
  DistanceWeightingP1,    // w = 1/s
  DistanceWeightingP1_5,  // w = 1/s^1.5
  DistanceWeightingP2,    // w = 1/s^2
  Multiquadric,
  Triangles,
};

struct Settings {
  Method method = Method::DistanceWeightingP2;
  std::optional<double> radius;  // distance weighting only: R [m]; none: every control point counts
  std::optional<double> delta;   // multiquadric only: delta [m]; none: the default rule
};

// Beyond this many control points the multiquadric system (n x n, solved in O(n^3)) is
// refused: 3000 points take 72 MB and a second or two to solve.
inline constexpr std::size_t kMaxMultiquadricPoints = 3000;

// Where a multiquadric solution must reproduce every control point's residual.
inline constexpr double kMultiquadricNodeTolerance = 1e-9;  // [m]

struct Correction {
  double dRW = 0;  // [m], new system; 0 unless `corrected`
  double dHW = 0;
  // false: no control point within the radius (distance weighting), outside the
  // triangulation (triangles), or no control point at all.
  bool corrected = false;
};

class ResidualDistribution {
public:
  virtual ~ResidualDistribution() = default;

  // The correction at the old-system position (rw, hw) [m]. A position that is not finite
  // gets no correction.
  virtual Correction correctionAt(double rw, double hw) const = 0;

  // The settings in effect, with the default delta filled in for the multiquadric method.
  const Settings& settings() const { return settings_; }
  // The control points the distribution uses (coincident duplicates counted once).
  std::size_t controlPointCount() const { return controlPointCount_; }

protected:
  ResidualDistribution(const Settings& settings, std::size_t controlPointCount)
      : settings_(settings), controlPointCount_(controlPointCount) {}

private:
  Settings settings_;
  std::size_t controlPointCount_;
};

struct DistributionSetup {
  SetupResult result;
  std::unique_ptr<const ResidualDistribution> distribution;  // set when result.problem is None
};

// Sets up the method of `settings` for the active control points. With no control point
// every position gets no correction.
DistributionSetup prepareDistribution(std::span<const ControlPoint> points, const Settings& settings);

}  // namespace distribution
