// Tests of the analysis texts: the decimals of each figure, the percentage of alpha, the
// pair names and the verdict lines.
#include <gtest/gtest.h>

#include <string>

#include "AnalysisTexts.h"

namespace {

TEST(AnalysisTexts, NumberFormatsAndNames) {
  const PointList named{{"1007", "A", ""}, {1, 2, 3}, {1, 2, 3}};
  const PointList other{{"1007", "B", "C"}, {1, 2, 3}, {1, 2, 3}};
  const std::pair<std::string, const char*> table[] = {
      {analysis::redundancyShareText(0.8125L, ','), "0,813"}, {analysis::testValueText(123456.786L, '.'), "123456.79"},
      {analysis::alphaText(0.001, ','), "0,1 %"},             {analysis::alphaText(0.05, ','), "5 %"},
      {analysis::alphaText(0.0025, '.'), "0.25 %"},           {analysis::pairName(named, PointList{}, 1), "A"},
      {analysis::pairName(named, other, 0), "1007"},          {analysis::pairName(named, other, 1), "A / B"},
      {analysis::pairName(named, other, 2), "C"},
  };
  for (const auto& [text, expected] : table) EXPECT_EQ(text, expected);
}

TEST(AnalysisTexts, CountAndVerdictLines) {
  analysis::ControlPointAnalysis result;
  result.pairCount = 9;
  result.activeCount = 8;
  result.pairs.resize(9);
  EXPECT_EQ(analysis::activeCountLine(result), "n = 8 von 9 aktiv, Redundanz 12");
  const PointList names{{"1", "2", "3", "4", "5", "6", "1007", "8", "9"}, {}, {}};
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','),
            "Kein Punkttest möglich: zu wenige aktive Paßpunkte oder So = 0 (α = 0,1 %).");
  result.suspect = 6;
  result.pairs[6].T = 23.414;
  result.pairs[6].available = true;
  result.criticalActive = 18.494L;
  EXPECT_EQ(analysis::suspectLine(result, names, names, ','), "Größte Prüfgröße: Punkt 7 (1007), T = 23,41, k = 18,49");
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','), "Kein Punkt ist ausreißerverdächtig (α = 0,1 %).");
  result.pairs[6].outlier = true;
  EXPECT_EQ(analysis::verdictLine(result, {}, {}, '.'),
            "Punkt 7 ist ausreißerverdächtig: T = 23.41 > k = 18.49 (α = 0.1 %).");
}

}  // namespace
