// The German protocol of a run: the values and texts the main window shows (parameters,
// m, d, So, centroids, residual table with its "Summe" row), formatted as the window
// formats them, plus the pair count, the redundancy and the scale as (m - 1) in ppm.
#pragma once

#include "Report.h"

#include <ostream>

namespace cli {

// Writes the protocol of `report` with `decimalSeparator` in every number.
void writeProtocol(std::ostream& out, const Report& report, char decimalSeparator);

}  // namespace cli
