// The result file: every old-system point transformed with the solver's present
// parameters, one line per point in the format of printf(" %s\t %-15.11g\t %-15.11g"),
// lines separated by CR LF, no line break after the last line.
#pragma once

#include "PlaneTransformation.h"
#include "PointList.h"
#include "ProgressHandler.h"
#include "SafeFileWriter.h"

#include <Keltransformation.h>

#include <functional>
#include <string>
#include <string_view>

namespace output {

// Appends one result line (without line break) to `out`; the same bytes as
// printf(" %s\t %-15.11g\t %-15.11g", name, rw, hw) in the C locale.
void appendResultLine(std::string& out, std::string_view name, double rw, double hw);

// The old-system point (rw, hw) in the new system as the result file holds it: transformed
// with the solver's parameters in extended precision, rw before hw, each rounded to double.
// Transformed with the solver's parameters in extended precision, rw before hw, each rounded
// to double; infinite when the point lies too far out for a double.
struct ResultPoint {
  double rw;
  double hw;
};
ResultPoint transformedPoint(double rw, double hw, const kel::TKEL_Vovezorevarovaduvorir& solver);
// The same with a transformation of any of the three models (for Helmert the same bits).
ResultPoint transformedPoint(double rw, double hw, const models::PlaneTransformation& transformation);

// Appends the result line (without line break) of the old-system point (rw, hw), transformed
// as transformedPoint does. Returns false and appends nothing when a transformed coordinate is
// too large for a double: "inf" in a result file would be a number that no reader, the
// program's own included, takes.
[[nodiscard]] bool appendTransformedLine(std::string& out, std::string_view name, double rw,
                                         double hw, const kel::TKEL_Vovezorevarovaduvorir& solver);

// Why no result file is written when the point at `where` ("Punkt 3", "Zeile 7") transforms
// to infinity.
std::string infiniteResultReason(const std::string& where);

// Writes the result file for `oldPoints` to `path`. A regular file (existing or new) is
// replaced only after everything has been written and flushed, so a failure leaves an
// existing file as it was; a point that transforms to infinity is such a failure. A
// character device or a pipe is written directly. A directory or socket is refused.
// `onProgress`, when given, hears after each written chunk how far the writing has got.
WriteResult writeResultFile(const std::string& path, const PointList& oldPoints,
                            const kel::TKEL_Vovezorevarovaduvorir& solver,
                            const toolkit::ProgressHandler& onProgress = {});
// The same with a transformation of any of the three models (models/PlaneTransformation.h).
WriteResult writeResultFile(const std::string& path, const PointList& oldPoints,
                            const models::PlaneTransformation& transformation,
                            const toolkit::ProgressHandler& onProgress = {});

// The same with each point's new-system coordinates given by `transform` (the plain
// transformation followed by a correction, say): same lines, same safe writing.
using PointMapping = std::function<ResultPoint(double rw, double hw)>;
WriteResult writeResultFile(const std::string& path, const PointList& oldPoints, const PointMapping& transform,
                            const toolkit::ProgressHandler& onProgress = {});

}  // namespace output
