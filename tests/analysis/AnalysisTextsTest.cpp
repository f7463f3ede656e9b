// Tests of the analysis texts: the decimals of each figure, the percentage of alpha, the
// pair names and the count and verdict lines.
#include <gtest/gtest.h>

#include <string>

#include "AnalysisTexts.h"
#include "ControlPointAnalysis.h"

namespace {

TEST(AnalysisTexts, NumberFormats) {
  const struct {
    std::string text, expected;
  } table[] = {
      {analysis::gapText(-0.00005L, ','), "-0,0001"},
      {analysis::gapText(1234.56784L, '.'), "1234.5678"},
      {analysis::redundancyShareText(0.8125L, ','), "0,813"},
      {analysis::redundancyShareText(1, ','), "1,000"},
      {analysis::testValueText(18.4946L, ','), "18,49"},
      {analysis::testValueText(123456.786L, '.'), "123456.79"},
      {analysis::alphaText(0.001, ','), "0,1 %"},
      {analysis::alphaText(0.05, ','), "5 %"},
      {analysis::alphaText(0.0025, '.'), "0.25 %"},
  };
  for (const auto& row : table) EXPECT_EQ(row.text, row.expected);
}

TEST(AnalysisTexts, PairNames) {
  const PointList none{{}, {1, 2, 3}, {1, 2, 3}};
  const PointList named{{"1007", "A", ""}, {1, 2, 3}, {1, 2, 3}};
  const PointList other{{"1007", "B", "C"}, {1, 2, 3}, {1, 2, 3}};
  EXPECT_EQ(analysis::pairName(none, none, 0), "");
  EXPECT_EQ(analysis::pairName(named, none, 1), "A");
  EXPECT_EQ(analysis::pairName(named, other, 0), "1007");
  EXPECT_EQ(analysis::pairName(named, other, 1), "A / B");
  EXPECT_EQ(analysis::pairName(named, other, 2), "C");
}

TEST(AnalysisTexts, CountAndVerdictLines) {
  analysis::ControlPointAnalysis result;
  result.pairCount = 9;
  result.activeCount = 8;
  result.alpha = 0.001;
  result.pairs.resize(9);
  EXPECT_EQ(analysis::activeCountLine(result), "n = 8 von 9 aktiv, Redundanz 12");
  const PointList names{{"1", "2", "3", "4", "5", "6", "1007", "8", "9"}, {}, {}};
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','),
            "Kein Punkttest möglich: zu wenige aktive Paßpunkte oder So = 0 (α = 0,1 %).");
  result.suspect = 6;
  result.pairs[6] = {.available = true, .T = 23.414L, .dof = 10, .critical = 18.494L};
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','), "Kein Punkt ist ausreißerverdächtig (α = 0,1 %).");
  EXPECT_EQ(analysis::suspectLine(result, names, names, ','), "Größte Prüfgröße: Punkt 7 (1007), T = 23,41, k = 18,49");
  result.pairs[6].outlier = true;
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','),
            "Punkt 7 (1007) ist ausreißerverdächtig: T = 23,41 > k = 18,49 (α = 0,1 %).");
  EXPECT_EQ(analysis::verdictLine(result, {}, {}, '.'),
            "Punkt 7 ist ausreißerverdächtig: T = 23.41 > k = 18.49 (α = 0.1 %).");
}

}  // namespace
