// printf's %.11g in the C locale, the number format of the result file, written without the
// C library's general-purpose conversion for the values coordinates have.
#pragma once

namespace output {

// Room needed at the place written to: sign, 11 digits, point and a three-digit exponent
// fit easily, and so do the bytes written beyond the end of the number.
inline constexpr int kMaxElevenDigitsChars = 32;

// Writes `value` as %.11g at `at` (room for kMaxElevenDigitsChars) and returns the end.
// Bytes between the end and the end of the room may be overwritten.
char* putElevenDigits(char* at, double value);

}  // namespace output
