// tramis-cli's exchange of control pairs with the QGIS georeferencer (pointfiles/
// QgisPoints.h): --points reads both systems and their activity from one .points file
// instead of ALT and NEU, --points-out writes the pairs of a run with their activity and
// residuals.
#pragma once

#include "CoordinateReader.h"
#include "Report.h"
#include "SafeFileWriter.h"

#include <string>
#include <vector>

namespace cli {

// Reads the .points file at `path`: its source coordinates into `oldPoints`, its map
// coordinates into `newPoints`, and the pairs' enable flags into `active` (empty when all
// are enabled). `file` gets the path, the pair count and the format; bad lines go to
// `onBadLine`.
ReadStatus readControlPairsFile(const std::string& path, PointList& oldPoints, PointList& newPoints,
                                std::vector<bool>& active, InputFile& file,
                                const BadLineHandler& onBadLine);

// The flags of pairs active in both `a` and `b` (one flag per pair; empty: all active).
std::vector<bool> activeInBoth(const std::vector<bool>& a, const std::vector<bool>& b);

// Writes the pairs of `report` (a successful estimate with its analysis) to `path` as a
// QGIS .points file: each pair's old and new coordinates, whether it is active and its
// residual. Through the safe writer: a failure leaves an existing file as it was.
output::WriteResult writeControlPairsFile(const std::string& path, const Report& report);

}  // namespace cli
