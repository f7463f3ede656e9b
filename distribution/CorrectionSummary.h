// What a Restklaffenverteilung did to a set of points, for the reports (protocols, JSON):
// the method in effect, the corrections given, and the check points (switched-off pairs)
// after the distribution. Plain data; the front ends gather it and the writers format it.
#pragma once

#include "ResidualDistribution.h"

#include <cstddef>
#include <string>
#include <vector>

namespace distribution {

// A switched-off pair after the distribution: observed new minus (T(P) + c(P)) [m].
struct CheckPointDeviation {
  std::size_t pair = 0;  // index of the pair (Pkt. = pair + 1)
  std::string name;      // the pair's name column; may be empty
  double dRW = 0;
  double dHW = 0;
  bool corrected = false;  // the check point got a correction (else the deviation is its residual)
};

struct CorrectionSummary {
  Settings settings;              // in effect: delta filled in for the multiquadric method
  std::size_t controlPoints = 0;  // active pairs used (coincident duplicates once)

  // The corrections at the old-system points the result file is written from.
  std::size_t points = 0;
  std::size_t corrected = 0;  // points that got a correction
  double largest = 0;         // length of the largest correction [m]
  std::string largestName;    // its point ("Punkt 7" where the file has no names)
  double mean = 0;            // mean length of the corrections given [m]

  std::vector<CheckPointDeviation> checkPoints;
};

}  // namespace distribution
