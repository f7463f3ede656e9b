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

namespace {

std::string printfLine(const std::string& name, double rw, double hw) {
  const char* format = " %s\t %-15.11g\t %-15.11g";
  std::string line(static_cast<std::size_t>(std::snprintf(nullptr, 0, format, name.c_str(), rw, hw)), '\0');
  std::snprintf(line.data(), line.size() + 1, format, name.c_str(), rw, hw);
  return line;
}

std::string resultLine(const std::string& name, double rw, double hw) {
  std::string line;
  output::appendResultLine(line, name, rw, hw);
  return line;
}

struct NamedValue {
  const char* label;
  double value;
};

// Values where %g has a special text, switches between fixed and exponent form, or
// rounds a tie; each is also tried with its sign flipped (negative zero, NaN with sign bit).
const NamedValue kEdgeValues[] = {
    {"zero", 0.0},
    {"infinity", std::numeric_limits<double>::infinity()},
    {"nan", std::numeric_limits<double>::quiet_NaN()},
    {"smallest denormal", std::numeric_limits<double>::denorm_min()},
    {"largest denormal", DBL_MIN - std::numeric_limits<double>::denorm_min()},
    {"DBL_MIN", DBL_MIN},
    {"DBL_MAX", DBL_MAX},
    {"just below 1e-4", 0.000099999999999},
    {"rounds up to 1e-4", 0.000099999999999995},
    {"1e-4", 0.0001},
    {"just above 1e-4", 0.00010000000001},
    {"largest 11-digit integer", 99999999999.0},
    {"just below the exponent switch", 99999999999.4},
    {"rounds up to 1e11 (tie)", 99999999999.5},
    {"1e11", 1e11},
    {"exponent form, 16 chars", 123456789012.5},
    {"tie rounds to even, down", 10000000000.5},
    {"tie rounds to even, up", 10000000001.5},
    {"tie below one", 0.1234567890125},
    {"binary tie in the 12th digit", 1.00000000005},
    {"exactly 15 characters", 1234567.8901},
    {"three-digit exponent", 1.5e300},
};

TEST(ResultLine, MatchesPrintfOnEdgeValues) {
  testsupport::ScopedLocale c("C");
  ASSERT_TRUE(c.ok());
  for (const NamedValue& entry : kEdgeValues) {
    for (const double value : {entry.value, -entry.value}) {
      SCOPED_TRACE(std::string(entry.label) + (std::signbit(value) ? " (negative)" : ""));
      EXPECT_EQ(resultLine("P1", value, 1.0), printfLine("P1", value, 1.0));
      EXPECT_EQ(resultLine("", 1.0, value), printfLine("", 1.0, value));
    }
  }
}

TEST(ResultLine, CopiesNamesByteForByte) {
  testsupport::ScopedLocale c("C");
  ASSERT_TRUE(c.ok());
  const std::string names[] = {"", "17", "P1", "Gr\xe4nze", "Stra\xdf" "e\xfc", "name with blanks",
                               std::string(300, 'N')};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    EXPECT_EQ(resultLine(name, 4567890.12345678, -12.5), printfLine(name, 4567890.12345678, -12.5));
  }
}

// Every class of double (normal, denormal, infinite, NaN with any payload and sign)
// through random bit patterns; the seed is fixed so a failure can be repeated.
TEST(ResultLine, MatchesPrintfOnRandomBitPatterns) {
  testsupport::ScopedLocale c("C");
  ASSERT_TRUE(c.ok());
  std::mt19937_64 random(20240611);
  constexpr int kLines = 150000;
  int mismatches = 0;
  for (int i = 0; i < kLines; ++i) {
    const std::uint64_t first = random();
    const std::uint64_t second = random();
    const double rw = std::bit_cast<double>(first);
    const double hw = std::bit_cast<double>(second);
    const std::string expected = printfLine("X", rw, hw);
    const std::string actual = resultLine("X", rw, hw);
    if (actual != expected && ++mismatches <= 5) {
      ADD_FAILURE() << std::hex << "bits " << first << " " << second << "\n  printf: \""
                    << expected << "\"\n  ours:   \"" << actual << "\"";
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
