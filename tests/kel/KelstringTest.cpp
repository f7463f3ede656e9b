// Tests of the coordinate token conversion: decimal comma and point, leftovers, and
// independence from the process locale. (The fuzz target compares every text, the range
// limits of its seeds included, with the C library's strtod in the C locale.)
#include "Kelstring.h"

#include <gtest/gtest.h>

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

}  // namespace
