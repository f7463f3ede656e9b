// Fuzz target for toolkit::FloatToStrF: 10 input bytes are an 80-bit extended real (any bit
// pattern, invalid encodings included), two more the precision and the count of decimals
// (also outside the accepted range), one more the decimal separator. The text must have
// the documented shape and, for finite values of moderate size, read back within half a
// unit of the last place that the rounding kept.
#include <TextConversions.h>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void fail(const char* what, long double value, int precision, int digits,
                       const std::string& text) {
  std::fprintf(stderr, "FloatToStrF: %s\nvalue %.21Lg (%La), precision %d, digits %d\ntext [%s]\n",
               what, value, value, precision, digits, text.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kValueBytes = 10;
  if (size < kValueBytes + 3) return 0;
  long double value = 0;
  std::memcpy(&value, data, kValueBytes);
  const int precision = static_cast<int>(data[kValueBytes]) % 24 - 2;  // -2 .. 21
  const int digits = static_cast<int>(data[kValueBytes + 1]) % 24 - 2;
  const char separator = (data[kValueBytes + 2] & 1) != 0 ? ',' : '.';

  const std::string text =
      toolkit::FloatToStrF(value, toolkit::TFloatFormat::ffFixed, precision, digits, separator);

  if (std::isnan(value)) {
    if (text != "NAN") fail("NaN not written as NAN", value, precision, digits, text);
    return 0;
  }
  if (std::isinf(value)) {
    if (text != (value < 0 ? "-INF" : "INF")) fail("infinity misspelt", value, precision, digits, text);
    return 0;
  }
  if (text.empty()) fail("empty text", value, precision, digits, text);

  const int usedPrecision = precision < 1 ? 1 : precision > 18 ? 18 : precision;
  const int usedDigits = digits < 0 ? 0 : digits > 18 ? 18 : digits;
  const bool scientific = text.find('E') != std::string::npos;
  const std::size_t separatorAt = text.find(separator);
  if (text.find(separator == ',' ? '.' : ',') != std::string::npos)
    fail("wrong decimal separator", value, precision, digits, text);
  const std::string mantissa = text.substr(0, text.find('E'));
  if (text[0] == '-' && mantissa.find_first_of("123456789") == std::string::npos)
    fail("minus sign without a non-zero digit", value, precision, digits, text);
  if (!scientific) {
    const std::size_t decimals = separatorAt == std::string::npos ? 0 : text.size() - separatorAt - 1;
    if (static_cast<int>(decimals) != usedDigits) fail("wrong count of decimals", value, precision, digits, text);
    if ((separatorAt == std::string::npos) != (usedDigits == 0))
      fail("separator present without decimals or missing with them", value, precision, digits, text);
  }

  // Moderate values: the read-back error is bounded by half a unit of the last place kept,
  // which is the last decimal or the last of `precision` significant digits.
  const long double magnitude = std::fabs(value);
  if (magnitude > 1e15L || (magnitude != 0 && magnitude < 1e-15L)) return 0;
  std::string readable = text;
  for (char& c : readable)
    if (c == ',') c = '.';
  char* end = nullptr;
  const long double readBack = std::strtold(readable.c_str(), &end);
  if (*end != '\0') fail("text does not read back as a number", value, precision, digits, text);
  int exponent = magnitude == 0 ? 0 : static_cast<int>(std::floor(std::log10(magnitude)));
  if (magnitude != 0) {  // log10 may land on the wrong side of a power of ten
    if (std::pow(10.0L, exponent + 1) <= magnitude) ++exponent;
    if (std::pow(10.0L, exponent) > magnitude) --exponent;
  }
  const long double lastPlace =
      std::fmax(std::pow(10.0L, -usedDigits), std::pow(10.0L, exponent + 1 - usedPrecision));
  const long double slack = 8 * LDBL_EPSILON * (magnitude + lastPlace);
  if (std::fabs(readBack - value) > lastPlace / 2 + slack)
    fail("text reads back too far from the value", value, precision, digits, text);
  return 0;
}
