// The German texts of the Restklaffenverteilung that every front end shows alike: the
// methods' names and why a distribution cannot be set up.
#pragma once

#include "ControlPoints.h"
#include "ResidualDistribution.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace distribution {

// "Gewichtung 1/s", "Gewichtung 1/s^1,5", "Gewichtung 1/s²", "Multiquadratische
// Interpolation", "Dreiecksvermaschung".
std::string_view methodName(Method method);

// Why the distribution of `settings` could not be set up, in German. `pointName(j)` names
// control point j of the caller's list (as the user finds it in the files).
std::string setupProblemMessage(const SetupResult& result, std::size_t controlPointCount,
                                const std::function<std::string(std::size_t)>& pointName);

}  // namespace distribution
