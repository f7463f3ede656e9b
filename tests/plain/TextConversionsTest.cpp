// Tests of the toolkit's number and text conversions: fixed-point texts and their
// rounding, the regional decimal separator, trimming, the display of file bytes and the
// UTF-8 encoder.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

#include "TestFiles.h"
#include "TextConversions.h"
#include "Utf8Encoding.h"

namespace {

using toolkit::FloatToStrF;
using toolkit::TFloatFormat;

struct FixedCase {
  const char* name;
  long double value;
  int precision, digits;
  const char* expected;
};

// Values are given as long double literals unless the case is about a double input.
const FixedCase kFixedCases[] = {
    {"eleven significant digits", 123.456789012345L, 11, 10, "123,4567890100"},
    {"negative residual", -0.00749999L, 10, 4, "-0,0075"},
    // Nothing that rounds to zero shows a minus sign.
    {"tiny negative shows no minus", -1e-15L, 10, 4, "0,0000"},
    {"negative zero", -0.0L, 10, 4, "0,0000"},
    {"just below half unit, negative", -0.0000499L, 10, 4, "0,0000"},
    // Exact ties go away from zero (commercial rounding), not to even.
    {"exact tie up", 0.03125L, 10, 4, "0,0313"},
    {"exact tie negative", -0.03125L, 10, 4, "-0,0313"},
    {"exact tie to odd neighbour", 0.5L, 10, 0, "1"},
    {"exact tie at significant-digit limit", 1234.5L, 4, 4, "1235,0000"},
    // 2.00005 is no exact binary number: it lies just below or above the tie.
    {"double 2.00005 (just below tie)", static_cast<double>(2.00005), 10, 4, "2,0000"},
    {"double 2.00015 (just above tie)", static_cast<double>(2.00015), 10, 4, "2,0002"},
    // Carries across all digits.
    {"carry into new integer digit", 9.99995L, 10, 4, "10,0000"},
    {"carry negative", -99.99996L, 10, 4, "-100,0000"},
    // Significant digits limit the decimals shown.
    {"precision cuts decimals", 1234567.87654L, 10, 4, "1234567,8770"},
    {"precision reached exactly by integer digits", 9876543210.4L, 10, 4, "9876543210,0000"},
    // More than P integer digits: scientific text.
    {"scientific", 123456789012.0L, 11, 4, "1,2345678901E+11"},
    {"scientific by carry", 99999999999.6L, 11, 4, "1E+11"},
    {"scientific tie away", 12345678905.0L, 10, 4, "1,234567891E+10"},
    // Extremes and non-finite values still give readable texts.
    {"smallest subnormal", std::numeric_limits<long double>::denorm_min(), 10, 4, "0,0000"},
    {"largest", std::numeric_limits<long double>::max(), 18, 4, "1,18973149535723177E+4932"},
    {"not a number", std::numeric_limits<long double>::quiet_NaN(), 10, 4, "NAN"},
    {"minus infinity", -std::numeric_limits<long double>::infinity(), 10, 4, "-INF"},
};

TEST(FloatToStrF, FixedTexts) {
  for (const FixedCase& c : kFixedCases)
    EXPECT_EQ(FloatToStrF(c.value, TFloatFormat::ffFixed, c.precision, c.digits, ','), c.expected)
        << c.name << " (P" << c.precision << " D" << c.digits << ")";
}

// Without a separator the regional one is used; a separator given explicitly wins.
TEST(FloatToStrF, SeparatorComesFromRegionalSettingsUnlessGiven) {
  for (auto [locale, sep] : {std::pair{testsupport::kGermanLocale, ','}, {"C", '.'}}) {
    testsupport::ScopedLocale scoped(locale);
    ASSERT_TRUE(scoped.ok()) << "locale " << locale << " missing";
#ifndef _WIN32  // Windows takes the separator from the regional settings, not the locale
    EXPECT_EQ(toolkit::RegionalDecimalSeparator(), sep);
    EXPECT_EQ(FloatToStrF(-1234.5L, TFloatFormat::ffFixed, 10, 2), std::string("-1234") + sep + "50");
#endif
    EXPECT_EQ(FloatToStrF(-1234567.25L, TFloatFormat::ffFixed, 11, 3, '.'), "-1234567.250");
    EXPECT_EQ(FloatToStrF(-123456789012.0L, TFloatFormat::ffFixed, 11, 4, '.'), "-1.2345678901E+11");
  }
}

TEST(Trim, RemovesControlCharactersAndSpacesAtBothEnds) {
  EXPECT_EQ(toolkit::Trim(" \t\r\n"), "");
  EXPECT_EQ(toolkit::Trim(std::string_view("\0\x01 P1 2,5\x1f\r", 12)), "P1 2,5");
  EXPECT_EQ(toolkit::Trim("  inner  space "), "inner  space");
  // Guards against comparing signed chars: bytes 0x80 and above are letters, not spaces.
  EXPECT_EQ(toolkit::Trim(" \xFC\xDF "), "\xFC\xDF");
  EXPECT_EQ(toolkit::Trim("\xA0x\xA0"), "\xA0x\xA0");
}

// Valid UTF-8 stays as it is; any other text is read as Windows-1252, whose undefined
// bytes keep their code point (C1 controls).
TEST(DisplayText, Utf8OrElseWindows1252) {
  const std::pair<const char*, const char*> cases[] = {
      {"Müller Straße €", "Müller Straße €"},
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"Pa\xDFpunkt \x80 \x84x\x93", "Paßpunkt € „x“"},
      {"\x8A\x9A\x9F\xA0", "ŠšŸ\u00A0"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},
      // Overlong form, encoded surrogate, truncated sequence: none is valid UTF-8.
      {"\xC0\xAF", "\u00C0\u00AF"},
      {"\xED\xA0\x80", "\u00ED\u00A0\u20AC"},
      {"ab\xC3", "ab\u00C3"},
  };
  for (auto [bytes, expected] : cases) EXPECT_EQ(toolkit::DisplayText(bytes), expected) << bytes;
}

// The encoder's byte patterns at the edges of each length, from the Unicode standard's
// table of well-formed sequences.
TEST(Utf8Encoding, OneToFourBytesAtTheEdges) {
  const std::pair<char32_t, const char*> rows[] = {
      {0x0041, "A"},
      {0x007F, "\x7F"},
      {0x0080, "\xC2\x80"},
      {0x00E4, "\xC3\xA4"},  // ä
      {0x07FF, "\xDF\xBF"},
      {0x0800, "\xE0\xA0\x80"},
      {0x20AC, "\xE2\x82\xAC"},  // €
      {0xFFFD, "\xEF\xBF\xBD"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x1F600, "\xF0\x9F\x98\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& [codePoint, bytes] : rows) {
    std::string out = "x";  // appended, not overwritten
    toolkit::appendUtf8(out, codePoint);
    EXPECT_EQ(out, "x" + std::string(bytes)) << std::hex << static_cast<unsigned long>(codePoint);
  }
}

}  // namespace
