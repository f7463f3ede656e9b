// Transforming and correcting the old file's points, and their result file.
#include "CorrectedPoints.h"

#include "ChunkedWrite.h"
#include "ResultFile.h"

#include <cmath>
#include <map>
#include <string_view>
#include <tuple>

namespace distribution {

output::ResultPoint correctedPoint(double rw, double hw, const kel::TKEL_Vovezorevarovaduvorir& solver,
                                   const Correction& correction) {
  if (!correction.corrected) return output::transformedPoint(rw, hw, solver);
  return {static_cast<double>(solver.transform_rw(rw, hw) + correction.dRW),
          static_cast<double>(solver.transform_hw(rw, hw) + correction.dHW)};
}

bool holdsEstimate(const kel::TKEL_Vovezorevarovaduvorir& solver) {
  return solver.status == 0 && solver.rows > 0 && solver.residuals.rows == solver.rows;
}

EstimateControlPoints estimateControlPoints(const PointList& oldPairs, const PointList& newPairs,
                                            const kel::TKEL_Vovezorevarovaduvorir& solver) {
  using Row = std::tuple<double, double, double, double>;
  std::map<Row, int> observations;
  for (int i = 0; i < solver.rows; ++i) {
    const auto* row = solver.row(i);
    observations.emplace(Row{static_cast<double>(row[0]), static_cast<double>(row[1]),
                             static_cast<double>(row[2]), static_cast<double>(row[3])},
                         i);
  }
  EstimateControlPoints result;
  const std::size_t pairs = std::min(oldPairs.count(), newPairs.count());
  for (std::size_t i = 0; i < pairs; ++i) {
    const Row pair{oldPairs.rw[i], oldPairs.hw[i], newPairs.rw[i], newPairs.hw[i]};
    if (!observations.contains(pair)) continue;
    const output::ResultPoint t = output::transformedPoint(oldPairs.rw[i], oldPairs.hw[i], solver);
    result.points.push_back({oldPairs.rw[i], oldPairs.hw[i], newPairs.rw[i] - t.rw, newPairs.hw[i] - t.hw});
    result.names.emplace_back(oldPairs.nameAt(i));
    result.newRW.push_back(newPairs.rw[i]);
    result.newHW.push_back(newPairs.hw[i]);
  }
  return result;
}

CorrectedPoints correctPoints(const PointList& oldPoints,
                              const kel::TKEL_Vovezorevarovaduvorir& solver,
                              const ResidualDistribution& distribution,
                              const EstimateControlPoints& controlPoints) {
  // Named control points by their old name; a name given twice keeps its first pair.
  std::map<std::string_view, std::size_t> givenByName;
  for (std::size_t j = 0; j < controlPoints.names.size(); ++j)
    if (!controlPoints.names[j].empty()) givenByName.emplace(controlPoints.names[j], j);

  const std::size_t n = oldPoints.count();
  CorrectedPoints out;
  out.rw.resize(n);
  out.hw.resize(n);
  out.dRW.assign(n, 0.0);
  out.dHW.assign(n, 0.0);
  out.corrected.assign(n, false);
  out.given.assign(n, false);
  double lengthSum = 0;
  std::size_t correctedCount = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const output::ResultPoint t = output::transformedPoint(oldPoints.rw[i], oldPoints.hw[i], solver);
    const auto given = givenByName.find(oldPoints.nameAt(i));
    if (given != givenByName.end()) {
      out.rw[i] = controlPoints.newRW[given->second];
      out.hw[i] = controlPoints.newHW[given->second];
      out.dRW[i] = out.rw[i] - t.rw;
      out.dHW[i] = out.hw[i] - t.hw;
      out.corrected[i] = true;
      out.given[i] = true;
    } else {
      const Correction c = distribution.correctionAt(oldPoints.rw[i], oldPoints.hw[i]);
      const output::ResultPoint p = correctedPoint(oldPoints.rw[i], oldPoints.hw[i], solver, c);
      out.rw[i] = p.rw;
      out.hw[i] = p.hw;
      out.dRW[i] = c.dRW;
      out.dHW[i] = c.dHW;
      out.corrected[i] = c.corrected;
    }
    if (!out.corrected[i]) {
      ++out.uncorrectedCount;
      continue;
    }
    const double length = std::hypot(out.dRW[i], out.dHW[i]);
    lengthSum += length;
    ++correctedCount;
    if (!out.largest || length > out.largestLength) {
      out.largest = i;
      out.largestLength = length;
    }
  }
  if (correctedCount > 0) out.meanLength = lengthSum / static_cast<double>(correctedCount);
  return out;
}

output::WriteResult writeCorrectedResultFile(const std::string& path, const PointList& oldPoints,
                                             const CorrectedPoints& corrected,
                                             const toolkit::ProgressHandler& onProgress) {
  return output::writeInChunks(
      path, {}, corrected.size(),
      [&](std::string& chunk, std::size_t i) {
        if (!std::isfinite(corrected.rw[i]) || !std::isfinite(corrected.hw[i])) return false;
        if (i != 0) chunk.append("\r\n");
        output::appendResultLine(chunk, oldPoints.nameAt(i), corrected.rw[i], corrected.hw[i]);
        return true;
      },
      onProgress);
}

}  // namespace distribution
