// Number and text conversions of the toolkit, its Qt-free part: fixed-point texts with
// commercial rounding, integer texts, trimming, and turning file bytes (UTF-8 or
// Windows-1252) into UTF-8.
// Nothing here depends on the process locale (RegionalDecimalSeparator has a file per system).
#include "TextConversions.h"

#include "Utf8Encoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace toolkit {

namespace {

// The toolkit accepts at most 18 significant digits and 18 decimals, as many as an 80-bit
// extended real carries; larger requests are clamped.
constexpr int kMaxPrecision = 18;
constexpr int kMaxDigits = 18;

constexpr long double kPowersOfTen[] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L};  // all exact

// 2^63: below it an integral long double converts to uint64 without loss.
constexpr long double kTwoPow63 = 9223372036854775808.0L;

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// Digits of `text` without the decimal separator and without leading zeros ("0" when none
// is left). Any separator counts: MinGW's to_chars for long double follows the C
// library's locale.
std::string digitsWithoutPoint(const char* first, const char* last) {
  std::string digits;
  digits.reserve(static_cast<std::size_t>(last - first));
  for (const char* p = first; p != last; ++p) {
    if (!isDecimalDigit(*p)) continue;
    if (digits.empty() && *p == '0') continue;
    digits.push_back(*p);
  }
  if (digits.empty()) digits.push_back('0');
  return digits;
}

// Increments a string of decimal digits by one unit in its last place.
void incrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// round(magnitude * 10^k), ties away from zero, as decimal digits, computed from the
// exact decimal expansion of `magnitude`. Works for any k, negative ones included.
std::string roundExactly(long double magnitude, int k) {
  // A long double with binary exponent e (magnitude = f * 2^e, 0.5 <= f < 1) has at most
  // 64 - e fractional bits and therefore as many fractional decimal digits.
  int exponent = 0;
  std::frexp(magnitude, &exponent);
  const int fractionDigits = std::max(0, 64 - exponent);
  const int integerDigits = std::max(1, exponent / 3 + 2);  // log10(2) < 1/3
  std::string buffer(static_cast<std::size_t>(integerDigits + fractionDigits + 8), '\0');
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::fixed, fractionDigits);
  const std::string_view expansion(buffer.data(),
                                   static_cast<std::size_t>(result.ptr - buffer.data()));
  const std::size_t point = expansion.find_first_not_of("0123456789");
  const std::string_view integerPart = expansion.substr(0, point);
  const std::string_view fractionPart =
      point == std::string_view::npos ? std::string_view() : expansion.substr(point + 1);

  // Digits kept: the integer part and k fractional digits (k < 0 drops integer digits).
  const std::string all = std::string(integerPart) + std::string(fractionPart);
  const long long keep = static_cast<long long>(integerPart.size()) + k;
  std::string kept;
  char firstDropped = '0';
  if (keep <= 0) {
    kept = "0";
    // The first dropped digit is only significant when exactly zero digits are kept.
    if (keep == 0 && !all.empty()) firstDropped = all[0];
  } else if (keep >= static_cast<long long>(all.size())) {
    kept = all + std::string(static_cast<std::size_t>(keep) - all.size(), '0');
  } else {
    kept = all.substr(0, static_cast<std::size_t>(keep));
    firstDropped = all[static_cast<std::size_t>(keep)];
  }
  // The expansion is exact, so ">= 5" in the first dropped digit is exactly "at least
  // half a unit": rounding half away from zero.
  if (firstDropped >= '5') incrementDigits(kept);
  const auto nonZero = kept.find_first_not_of('0');
  return nonZero == std::string::npos ? std::string("0") : kept.substr(nonZero);
}

// round(magnitude * 10^k), ties away from zero, as decimal digits without leading zeros.
// to_chars rounds correctly but sends exact ties to the even neighbour; an exact tie means
// that magnitude * 2 * 10^k is an odd integer, which is checked first and only then
// decided by the exact expansion.
std::string roundAt(long double magnitude, int k) {
  if (k < 0 || k > kMaxDigits) return roundExactly(magnitude, k);
  const long double twice = magnitude * 2 * kPowersOfTen[k];
  if (!(twice < kTwoPow63)) return roundExactly(magnitude, k);
  const auto whole = static_cast<std::uint64_t>(twice);
  if (static_cast<long double>(whole) == twice && (whole & 1U) != 0)
    return roundExactly(magnitude, k);

  // magnitude * 10^k < 2^62: at most 19 integer digits, a point and 18 decimals.
  char buffer[48];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::fixed, k);
  return digitsWithoutPoint(buffer, result.ptr);
}

std::string zeroText(int digits, char decimalSeparator) {
  std::string text = "0";
  if (digits > 0) {
    text.push_back(decimalSeparator);
    text.append(static_cast<std::size_t>(digits), '0');
  }
  return text;
}

// Scientific text of a rounded value: `rounded` are its digits, rounded at decimal
// position k (value = rounded * 10^-k). Form: mantissa with one integer digit, trailing
// zeros dropped (no separator when nothing is left after it), then "E", a sign and the
// exponent without leading zeros, e.g. 1,2345678901E+11 or 1E+12.
std::string scientificText(bool negative, const std::string& rounded, int k,
                           char decimalSeparator) {
  const long long exponent = static_cast<long long>(rounded.size()) - 1 - k;
  std::string fraction = rounded.substr(1);
  fraction.erase(fraction.find_last_not_of('0') + 1);
  std::string text;
  if (negative) text.push_back('-');
  text.push_back(rounded[0]);
  if (!fraction.empty()) {
    text.push_back(decimalSeparator);
    text += fraction;
  }
  text += exponent < 0 ? "E-" : "E+";
  text += std::to_string(exponent < 0 ? -exponent : exponent);
  return text;
}

// Strict UTF-8 check: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool isValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = utf8SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// Code points of Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own code point, as Windows' own
// conversion does.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

}  // namespace

std::string FloatToStrF(long double value, TFloatFormat /*format: only ffFixed exists*/,
                        int precision, int digits, char decimalSeparator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  precision = std::clamp(precision, 1, kMaxPrecision);
  digits = std::clamp(digits, 0, kMaxDigits);

  const bool negative = std::signbit(value);
  const long double magnitude = std::fabs(value);
  // Far below half a unit of the last decimal: zero without asking to_chars (this also
  // keeps the exact expansion of tiny numbers short).
  if (magnitude < 0.4L / kPowersOfTen[digits]) return zeroText(digits, decimalSeparator);

  // First round at the last decimal. If that leaves no more than `precision` digits, it is
  // the answer; otherwise the digit count tells the decimal exponent E and the value is
  // rounded again from the original at position precision - 1 - E. (A carry in the first
  // rounding can make E one too large; then the value rounds to the same power of ten at
  // either position, so the result is unchanged.)
  int k = digits;
  std::string rounded = roundAt(magnitude, k);
  if (rounded == "0") return zeroText(digits, decimalSeparator);
  const int excess = static_cast<int>(rounded.size()) - precision;
  if (excess > 0) {
    k = digits - excess;
    rounded = roundAt(magnitude, k);
  }

  const long long integerDigits = static_cast<long long>(rounded.size()) - k;
  if (k < 0 || integerDigits > precision)
    return scientificText(negative, rounded, k, decimalSeparator);

  std::string text;
  text.reserve(static_cast<std::size_t>(precision + digits + 3));
  if (negative) text.push_back('-');
  if (integerDigits <= 0) {
    text.push_back('0');
  } else {
    text.append(rounded, 0, static_cast<std::size_t>(integerDigits));
  }
  if (digits > 0) {
    text.push_back(decimalSeparator);
    if (integerDigits < 0) text.append(static_cast<std::size_t>(-integerDigits), '0');
    text.append(rounded, static_cast<std::size_t>(std::max(0LL, integerDigits)));
    text.append(static_cast<std::size_t>(digits - k), '0');
  }
  return text;
}

std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, RegionalDecimalSeparator());
}

std::string IntToStr(long long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string_view Trim(std::string_view text) {
  // Compared as unsigned bytes: the letters of Windows-1252 and UTF-8 sequences (0x80 and
  // above) are never spaces.
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && isSpace(text[first])) ++first;
  while (last > first && isSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string DisplayText(std::string_view bytes) {
  if (isValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else if (c < 0xA0) {
      appendUtf8(out, kWindows1252High[c - 0x80]);
    } else {
      appendUtf8(out, c);  // 0xA0..0xFF are the code points of Latin-1
    }
  }
  return out;
}

}  // namespace toolkit
