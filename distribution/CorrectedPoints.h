// The old-system file transformed with the current estimate and corrected by a residual
// distribution: the control points the estimate was made from, every point's transformed
// and corrected coordinates, the figures a user judges the corrections by, and the result
// file that holds them. Plain code; the window's dialog shows and saves what this computes.
//
// A point P of the old file becomes T(P) + c(P): T the transformation as the result file of
// "Transformation Alt -> Neu" computes it (output::transformedPoint), c the distribution's
// correction at P's old position. A point whose name is the old name of one of the
// estimate's control points takes that control point's given new coordinates instead; its
// correction is then what moves T(P) there.
#pragma once

#include "PointList.h"
#include "ProgressHandler.h"
#include "ResidualDistribution.h"
#include "ResultFile.h"
#include "SafeFileWriter.h"

#include <Keltransformation.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace distribution {

// Whether the solver holds a transformation to distribute the residuals of: a successful
// estimate ("Parameter" or the take-over of the "Paßpunktanalyse") with its residuals.
bool holdsEstimate(const kel::TKEL_Vovezorevarovaduvorir& solver);

// T(P) + c(P) for one old-system point, as every corrected result file holds it: T in
// extended precision as the result file computes it, the correction added before the one
// rounding to double; a point without correction keeps exactly the plain transformation's
// coordinates (output::transformedPoint).
output::ResultPoint correctedPoint(double rw, double hw, const kel::TKEL_Vovezorevarovaduvorir& solver,
                                   const Correction& correction);

// The control points of the estimate: the pairs of `oldPairs`/`newPairs` (pair i is point i
// of each) whose four coordinates are a row of the solver's observations, so exactly the
// pairs "Parameter" or the take-over used, without a record of which it was. Residuals are
// v = new - T(old) with T as above, in the new system.
struct EstimateControlPoints {
  std::vector<ControlPoint> points;
  std::vector<std::string> names;  // the old point's name (may be empty), one per point
  std::vector<double> newRW, newHW;  // the given new coordinates, one per point
};
EstimateControlPoints estimateControlPoints(const PointList& oldPairs, const PointList& newPairs,
                                            const kel::TKEL_Vovezorevarovaduvorir& solver);

// Every point of the old file, transformed and corrected, in the file's order.
struct CorrectedPoints {
  std::vector<double> rw, hw;    // T(P) + c(P), or the control point's given coordinates
  std::vector<double> dRW, dHW;  // the correction applied [m]; 0 where there is none
  std::vector<bool> corrected;   // false: no correction (outside the hull or the radius)
  std::vector<bool> given;       // took a control point's given new coordinates

  // Figures over the corrected points: the largest correction's length and point, and the
  // mean length [m]. No largest when no point was corrected.
  std::optional<std::size_t> largest;
  double largestLength = 0;
  double meanLength = 0;
  std::size_t uncorrectedCount = 0;

  std::size_t size() const { return rw.size(); }
};

CorrectedPoints correctPoints(const PointList& oldPoints,
                              const kel::TKEL_Vovezorevarovaduvorir& solver,
                              const ResidualDistribution& distribution,
                              const EstimateControlPoints& controlPoints);

// Writes `corrected` in the result file's format (output/ResultFile.h), with the names of
// `oldPoints`, safely as writeResultFile does; a coordinate beyond the range of double is
// a failure that writes nothing.
output::WriteResult writeCorrectedResultFile(const std::string& path, const PointList& oldPoints,
                                             const CorrectedPoints& corrected,
                                             const toolkit::ProgressHandler& onProgress = {});

}  // namespace distribution
