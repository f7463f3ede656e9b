// A result line must be byte for byte what the C library's printf makes of
// " %s\t %-15.11g\t %-15.11g" in the C locale, for every double there is. (That the
// process locale does not change it is checked on whole files.)
#include "ResultFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::string printfLine(const std::string& name, double rw, double hw) {
  char line[512];  // names below stay under 320 bytes, each number under 25
  const int n = std::snprintf(line, sizeof line, " %s\t %-15.11g\t %-15.11g", name.c_str(), rw, hw);
  return std::string(line, static_cast<std::size_t>(n));
}

std::string resultLine(const std::string& name, double rw, double hw) {
  std::string line;
  output::appendResultLine(line, name, rw, hw);
  return line;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();

// Values where %g has a special text, switches between fixed and exponent form, or
// rounds a tie; each is also tried with its sign flipped (negative zero, NaN with sign bit),
// and in both columns, under names of every kind.
TEST(ResultLine, MatchesPrintfOnEdgeValuesAndNames) {
  testsupport::ScopedLocale c("C");
  ASSERT_TRUE(c.ok());
  const struct {
    const char* label;
    double value;
  } edges[] = {
      {"zero", 0.0}, {"infinity", kInfinity}, {"nan", std::nan("")},
      {"smallest denormal", kDenormMin}, {"largest denormal", DBL_MIN - kDenormMin},
      {"DBL_MIN", DBL_MIN}, {"DBL_MAX", DBL_MAX},
      {"just below 1e-4", 0.000099999999999}, {"rounds up to 1e-4", 0.000099999999999995},
      {"1e-4", 0.0001}, {"just above 1e-4", 0.00010000000001},
      {"largest 11-digit integer", 99999999999.0}, {"just below the switch", 99999999999.4},
      {"rounds up to 1e11 (tie)", 99999999999.5}, {"1e11", 1e11},
      {"exponent form, 16 chars", 123456789012.5}, {"tie rounds to even, down", 10000000000.5},
      {"tie rounds to even, up", 10000000001.5}, {"tie below one", 0.1234567890125},
      {"binary tie in the 12th digit", 1.00000000005}, {"exactly 15 characters", 1234567.8901},
      {"three-digit exponent", 1.5e300}};
  const std::string names[] = {"", "17", "Gr\xe4nze", "Stra\xdf" "e\xfc", "name with blanks",
                               std::string(300, 'N')};
  std::size_t row = 0;
  for (const auto& edge : edges) {
    for (const double value : {edge.value, -edge.value}) {
      const std::string& name = names[row++ % std::size(names)];
      SCOPED_TRACE(std::string(edge.label) + (std::signbit(value) ? " (negative) " : " ") + name);
      EXPECT_EQ(resultLine(name, value, 1.0), printfLine(name, value, 1.0));
      EXPECT_EQ(resultLine(name, -12.5, value), printfLine(name, -12.5, value));
    }
  }
}

// Every class of double (normal, denormal, infinite, NaN with any payload and sign)
// through random bit patterns; the seed is fixed so a failure can be repeated.
TEST(ResultLine, MatchesPrintfOnRandomBitPatterns) {
  testsupport::ScopedLocale c("C");
  ASSERT_TRUE(c.ok());
  std::mt19937_64 random(20240611);
  int mismatches = 0;
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t first = random(), second = random();
    const double rw = std::bit_cast<double>(first), hw = std::bit_cast<double>(second);
    const std::string expected = printfLine("X", rw, hw), actual = resultLine("X", rw, hw);
    if (actual != expected && ++mismatches <= 5)
      ADD_FAILURE() << std::hex << "bits " << first << " " << second << "\n  printf: \"" << expected
                    << "\"\n  ours:   \"" << actual << "\"";
  }
  EXPECT_EQ(mismatches, 0);
}

// Values of coordinates' sizes (1 to 1e10, where lines are written without the C library):
// random digits at every magnitude, decimals as files hold them (near-ties in binary), exact
// binary ties, and the neighbours of every power of ten, where the digit count changes.
TEST(ResultLine, MatchesPrintfAtCoordinateSizes) {
  testsupport::ScopedLocale c("C");
  ASSERT_TRUE(c.ok());
  std::mt19937_64 random(4711);
  std::uniform_real_distribution<double> unit(1.0, 10.0);
  std::vector<double> values;
  double power = 1.0;
  for (int exponent = 0; exponent <= 10; ++exponent, power *= 10) {
    for (const double p : {power, 9.99999999995 * power / 10, 9.999999999949999 * power / 10})
      for (const double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300)}) values.push_back(v);
    // An odd multiple of 2^-(d+1) lies exactly halfway between two texts with d decimals.
    const int decimals = 10 - exponent;
    for (int i = 0; i < 5000; ++i) {
      values.push_back(unit(random) * power);
      values.push_back(std::round(unit(random) * power * 1e4) / 1e4);  // four decimals
      values.push_back(std::floor(unit(random) * power) +
                       std::ldexp(2.0 * (random() % (1u << decimals)) + 1, -decimals - 1));
    }
  }
  int mismatches = 0;
  for (const double value : values)
    for (const double signedValue : {value, -value})
      if (resultLine("", signedValue, 1.0) != printfLine("", signedValue, 1.0) && ++mismatches <= 5)
        ADD_FAILURE() << std::hexfloat << signedValue << ": " << resultLine("", signedValue, 1.0);
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
