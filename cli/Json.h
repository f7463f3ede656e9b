// The machine-readable form of a run (--json): every value of the protocol at full double
// precision, the residuals with the names of both points, and the statuses.
#pragma once

#include "Report.h"

#include <ostream>
#include <string>
#include <string_view>

namespace cli {

// The shortest decimal text that reads back to exactly `value` (std::to_chars), with a
// decimal point whatever the locale. NaN and infinities, which JSON cannot carry, give "null".
std::string roundTripText(double value);

// `bytes` as a JSON string literal, quotes included; bytes that are not UTF-8 are taken
// as Windows-1252, as the window shows them.
std::string jsonString(std::string_view bytes);

// The status word of an outcome: "ok", "inputError", "emptyInput", "tooFewPairs",
// "pointsCoincide", "notRepresentable", "writeFailed".
std::string_view outcomeName(Outcome outcome);

void writeJson(std::ostream& out, const Report& report);

}  // namespace cli
