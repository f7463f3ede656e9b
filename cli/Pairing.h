// tramis-cli's pairing step: pairs the two files as the options say (pairing/, the rule the
// window uses too) and writes what the pairing found on the error stream, as warnings
// (by position) or notes (by name).
#pragma once

#include "PairsInForce.h"
#include "Report.h"

#include <ostream>
#include <string>

namespace cli {

// Pairs `oldPoints` with `newPoints` into `pairs` as `report.pairing` says, reports its
// findings on `err` and fills the report's pairing fields (pairs, mismatch count, names
// without partner). Returns the German message when pairing by name is refused, else "".
std::string pairControlPoints(const PointList& oldPoints, const PointList& newPoints,
                              Report& report, pairing::PairsInForce& pairs, std::ostream& err);

}  // namespace cli
