// Locale-independent conversion of one coordinate token, with a decimal comma accepted
// in place of the decimal point.
#include "Kelstring.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>  // the C locale by name: newlocale, or _create_locale on Windows
#include <cfloat>
#include <cmath>
#include <cstdint>
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
#ifdef _WIN32
  static const _locale_t cLocale = _create_locale(LC_ALL, "C");
  return _strtod_l(first, nullptr, cLocale);
#else
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return strtod_l(first, nullptr, cLocale);
#endif
}

// Plain decimals as coordinate files hold them ("3450000.1234", at most 15 digits and no
// exponent): the digits form an exact integer and the power of ten is exact, so the one
// division rounds correctly, to the value std::from_chars gives. False for anything else.
bool convertPlainDecimal(const char* p, const char* end, double& parsed) {
#if FLT_EVAL_METHOD == 0  // without double rounding through a wider register
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  bool point = false;
  for (; p != end; ++p) {
    if (isDigit(*p)) {
      if (++count > 15) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
      decimals += point;
    } else if (*p == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (count == 0) return false;
  parsed = static_cast<double>(digits) / kPowersOfTen[decimals];
  return true;
#else
  (void)p, (void)end, (void)parsed;
  return false;
#endif
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
  if (convertPlainDecimal(p, end, parsed)) {
    value = negative ? -parsed : parsed;
    return true;
  }
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
