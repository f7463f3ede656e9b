// The Restklaffenverteilung in tramis-cli's JSON (--json): the object "distribution".
#pragma once

#include "ChunkedOutput.h"
#include "Report.h"

namespace cli {

// Writes `  "distribution": {...},` (a line of the top-level object) when the run had
// --distribute or --transform; nothing otherwise.
void writeDistributionJson(ChunkedOutput& out, const Report& report);

}  // namespace cli
