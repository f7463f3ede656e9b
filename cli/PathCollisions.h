// tramis-cli's outputs checked against its inputs, against each other and against standard
// output before anything is written: `--report alt.asc alt.asc neu.asc` must not replace
// the old-system file with HTML, `-o x --report x` must not replace the result with the
// protocol, and `-o /dev/stdout` must not mix the result lines into the protocol text.
// Files are compared by identity (FileIdentity), so "./x", symbolic and hard links count.
#pragma once

#include "FileIdentity.h"
#include "Options.h"

#include <optional>
#include <string>

namespace cli {

// The German reason to refuse the command line, or empty when its files are fine:
// - an output (-o, --report, --points-out, --tinshift) that would overwrite an input (ALT,
//   NEU, --points, --transform) or another output;
// - an output that is standard output (`standardOutput`), which always carries the
//   protocol, the JSON or the PROJ text: result and report never share that stream;
// - standard output redirected into an input, which the text would change.
std::string pathCollision(const Options& options,
                          const std::optional<output::FileIdentity>& standardOutput);

}  // namespace cli
