// Tests of the two texts every JSON value is made of: numbers as the shortest text that
// reads back to the same double, and strings with the escapes the files have always had.
// Any change here changes the bytes of every --json output.
#include <gtest/gtest.h>

#include "Json.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <string>

namespace {

TEST(Json, NumbersAreShortestTextsThatReadBackExactly) {
  const struct {
    double value;
    const char* text;
  } table[] = {
      {27.0, "27"},  // a whole number stays without ".0" (k for f = 6 at α = 0.1 %)
      {-0.0, "-0"},
      {0.1, "0.1"},
      {200.0075, "200.0075"},
      {123456789012.0, "123456789012"},
      {1e16, "1e+16"},
      {1.5e300, "1.5e+300"},
      {1e-5, "1e-05"},
      {5e-324, "5e-324"},
      {0.00036757315926156005, "0.00036757315926156005"},
  };
  for (const auto& row : table) {
    const std::string text = cli::roundTripText(row.value);
    EXPECT_EQ(text, row.text);
    double back = 1;
    std::from_chars(text.data(), text.data() + text.size(), back);
    EXPECT_EQ(std::memcmp(&back, &row.value, sizeof back), 0) << text;
  }
  // JSON has no NaN and no infinity.
  EXPECT_EQ(cli::roundTripText(std::numeric_limits<double>::quiet_NaN()), "null");
  EXPECT_EQ(cli::roundTripText(-std::numeric_limits<double>::infinity()), "null");
}

TEST(Json, StringsEscapeQuotesBackslashesAndControlCharacters) {
  const struct {
    const char* bytes;
    const char* literal;
  } table[] = {
      {"A\"1\\2", R"("A\"1\\2")"},
      {"\n\r\t", R"("\n\r\t")"},
      {"\b\f\x01\x1f", R"("\u0008\u000c\u0001\u001f")"},
      {"\x7f~", "\"\x7f~\""},                  // DEL is allowed in JSON as it is
      {"M\xFC" "hle", "\"M\xC3\xBC" "hle\""},   // Windows-1252 becomes UTF-8
      {"M\xC3\xBC" "hle", "\"M\xC3\xBC" "hle\""},  // UTF-8 stays
  };
  for (const auto& row : table) EXPECT_EQ(cli::jsonString(row.bytes), row.literal) << row.literal;
}

}  // namespace
