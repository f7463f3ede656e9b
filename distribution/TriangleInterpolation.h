// Triangle-wise linear interpolation ("Dreiecksvermaschung"):
//
// The control points are triangulated in the old system (Delaunay, CGAL, with exact
// predicates). Inside a triangle with corners P_1, P_2, P_3 a point P gets
//
//   c(P) = l_1 v_1 + l_2 v_2 + l_3 v_3,
//
// l_i the barycentric coordinates of P (l_1 + l_2 + l_3 = 1, l_i >= 0), v_i the corner
// residuals [m]. On an edge this is linear between the edge's two ends; at a corner it is
// that control point's residual exactly. Outside the convex hull of the control points
// there is no correction. When all control points lie on one line there are no triangles:
// the hull is that line, and a point on it gets the linear interpolation between the two
// control points it lies between (a control point itself its residual).
//
// Barycentric coordinates do not change under an affine map, so the same triangles with
// corners T(P_i) interpolate T(P) + c(P) in the new system for the Helmert, congruent and
// affine models alike; that is what the PROJ tinshift export writes (TinshiftWriter.h).
//
// A point is located by CGAL's walk through the triangulation, started from a triangle
// near it: one is kept for each cell of a grid over the control points (about one cell
// per control point), so a walk takes a few steps whatever the order of the points.
#pragma once

#include "ResidualDistribution.h"

#include <array>
#include <memory>
#include <vector>

namespace distribution {

class TriangleInterpolation final : public ResidualDistribution {
public:
  TriangleInterpolation(PreparedControlPoints points, const Settings& settings);
  ~TriangleInterpolation() override;

  Correction correctionAt(double rw, double hw) const override;

  // The triangles, each as three indices into the caller's list of control points,
  // counter-clockwise in the old system (rw to the right, hw up).
  const std::vector<std::array<std::size_t, 3>>& triangles() const { return triangles_; }

private:
  struct Triangulation;
  std::unique_ptr<const Triangulation> triangulation_;
  LocalOrigin origin_;
  std::vector<std::array<std::size_t, 3>> triangles_;
};

struct TriangleSetup {
  SetupResult result;
  std::unique_ptr<const TriangleInterpolation> triangles;  // set when result.problem is None
};

// The triangle method alone, for those that need its triangles (the tinshift export).
TriangleSetup prepareTriangles(std::span<const ControlPoint> points);

}  // namespace distribution
