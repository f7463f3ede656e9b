// The texts of the Restklaffenverteilung that users read: the methods' names and why a
// distribution could not be set up. The window and any other front end show these, so a
// method is called the same everywhere.
#pragma once

#include "ResidualDistribution.h"

#include <array>
#include <string>

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

const char* methodName(Method method);

// Why the distribution was not set up, in German; empty when it was. `first` and `second`
// name the control points `result` refers to (by name or number, as the caller shows them).
std::string setupProblemText(const SetupResult& result, const std::string& first,
                             const std::string& second);

}  // namespace distribution
