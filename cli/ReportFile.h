// --report: the HTML "Transformationsprotokoll" of a run, the same document the window's
// "Paßpunktanalyse" saves as HTML.
#pragma once

#include "Options.h"
#include "Report.h"
#include "SafeFileWriter.h"

namespace cli {

// Writes the protocol of `report` (a successful estimate with its analysis) to
// options.reportPath, numbers with `sep`. A failure leaves an existing file as it was.
output::WriteResult writeReportFile(const Options& options, const Report& report, char sep);

}  // namespace cli
