// Tests of the analysis texts: the decimals of each figure, the percentage of alpha, the
// pair names and labels, the verdict lines, and which cells of a pair read "–".
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "AnalysisTexts.h"
#include "PairCells.h"

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
      {analysis::pairLabel(named, other, 1), "2 (A / B)"},     {analysis::pairLabel(named, PointList{}, 0), "1 (1007)"},
      {analysis::pairLabel(PointList{}, PointList{}, 6), "7"},
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
  // Without a suspect, the verdict says why: no critical value, or every r zero.
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','), "Kein Punkttest möglich: α muss zwischen 0 und 1 liegen.");
  result.criticalActive = 18.494L;
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','),
            "Kein Punkttest möglich: kein aktiver Paßpunkt wird von den übrigen kontrolliert (α = 0,1 %).");
  result.suspect = 6;
  result.pairs[6].T = 23.414;
  result.pairs[6].testShown = true;
  EXPECT_EQ(analysis::suspectLine(result, names, names, ','), "Größte Prüfgröße: Punkt 7 (1007), T = 23,41, k = 18,49");
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','), "Kein Punkt ist ausreißerverdächtig (α = 0,1 %).");
  result.pairs[6].outlier = true;
  EXPECT_EQ(analysis::verdictLine(result, {}, {}, '.'),
            "Punkt 7 ist ausreißerverdächtig: T = 23.41 > k = 18.49 (α = 0.1 %).");
  result.pairs[6].T = analysis::PairStatistics::kInfiniteTest;
  EXPECT_EQ(analysis::verdictLine(result, names, names, ','),
            "Punkt 7 (1007) ist ausreißerverdächtig: T = ∞ > k = 18,49 (α = 0,1 %).");
}

// Guards against a verdict that contradicts the table: a switched-off pair whose test
// fails was named nowhere. Active outliers belong to the verdict, not to these lines.
TEST(AnalysisTexts, FailedCheckPointLines) {
  analysis::ControlPointAnalysis result;
  result.criticalActive = 14.906L;
  result.criticalSwitchedOff = 10.392L;
  const struct {
    bool active, outlier;
    double T;
  } pairs[] = {{true, false, 1.2}, {false, true, 348.884}, {true, true, 20.5},
               {false, false, 3.1}, {false, true, 11.0}, {false, true, 1e6}};
  for (const auto& p : pairs) {
    result.pairs.emplace_back();
    result.pairs.back().active = p.active;
    result.pairs.back().testShown = true;
    result.pairs.back().outlier = p.outlier;
    result.pairs.back().T = p.T;
  }
  const PointList names{{"1001", "1002", "1003", "1004", "1005", "1006"}, {}, {}};
  EXPECT_EQ(analysis::failedCheckPoints(result), (std::vector<std::size_t>{1, 4, 5}));

  const std::vector<std::string> all = {"Kontrollpunkt 2 (1002) weicht signifikant ab: T = 348,88 > k = 10,39.",
                                        "Kontrollpunkt 5 (1005) weicht signifikant ab: T = 11,00 > k = 10,39.",
                                        "Kontrollpunkt 6 (1006) weicht signifikant ab: T = 1000000,00 > k = 10,39."};
  const struct {
    const char* name;
    std::size_t shown;
    std::vector<std::string> lines;
  } rows[] = {
      {"all of them", std::numeric_limits<std::size_t>::max(), all},
      {"as many as there are", 3, all},
      {"one more than shown", 2, {all[0], all[1], "… und 1 weiterer Kontrollpunkt weicht signifikant ab."}},
      {"the rest as a count", 1, {all[0], "… und 2 weitere Kontrollpunkte weichen signifikant ab."}},
      {"none shown", 0, {"… und 3 weitere Kontrollpunkte weichen signifikant ab."}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(analysis::failedCheckPointLines(result, names, names, ',', row.shown), row.lines) << row.name;

  for (auto& pair : result.pairs) pair.outlier = pair.active && pair.outlier;
  EXPECT_TRUE(analysis::failedCheckPointLines(result, {}, {}, '.').empty());
}

// Guards against exactly fitting pairs reported as "zu wenige aktive Paßpunkte": the
// verdict without a test says which of the reasons holds.
TEST(AnalysisTexts, VerdictWithoutATest) {
  const struct {
    const char* name;
    std::size_t active;
    bool exactFit;
    const char* verdict;
  } rows[] = {
      {"twelve exact pairs", 12, true, "Die Paßpunkte passen exakt zusammen (alle Verbesserungen null)."},
      {"three exact pairs", 3, true, "Die Paßpunkte passen exakt zusammen (alle Verbesserungen null)."},
      {"three pairs", 3, false, "Kein Punkttest möglich: zu wenige aktive Paßpunkte (α = 0,1 %)."},
      // Two pairs always fit exactly: that says nothing about them.
      {"two pairs", 2, true, "Kein Punkttest möglich: zu wenige aktive Paßpunkte (α = 0,1 %)."},
  };
  for (const auto& row : rows) {
    analysis::ControlPointAnalysis result;
    result.pairCount = result.activeCount = row.active;
    result.exactFit = row.exactFit;
    if (result.testDof(true) > 0) result.criticalActive = 18.494L;
    EXPECT_EQ(analysis::verdictLine(result, {}, {}, ','), row.verdict) << row.name;
  }
}

// `shown` names the figures that are defined: r, g (gap), T.
analysis::PairStatistics pairOf(bool active, std::string_view shown, double vRW, double vHW, double r, double T) {
  analysis::PairStatistics pair;
  pair.setResidual(vRW, vHW);
  pair.active = active;
  pair.shareShown = shown.find('r') != std::string_view::npos;
  // An active pair's gap is v / r (Helmert), a check point's its residual.
  if (shown.find('g') != std::string_view::npos) pair.setGap(active ? vRW / r : vRW, active ? vHW / r : vHW);
  pair.testShown = shown.find('T') != std::string_view::npos;
  pair.r = r;
  pair.T = T;
  return pair;
}

TEST(PairCells, WhichFiguresReadADash) {
  analysis::ControlPointAnalysis result;
  result.criticalActive = 14.906L;
  result.criticalSwitchedOff = 13.8L;
  using F = analysis::PairFigure;
  const F figures[] = {F::GapRW, F::GapHW, F::Gap, F::Share, F::Test, F::Critical};
  const struct {
    const char* name;
    analysis::PairStatistics pair;
    const char* cells[6];  // in the order of `figures`
  } rows[] = {
      // 3-4-5 residuals make a round length.
      {"active", pairOf(true, "rgT", 0.003, -0.004, 0.5, 2.5), {"0,0060", "-0,0080", "0,0100", "0,500", "2,50", "14,91"}},
      // A check point's gap is its residual; it has no share of the estimate's redundancy.
      {"switched off", pairOf(false, "gT", 0.03, 0.04, 0, 7.25), {"0,0300", "0,0400", "0,0500", "–", "7,25", "13,80"}},
      // The others fit exactly: T is infinite.
      {"active, infinite T", pairOf(true, "rgT", 0.03, 0.04, 0.5, analysis::PairStatistics::kInfiniteTest),
       {"0,0600", "0,0800", "0,1000", "0,500", "∞", "14,91"}},
      // Three active pairs: r and the gap, but no test.
      {"active, no test", pairOf(true, "rg", 0.003, 0.004, 0.25, 0), {"0,0120", "0,0160", "0,0200", "0,250", "–", "–"}},
      // Two active pairs: r = 0 and nothing else.
      {"active, r only", pairOf(true, "r", 0, 0, 0, 0), {"–", "–", "–", "0,000", "–", "–"}},
      {"check point, no test", pairOf(false, "g", 0.03, 0.04, 0, 0), {"0,0300", "0,0400", "0,0500", "–", "–", "–"}},
      {"switched off, nothing", pairOf(false, "", 0.03, 0.04, 0, 0), {"–", "–", "–", "–", "–", "–"}},
  };
  for (const auto& row : rows) {
    for (std::size_t f = 0; f < 6; ++f) {
      SCOPED_TRACE(std::string(row.name) + ", figure " + std::to_string(f));
      EXPECT_EQ(analysis::pairCellText(result, row.pair, figures[f], ','), row.cells[f]);
      EXPECT_EQ(analysis::isShown(row.pair, figures[f]), std::string(row.cells[f]) != "–");
    }
  }
}

}  // namespace
