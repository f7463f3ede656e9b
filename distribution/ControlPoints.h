// The control points a residual distribution starts from, checked and reduced to a local
// origin once, so that every method works on the same numbers.
//
// A control point is an active pair: its position in the old system (rw, hw) and its
// residual v = observed new - transformed old in the new system (vRW, vHW), all in metres.
// All distances of the distribution are measured in the old system, from a point P to the
// control point's old position: s_j = 0 exactly at a control point, so the correction
// there is exactly v_j, and the weights do not depend on the transformation model. (Under a
// similarity transformation the new-system distances are m s_j, a common factor that
// cancels in the weighted mean; only a radius or delta is then read in old-system metres.)
//
// Coordinates such as Gauss-Krueger's (4.5e6, 5.6e6) are reduced to the centre of the
// control points' bounding box before anything is squared: p = P - origin, in double.
// A point given with exactly a control point's coordinates reduces to exactly that
// control point's reduced position.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace distribution {

struct ControlPoint {
  double rw = 0;   // old system, Rechtswert [m]
  double hw = 0;   // old system, Hochwert [m]
  double vRW = 0;  // residual observed new - transformed old, new system [m]
  double vHW = 0;
};

// What keeps a distribution from being set up. Indices are those of the caller's list.
enum class SetupProblem {
  None,
  NonFiniteInput,             // control point `first` holds NaN or an infinite value
  CoincidentControlPoints,    // `first` and `second` share their old position but not their residual
  InvalidRadius,              // the radius is not a finite number above zero
  InvalidDelta,               // delta is negative or not finite
  TooManyForMultiquadric,     // more than kMaxMultiquadricPoints control points
  MultiquadricIllConditioned, // the solved system does not reproduce the control points to 1e-9 m
};

struct SetupResult {
  SetupProblem problem = SetupProblem::None;
  std::size_t first = 0;   // the control point concerned, or the first of two
  std::size_t second = 0;  // the other of two coincident control points
};

// The shift to the local origin: the only place where positions are reduced.
struct LocalOrigin {
  double rw = 0;
  double hw = 0;
  double reducedRW(double value) const { return value - rw; }
  double reducedHW(double value) const { return value - hw; }
};

// The checked control points in structure-of-arrays form, positions reduced to `origin`.
// Control points at identical old positions with identical residuals are one point (the
// first of them is kept); identical positions with different residuals are refused,
// because no continuous correction can end at both.
struct PreparedControlPoints {
  LocalOrigin origin;
  std::vector<double> rw, hw;       // reduced old positions [m]
  std::vector<double> vRW, vHW;     // residuals [m]
  std::vector<std::size_t> source;  // index of each point in the caller's list

  std::size_t size() const { return rw.size(); }
};

// Checks `points` and reduces them. On a problem `prepared` is left empty.
SetupResult prepareControlPoints(std::span<const ControlPoint> points, PreparedControlPoints& prepared);

}  // namespace distribution
