// The two things tramis-cli does: estimate from two files (and optionally write the result
// file), or apply known parameters to one file. Reading, pairing and the solver come from the
// program's own libraries; this file only strings them together and reports.
#pragma once

#include "Options.h"

#include <ostream>

namespace cli {

// Runs what `options` asks for (not --help). The report goes to `out`; bad lines, warnings
// and messages go to `err`. Returns the exit code.
int runCommand(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace cli
