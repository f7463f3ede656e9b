// The German texts of the Restklaffenverteilung that every front end shows alike: the
// methods' names, in the order they are offered, and why a distribution cannot be set up.
#pragma once

#include "ControlPoints.h"
#include "ResidualDistribution.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace distribution {

// The methods in the order they are offered, with their German names.
struct MethodName {
  Method method;
  const char* name;
};
inline constexpr std::array<MethodName, 5> kMethodNames{{
    {Method::DistanceWeightingP1, "Gewichtung 1/s"},
    {Method::DistanceWeightingP1_5, "Gewichtung 1/s^1,5"},
    {Method::DistanceWeightingP2, "Gewichtung 1/s²"},
    {Method::Multiquadric, "Multiquadratische Interpolation"},
    {Method::Triangles, "Dreiecksvermaschung"},
}};

std::string_view methodName(Method method);

// Why the distribution of `settings` could not be set up, in German. `pointName(j)` names
// control point j of the caller's list (as the user finds it in the files).
std::string setupProblemMessage(const SetupResult& result, std::size_t controlPointCount,
                                const std::function<std::string(std::size_t)>& pointName);

}  // namespace distribution
