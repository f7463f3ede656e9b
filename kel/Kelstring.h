// Conversion of one coordinate token into a number. A decimal comma is accepted as well
// as a decimal point; the conversion never depends on the process locale.
#pragma once

#include <string_view>

namespace kel {

// Converts the whole of `text` into `value`. Every comma counts as a decimal point.
// Returns true exactly when no character of the text is left over after the number.
// `value` is written on every call: on failure it holds the leading number's value, or 0.
// The words inf and nan and hexadecimal notation are not numbers here. A value beyond
// the range of a double gives true with the infinite value (or 0 on underflow).
bool StrToDouble(std::string_view text, double& value);

}  // namespace kel
