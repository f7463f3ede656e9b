// Tests of the coordinate token conversion: decimal comma and point, leftovers, and
// independence from the process locale. (The fuzz target compares every text, the range
// limits of its seeds included, with the C library's strtod in the C locale.)
#include "Kelstring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <string>

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
    {"inf", false, 0.0},        {"nan", false, 0.0},        {"0x10", false, 0.0},
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
