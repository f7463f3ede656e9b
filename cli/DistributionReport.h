// What the Restklaffenverteilung of a run gave, for the report writers (protocol, JSON):
// the method in effect, the corrections at the points of ALT, the check points after the
// distribution, and the files written with it. The writers only format.
#pragma once

#include "CoordinateReader.h"
#include "ResidualDistribution.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// A switched-off pair after the distribution: observed new minus (T(P) + c(P)) [m].
struct CheckPointDeviation {
  std::size_t pair = 0;  // index of the pair (Pkt. = pair + 1)
  std::string name;
  double dRW = 0;
  double dHW = 0;
  bool corrected = false;  // the check point got a correction (else the deviation is its residual)
};

struct DistributionSummary {
  distribution::Settings settings;  // in effect: delta filled in for the multiquadric method
  std::size_t controlPoints = 0;    // active pairs used (coincident duplicates once)

  // The corrections at the points of ALT (the control file's old system).
  std::size_t points = 0;
  std::size_t corrected = 0;        // points that got a correction
  double largest = 0;               // length of the largest correction [m]
  std::string largestName;          // its point ("Punkt 7" where ALT has no names)
  double mean = 0;                  // mean length of the corrections given [m]

  std::vector<CheckPointDeviation> checkPoints;
};

// --transform: the other old-system file, streamed to -o.
struct TransformedFile {
  std::string path;
  std::size_t points = 0;
  std::size_t uncorrected = 0;  // with a distribution: points that got no correction
  std::vector<BadLine> badLines;
};

struct DistributionReport {
  std::optional<DistributionSummary> summary;  // with --distribute, once it is set up
  std::optional<TransformedFile> transformed;  // with --transform, once it is read
  std::string tinshiftPath;                    // the tinshift file written, empty when none
};

}  // namespace cli
