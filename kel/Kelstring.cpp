// Locale-independent conversion of one coordinate token, with a decimal comma accepted
// in place of the decimal point.
#include "Kelstring.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <cmath>
#include <string>
#include <system_error>

namespace kel {

namespace {

// White space as the C locale's isspace knows it; never the process locale's.
bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number beyond a double's range, which std::from_chars reports without a value:
// the C library's conversion in the C locale gives infinity or the underflowed value.
double outOfRangeValue(const char* first) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return strtod_l(first, nullptr, cLocale);
}

// Converts a token that holds no comma.
bool convert(std::string_view text, double& value) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* p = begin;
  while (p != end && isCSpace(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';

  // Only digits or a point may start the number: this keeps out inf, nan and a second
  // sign, which std::from_chars would otherwise take.
  if (p == end || !(isDigit(*p) || *p == '.')) {
    value = 0.0;
    return text.empty();
  }

  double parsed = 0.0;
  const std::from_chars_result result = std::from_chars(p, end, parsed, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) {
    // A lone point and the like: nothing was converted.
    value = 0.0;
    return text.empty();
  }
  // The C library needs the text terminated; the token may be a view into a larger block.
  if (result.ec == std::errc::result_out_of_range) parsed = outOfRangeValue(std::string(p, end).c_str());
  value = negative ? -parsed : parsed;
  return result.ptr == end;
}

}  // namespace

bool StrToDouble(std::string_view text, double& value) {
  if (text.find(',') == std::string_view::npos) return convert(text, value);
  // Every comma becomes a point.
  std::string copy(text);
  for (std::string::size_type at = copy.find(','); at != std::string::npos; at = copy.find(',', at))
    copy[at] = '.';
  return convert(copy, value);
}

}  // namespace kel
