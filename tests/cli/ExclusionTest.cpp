// Tests of the --exclude lists resolved against the pairs: several lists add up, and a
// number no pair has is named as the user typed it, however large.
#include <gtest/gtest.h>

#include "Exclusion.h"

#include <ostream>
#include <string>
#include <vector>

namespace {

// Eight pairs P1 ... P8; the flags as a text, "0" for a pair switched off, e.g. "11011111".
struct Case {
  const char* name;
  cli::Pairing pairing;
  std::vector<std::string> lists;
  const char* active;  // expected flags, or empty when an error is expected
  const char* error;
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

std::string flags(const std::vector<bool>& active) {
  std::string text;
  for (const bool on : active) text += on ? '1' : '0';
  return text;
}

class ExcludeLists : public ::testing::TestWithParam<Case> {};

TEST_P(ExcludeLists, SwitchOffOrExplain) {
  PointList pairs;
  for (int i = 1; i <= 8; ++i) {
    pairs.names.push_back("P" + std::to_string(i));
    pairs.rw.push_back(i);
    pairs.hw.push_back(-i);
  }
  const Case& c = GetParam();
  const cli::ExclusionResult result = cli::resolveExcludeList(c.lists, c.pairing, pairs, 8);
  EXPECT_EQ(result.error, c.error);
  if (result.ok()) {
    EXPECT_EQ(flags(result.active), c.active);
  }
}

constexpr auto kPosition = cli::Pairing::ByPosition;
constexpr auto kName = cli::Pairing::ByName;

INSTANTIATE_TEST_SUITE_P(
    Exclusion, ExcludeLists,
    ::testing::Values(
        // Guards against "--exclude 7 --exclude 8" switching off 8 only.
        Case{"TwoListsAddUp", kPosition, {"7", "8"}, "11111100", ""},
        Case{"OverlappingRanges", kPosition, {"2-4", " 3 - 5 ", "4"}, "10000111", ""},
        Case{"NamesOfTwoLists", kName, {"P1", "P3,P2"}, "00011111", ""},
        Case{"LeadingZeros", kPosition, {"007"}, "11111101", ""},
        // Guards against "Pkt. -1 gibt es nicht" for 2^64 - 1, which fits size_t.
        Case{"LargestSizeT", kPosition, {"18446744073709551615"}, "",
             "--exclude: Pkt. 18446744073709551615 gibt es nicht (Paßpunkte 1 bis 8)."},
        Case{"BeyondSizeT", kPosition, {"1", "99999999999999999999999"}, "",
             "--exclude: Pkt. 99999999999999999999999 gibt es nicht (Paßpunkte 1 bis 8)."},
        Case{"RangeEndBeyondSizeT", kPosition, {"3-18446744073709551616"}, "",
             "--exclude: Pkt. 18446744073709551616 gibt es nicht (Paßpunkte 1 bis 8)."},
        Case{"NumberAsTyped", kPosition, {"0009"}, "", "--exclude: Pkt. 0009 gibt es nicht (Paßpunkte 1 bis 8)."},
        Case{"SecondListUnknown", kPosition, {"1", "9-10"}, "",
             "--exclude: Pkt. 10 gibt es nicht (Paßpunkte 1 bis 8)."},
        Case{"ReversedHugeRange", kPosition, {"18446744073709551616-2"}, "",
             "--exclude erwartet Nummern und Bereiche der Paßpunkte wie \"3,7-9\", erhalten: "
             "\"18446744073709551616-2\"."},
        Case{"Negative", kPosition, {"-1"}, "",
             "--exclude erwartet Nummern und Bereiche der Paßpunkte wie \"3,7-9\", erhalten: \"-1\"."},
        Case{"Signed", kPosition, {"+2"}, "",
             "--exclude erwartet Nummern und Bereiche der Paßpunkte wie \"3,7-9\", erhalten: \"+2\"."},
        Case{"UnknownNameInSecondList", kName, {"P1", "P9"}, "", "--exclude: \"P9\" ist kein Paßpunkt."},
        Case{"EmptyItem", kName, {"P1", "P2,"}, "",
             "--exclude erwartet Punktnamen, durch Kommas getrennt, erhalten: \"P2,\"."}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
