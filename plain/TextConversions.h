// The Qt-free part of the toolkit: its number and text conversions, which the plain core
// and tramis-cli use as the window does. Fixed-point number texts with the regional
// decimal separator, integer texts, trimming, and the display form of bytes read from
// files. They keep the toolkit's names and namespace; toolkit/ itself is the layer over Qt.
#pragma once

#include <string>
#include <string_view>

namespace toolkit {

// The number formats the program uses; the value follows the toolkit's numbering.
enum class TFloatFormat { ffFixed = 2 };

// Decimal separator of the user's regional settings (the process's LC_NUMERIC locale).
char RegionalDecimalSeparator();

// Fixed-point text of `value`: rounded once, half away from zero, to at most `precision`
// significant digits and at most `digits` decimals; then exactly `digits` decimals,
// `decimalSeparator` between integer and fraction, no thousands separators, a minus sign
// only when a non-zero digit is shown. More than `precision` integer digits give a
// scientific text: one integer digit, the other significant digits without trailing zeros,
// "E", a sign and the exponent, such as 1,2345678901E+11 or 1E+12. NaN and infinities give
// "NAN", "INF" and "-INF". Precision is taken as 1 to 18, digits as 0 to 18; with 0 digits
// there is no decimal separator.
std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits,
                        char decimalSeparator);
// The same with the regional decimal separator.
std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits);

std::string IntToStr(long long value);

// The part of `text` without characters of codes 0 to 32 at either end (a view into
// `text`, so no copy is made for every line read).
std::string_view Trim(std::string_view text);

// UTF-8 text for showing `bytes`: valid UTF-8 stays as it is; anything else is taken as
// Windows-1252 (umlauts of files written on Windows); the five bytes that code page leaves
// undefined keep their own code point, as Windows' own conversion does.
std::string DisplayText(std::string_view bytes);

}  // namespace toolkit
