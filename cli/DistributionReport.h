// What the Restklaffenverteilung of a run gave, for the report writers (protocol, JSON):
// the summary of the corrections at the points of ALT and the check points, and the files
// written with it. The writers only format.
#pragma once

#include "CoordinateReader.h"
#include "CorrectionSummary.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// --transform: the other old-system file, streamed to -o.
struct TransformedFile {
  std::string path;
  std::size_t points = 0;
  std::size_t uncorrected = 0;  // with a distribution: points that got no correction
  std::vector<BadLine> badLines;
};

struct DistributionReport {
  std::optional<distribution::CorrectionSummary> summary;  // with --distribute, once it is set up
  std::optional<TransformedFile> transformed;  // with --transform, once it is read
  std::string tinshiftPath;                    // the tinshift file written, empty when none
};

}  // namespace cli
