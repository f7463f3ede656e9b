// Tests of the coordinate token conversion: decimal comma and point, leftovers, range,
// and independence from the process locale.
#include "Kelstring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "TestFiles.h"

namespace {

struct ConversionCase {
  const char* text;
  bool ok;
  double value;
};

// The documented behaviour of the coordinate reader's number conversion.
const ConversionCase kTable[] = {
    {"512,375", true, 512.375}, {"512.375", true, 512.375}, {"-0,5", true, -0.5}, {"+3", true, 3.0},
    {"1e3", true, 1000.0},      {"2,5E-2", true, 0.025},    {",5", true, 0.5},    {"7,", true, 7.0},
    // A leftover refuses the text but keeps the value read up to it; an empty text is 0.
    {"12a", false, 12.0},       {"abc", false, 0.0},        {",", false, 0.0},    {"1.234,5", false, 1.234},
    {"1,5,5", false, 1.5},      {"12 ", false, 12.0},       {"", true, 0.0},
    // Blanks, signs and exponents as the C library's conversion takes them.
    {"  4,25", true, 4.25},     {"\t-8", true, -8.0},       {" ", false, 0.0},    {"-", false, 0.0},
    {"+-3", false, 0.0},        {"- 3", false, 0.0},        {"1e", false, 1.0},   {"1e+", false, 1.0},
    {"-.5", true, -0.5},        {"5566123,4567", true, 5566123.4567},
};

void expectWholeTable() {
  for (const ConversionCase& c : kTable) {
    SCOPED_TRACE(std::string("text \"") + c.text + "\"");
    double value = -999.0;
    EXPECT_EQ(kel::StrToDouble(c.text, value), c.ok);
    EXPECT_EQ(value, c.value);
  }
}

TEST(StrToDouble, TableInCLocale) { expectWholeTable(); }

// Guards against strtod under a German numeric locale, which stops at a decimal point.
TEST(StrToDouble, TableUnderGermanLocale) {
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  ASSERT_TRUE(german.ok()) << "locale " << testsupport::kGermanLocale << " is not generated";
  expectWholeTable();
}

TEST(StrToDouble, InfinityNanAndHexAreNotNumbers) {
  for (const char* text : {"inf", "-inf", "INF", "infinity", "nan", "NaN", "+nan", "0x10", "0x1p3"}) {
    SCOPED_TRACE(text);
    double value = -999.0;
    EXPECT_FALSE(kel::StrToDouble(text, value));
    EXPECT_TRUE(std::isfinite(value));
    EXPECT_EQ(value, 0.0);
  }
}

// Overflow and underflow still count as numbers; the last two are just inside the range.
TEST(StrToDouble, ValuesBeyondDoubleRangeAreWholeNumbers) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<const char*, double> cases[] = {
      {"1e999", inf},      {"-1e999", -inf},     {"1,5e400", inf},          {"0,00001e315", inf},
      {"-1e-999", -0.0},   {"1000e-330", 0.0},   {"0,0001e-320", 0.0},      {"1e99999999999999999999", inf},
      {"1e-99999999999999999999", 0.0},          {"0,0001e312", 1e308},
      {"4,9e-324", std::numeric_limits<double>::denorm_min()},
  };
  for (auto [text, expected] : cases) {
    SCOPED_TRACE(text);
    double value = -999.0;
    EXPECT_TRUE(kel::StrToDouble(text, value));
    EXPECT_EQ(value, expected);
    EXPECT_EQ(std::signbit(value), std::signbit(expected));
  }
  // A leftover after an overflow still refuses the text; the value is set all the same.
  double value = 0;
  EXPECT_FALSE(kel::StrToDouble("1e999x", value));
  EXPECT_TRUE(std::isinf(value));
}

// Plain decimals of up to 15 digits take a shorter way than other numbers: their values must
// be the correctly rounded ones the C library gives, as must those of longer ones.
TEST(StrToDouble, PlainDecimalsMatchTheCLibrary) {
  testsupport::ScopedLocale c("C");
  ASSERT_TRUE(c.ok());
  std::mt19937_64 random(7);
  int mismatches = 0;
  for (int i = 0; i < 200000; ++i) {
    const auto digits = static_cast<int>(1 + random() % 17);
    std::string text;
    for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
    text.insert(random() % (text.size() + 1), 1, '.');
    double value = -1;
    if ((!kel::StrToDouble(text, value) || value != std::strtod(text.c_str(), nullptr)) &&
        ++mismatches <= 5)
      ADD_FAILURE() << text << " gave " << value;
  }
  EXPECT_EQ(mismatches, 0);
}

// Guards against reading past a token that ends its block unterminated (seen by ASan).
TEST(StrToDouble, OutOfRangeTokenAtTheEndOfABlock) {
  const std::string_view token = "1e999";
  const std::unique_ptr<char[]> block(new char[token.size()]);
  std::copy(token.begin(), token.end(), block.get());
  double value = 0;
  EXPECT_TRUE(kel::StrToDouble(std::string_view(block.get(), token.size()), value));
  EXPECT_TRUE(std::isinf(value));
}

}  // namespace
