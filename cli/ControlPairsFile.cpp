// Reading and writing the control pairs of a run as a QGIS .points file.
#include "ControlPairsFile.h"

#include "QgisPoints.h"

#include <algorithm>
#include <utility>

namespace cli {

ReadStatus readControlPairsFile(const std::string& path, PointList& oldPoints, PointList& newPoints,
                                std::vector<bool>& active, InputFile& file,
                                const BadLineHandler& onBadLine) {
  file.path = path;
  pointfiles::ControlPairs pairs;
  pointfiles::PointFileFormat format;
  const ReadStatus status = pointfiles::readQgisPointsFile(path, pairs, onBadLine, &format);
  if (status != ReadStatus::OpenFailed) file.format = format;
  oldPoints = std::move(pairs.oldPoints);
  newPoints = std::move(pairs.newPoints);
  active = std::all_of(pairs.active.begin(), pairs.active.end(), [](bool on) { return on; })
               ? std::vector<bool>()
               : std::move(pairs.active);
  file.pointCount = oldPoints.count();
  return status;
}

std::vector<bool> activeInBoth(const std::vector<bool>& a, const std::vector<bool>& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  std::vector<bool> both(std::min(a.size(), b.size()));
  for (std::size_t i = 0; i < both.size(); ++i) both[i] = a[i] && b[i];
  return both;
}

output::WriteResult writeControlPairsFile(const std::string& path, const Report& report) {
  const std::vector<analysis::PairStatistics>& statistics = report.pairAnalysis->pairs;
  std::vector<bool> active;
  pointfiles::PairResiduals residuals;
  active.reserve(statistics.size());
  residuals.rw.reserve(statistics.size());
  residuals.hw.reserve(statistics.size());
  for (const analysis::PairStatistics& pair : statistics) {
    active.push_back(pair.active);
    residuals.rw.push_back(static_cast<double>(pair.vRW()));
    residuals.hw.push_back(static_cast<double>(pair.vHW()));
  }
  return pointfiles::writeQgisPointsFile(path, *report.oldPairs, *report.newPairs, active, residuals);
}

}  // namespace cli
