// The command-line options of the Restklaffenverteilung (--distribute, --idw-radius,
// --mq-delta, --transform, --tinshift): the methods' names and how the options combine.
#pragma once

#include "Options.h"

#include <optional>
#include <string>
#include <string_view>

namespace cli {

// "idw1", "idw1.5", "idw2", "multiquadric", "triangles"; none for another name.
std::optional<distribution::Method> distributionMethod(std::string_view name);
std::string_view distributionMethodName(distribution::Method method);

// A length option's value [m]: a number with decimal point or comma, finite and above zero
// (`zeroAllowed`: at least zero); none otherwise.
std::optional<double> lengthValue(const std::string& text, bool zeroAllowed);

// Why the distribution's options do not fit the rest of the command line (German), or
// empty when they do. `proj`: --proj was given.
std::string distributionUsageError(const Options& options, bool proj);

}  // namespace cli
