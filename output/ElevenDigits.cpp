// %.11g for values from 1 to below 1e10 (in magnitude): the value is an integer mantissa
// times a power of two, so value * 10^decimals is an integer quotient and a remainder in
// 128-bit arithmetic and rounds exactly as printf rounds, half to even. Every other value,
// and every value on a compiler without 128-bit integers, goes to std::to_chars, which the
// C++ standard defines as printf's %.*g in the C locale.
#include "ElevenDigits.h"

#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace output {

namespace {

constexpr int kSignificantDigits = 11;

char* putByToChars(char* at, double value) {
  return std::to_chars(at, at + kMaxElevenDigitsChars, value, std::chars_format::general,
                       kSignificantDigits)
      .ptr;
}

#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 Unsigned128;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr std::uint64_t kPowersOfTen[] = {1,         10,         100,         1000,
                                          10000,     100000,     1000000,     10000000,
                                          100000000, 1000000000, 10000000000, 100000000000};

// |value| in [1, 1e10): fixed notation with 11 significant digits, trailing zeros of the
// fraction dropped, and the point too when no fraction is left.
char* putFixed(char* at, double value) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  if (bits >> 63) *at++ = '-';
  const auto biasedExponent = static_cast<int>(bits >> 52 & 0x7FF);
  const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1} << 52;
  const int shift = 1075 - biasedExponent;  // |value| = mantissa / 2^shift, shift in [19, 52]

  // |value| lies in [2^e, 2^(e+1)): its integer part has floor(e * log10(2)) + 1 digits,
  // or one more (1233 / 4096 is log10(2) closely enough for e up to 33).
  const double magnitude = value < 0 ? -value : value;
  const int estimate = ((biasedExponent - 1023) * 1233) >> 12;
  const int integerDigits =
      estimate + 1 + (magnitude >= static_cast<double>(kPowersOfTen[estimate + 1]) ? 1 : 0);
  int decimals = kSignificantDigits - integerDigits;
  int roundedIntegerDigits = integerDigits;

  const Unsigned128 scaled = Unsigned128{mantissa} * kPowersOfTen[decimals];
  std::uint64_t digits = static_cast<std::uint64_t>(scaled >> shift);
  const Unsigned128 remainder = scaled & ((Unsigned128{1} << shift) - 1);
  const Unsigned128 half = Unsigned128{1} << (shift - 1);
  if (remainder > half || (remainder == half && (digits & 1) != 0)) ++digits;
  if (digits == kPowersOfTen[kSignificantDigits]) {  // rounded up to the next power of ten
    digits /= 10;
    --decimals;
    ++roundedIntegerDigits;
  }

  // The eleven digits, two at a time, then without the trailing zeros of the fraction.
  // (Room for copies of constant length below.)
  char text[kSignificantDigits + kSignificantDigits] = {};
  for (int i = kSignificantDigits - 2; i >= 1; i -= 2, digits /= 100) {
    const auto pair = static_cast<std::size_t>(digits % 100) * 2;
    text[i] = kDigitPairs[pair];
    text[i + 1] = kDigitPairs[pair + 1];
  }
  text[0] = static_cast<char>('0' + digits);
  while (decimals > 0 && text[roundedIntegerDigits + decimals - 1] == '0') --decimals;

  // Copies of constant length, which the compiler turns into a few stores; the bytes they
  // write beyond the number's end are not part of the text.
  std::memcpy(at, text, kSignificantDigits);
  at += roundedIntegerDigits;
  if (decimals == 0) return at;
  *at = '.';
  std::memcpy(at + 1, text + roundedIntegerDigits, kSignificantDigits - 1);
  return at + 1 + decimals;
}
#endif

}  // namespace

char* putElevenDigits(char* at, double value) {
#ifdef __SIZEOF_INT128__
  const double magnitude = value < 0 ? -value : value;
  if (magnitude >= 1.0 && magnitude < 1e10) return putFixed(at, value);
#endif
  return putByToChars(at, value);
}

}  // namespace output
