// The result file's format: one line per old-system point, transformed with the solver's
// present parameters; the file mechanics are SafeFileWriter's.
#include "ResultFile.h"

#include "ChunkedWrite.h"
#include "ElevenDigits.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace output {

namespace {

// Field width of " %-15.11g".
constexpr int kFieldWidth = 15;
constexpr std::size_t kMaxNumberChars = kMaxElevenDigitsChars;

// Writes value as %-15.11g at `at` (room for kMaxNumberChars + kFieldWidth) and returns the
// end; the process locale cannot change it. The padding is one store of constant length;
// what it writes beyond the field is not part of the text.
char* putNumber(char* at, double value) {
  char* end = putElevenDigits(at, value);
  std::memset(end, ' ', kFieldWidth);
  return std::max(end, at + kFieldWidth);
}

}  // namespace

void appendResultLine(std::string& out, std::string_view name, double rw, double hw) {
  // " ", "\t ", "\t " and two numbers.
  char numbers[4 + 2 * kMaxNumberChars + kFieldWidth];
  char* at = numbers;
  *at++ = '\t';
  *at++ = ' ';
  at = putNumber(at, rw);
  *at++ = '\t';
  *at++ = ' ';
  at = putNumber(at, hw);

  out.push_back(' ');
  out.append(name);
  out.append(numbers, static_cast<std::size_t>(at - numbers));
}

ResultPoint transformedPoint(double rw, double hw, const kel::TKEL_Vovezorevarovaduvorir& solver) {
  return {static_cast<double>(solver.transform_rw(rw, hw)),
          static_cast<double>(solver.transform_hw(rw, hw))};
}

namespace {

// Appends the line of a transformed point; false, with nothing appended, where it is infinite.
bool appendResultPoint(std::string& out, std::string_view name, const ResultPoint& transformed) {
  if (!std::isfinite(transformed.rw) || !std::isfinite(transformed.hw)) return false;
  appendResultLine(out, name, transformed.rw, transformed.hw);
  return true;
}

// A point given by the caller's mapping (the plain transformation followed by a correction),
// beside the solver's and the models' transformations.
using output::transformedPoint;
ResultPoint transformedPoint(double rw, double hw, const PointMapping& transform) { return transform(rw, hw); }

template <class Transformation>
WriteResult writeTransformedPoints(const std::string& path, const PointList& oldPoints,
                                   const Transformation& transformation,
                                   const toolkit::ProgressHandler& onProgress) {
  return writeInChunks(
      path, {}, oldPoints.count(),
      [&](std::string& chunk, std::size_t i) {
        if (i != 0) chunk.append("\r\n");
        return appendResultPoint(chunk, oldPoints.nameAt(i),
                                 transformedPoint(oldPoints.rw[i], oldPoints.hw[i], transformation));
      },
      onProgress);
}

}  // namespace

ResultPoint transformedPoint(double rw, double hw, const models::PlaneTransformation& transformation) {
  return {static_cast<double>(transformation.transformRW(rw, hw)),
          static_cast<double>(transformation.transformHW(rw, hw))};
}

bool appendTransformedLine(std::string& out, std::string_view name, double rw, double hw,
                           const kel::TKEL_Vovezorevarovaduvorir& solver) {
  return appendResultPoint(out, name, transformedPoint(rw, hw, solver));
}

std::string infiniteResultReason(const std::string& where) {
  return where + ": transformierte Koordinate außerhalb des darstellbaren Zahlenbereichs (unendlich)";
}

WriteResult writeResultFile(const std::string& path, const PointList& oldPoints,
                            const kel::TKEL_Vovezorevarovaduvorir& solver,
                            const toolkit::ProgressHandler& onProgress) {
  return writeTransformedPoints(path, oldPoints, solver, onProgress);
}

WriteResult writeResultFile(const std::string& path, const PointList& oldPoints,
                            const models::PlaneTransformation& transformation,
                            const toolkit::ProgressHandler& onProgress) {
  return writeTransformedPoints(path, oldPoints, transformation, onProgress);
}

WriteResult writeResultFile(const std::string& path, const PointList& oldPoints, const PointMapping& transform,
                            const toolkit::ProgressHandler& onProgress) {
  return writeTransformedPoints(path, oldPoints, transform, onProgress);
}

}  // namespace output
