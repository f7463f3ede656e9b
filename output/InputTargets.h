// A save dialog must not take a file the program has read as the place for its output:
// saving the protocol or the result over a coordinate file would destroy the input.
#pragma once

#include <string>
#include <vector>

namespace output {

// The text a save dialog refuses `target` with when writing it would overwrite one of
// `inputs` (the paths of the files read; empty ones are skipped), compared by file
// identity; empty when `target` may be written.
std::string inputTargetRefusal(const std::string& target, const std::vector<std::string>& inputs);

}  // namespace output
