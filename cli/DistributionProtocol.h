// The section "Restklaffenverteilung" of tramis-cli's text protocol.
#pragma once

#include "ChunkedOutput.h"
#include "Report.h"

namespace cli {

// Writes the section when the run had --distribute or --transform; nothing otherwise.
void writeDistributionProtocol(ChunkedOutput& out, const Report& report, char sep);

}  // namespace cli
