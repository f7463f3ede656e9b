// The triangle method as a PROJ "tinshift" file (JSON, format_version 1.0, the version
// PROJ 9.1 reads), so that GIS users can apply it with
//   cct +proj=tinshift +file=FILE.json   (after the transformation's own step).
//
// The file holds the triangles of TriangleInterpolation with corners in the new system:
// source = T(P_j), the control point's old position transformed, and
// target = T(P_j) + v_j, its observed new position. Barycentric coordinates are invariant
// under the affine maps of all models, so PROJ's interpolation of the target between the
// sources gives T(P) + c(P) for every point inside the hull. Vertex j is control point j
// of the caller's list; numbers are written with the shortest text that reads back to the
// same double, independent of the locale.
//
// Outside the triangles PROJ reports the point as failed instead of transforming it, as
// this program gives it no correction there: cct (PROJ 9.1) writes
// "# Record n TRANSFORMATION ERROR: <the input line>" and " ((null))" in its place (n
// counting from 0), goes on with the next line and still ends with exit code 0. Format 1.1
// would let PROJ (9.1 too) carry on with the nearest triangle ("fallback_strategy"), which
// would no longer match this program's result, so the file stays at 1.0.
#pragma once

#include "ControlPoints.h"
#include "TriangleInterpolation.h"

#include <ostream>
#include <span>
#include <string_view>

namespace distribution {

struct NewSystemPosition {
  double RW = 0;  // [m]
  double HW = 0;
};

enum class TinshiftProblem {
  None,
  NoTriangles,            // fewer than three control points off one line
  PositionCountMismatch,  // transformedOld does not hold one position per control point
  NonFiniteCoordinate,    // a position or residual that JSON cannot hold
};

// Writes the file to `out`. `points` is the list the triangles were prepared from,
// `transformedOld[j]` = T(P_j); `description` (UTF-8) goes into the file's description.
// Nothing is written when a problem is returned.
TinshiftProblem writeTinshift(std::ostream& out, const TriangleInterpolation& triangles,
                              std::span<const ControlPoint> points, std::span<const NewSystemPosition> transformedOld,
                              std::string_view description);

}  // namespace distribution
