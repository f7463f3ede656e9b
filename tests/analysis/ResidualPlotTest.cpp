// Tests of the residual plot's geometry: the exaggeration rule, the scale bars and their
// texts, orientation and one scale for both axes, and degenerate sets.
#include <gtest/gtest.h>

#include "ResidualPlot.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

using analysis::PlotFrame;
using analysis::PlotPair;

struct PlotCase {
  const char* name;
  std::vector<PlotPair> pairs;
  PlotFrame frame;
  const char* residualText;  // the residual scale bar's text
  const char* factorText;    // the exaggeration text
};

double arrowLength(const analysis::PlotMark& m) { return std::hypot(m.tipX - m.x, m.tipY - m.y); }

bool isRound(double value) {
  const double mantissa = value / std::pow(10.0, std::floor(std::log10(value) + 1e-9));
  return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9;
}

TEST(ResidualPlot, ExaggerationAndScaleBarsFollowTheRules) {
  const PlotCase cases[] = {
      {"100 m square, 2 cm residuals, pixels",
       {{0, 0, 0.02, 0}, {100, 0, -0.01, 0.01}, {100, 100, 0, -0.015}, {0, 100, -0.01, 0.005}},
       {600, 400, 12, ','}, "0,02 m", "Verbesserungen 1000-fach vergrößert"},
      // The switched-off pair's 3 m check residual does not set the factor.
      {"Gauss-Krueger, blunder switched off, millimetres",
       {{4510584.583, 5431729.308, 0.004, -0.003}, {4512547.351, 5432585.269, -0.052, 0.031},
        {4511176.015, 5430120.792, 0.001, 0.006}, {4512842.614, 5431570.420, 3.0, 0, false, true}},
       {180, 120, 3.5, '.'}, "0.1 m", "Verbesserungen 5000-fach vergrößert"},
      {"residuals as large as the set: a factor below one",
       {{0, 0, 10, 0}, {10, 0, 0, 0}, {0, 10, 0, 0}}, {300, 900, 0, ','}, "10 m", "Verbesserungen 0,2-fach vergrößert"},
  };
  for (const PlotCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto g = analysis::computeResidualPlot(c.pairs, {}, c.frame);
    const double limit = std::min(c.frame.width, c.frame.height) / 6;
    double longest = 0;
    for (const auto& m : g.marks)
      if (m.active) longest = std::max(longest, arrowLength(m));
    EXPECT_TRUE(isRound(g.exaggeration));
    EXPECT_LE(longest, limit * (1 + 1e-12));
    EXPECT_GT(longest, 0.4 * limit);
    EXPECT_EQ(g.exaggerationText.text, c.factorText);
    EXPECT_EQ(g.residualBar.text.text, c.residualText);
    EXPECT_TRUE(isRound(g.residualBar.metres));
    EXPECT_NEAR(g.residualBar.length, g.residualBar.metres * g.unitsPerMetre * g.exaggeration, 1e-9);
    EXPECT_LE(g.residualBar.length, limit * (1 + 1e-12));
    EXPECT_TRUE(isRound(g.coordinateBar.metres));
    EXPECT_NEAR(g.coordinateBar.length, g.coordinateBar.metres * g.unitsPerMetre, 1e-9);
    EXPECT_LE(g.coordinateBar.length, c.frame.width / 5);
    EXPECT_GT(g.coordinateBar.length, c.frame.width / 5 * 0.3);
    EXPECT_LE(g.residualBar.x + g.residualBar.length, c.frame.width);
    for (const auto& m : g.marks) {
      EXPECT_GE(m.x, g.areaLeft - 1e-9);
      EXPECT_LE(m.x, g.areaRight + 1e-9);
      EXPECT_GE(m.y, g.areaTop - 1e-9);
      EXPECT_LE(m.y, g.areaBottom + 1e-9);
    }
  }
}

TEST(ResidualPlot, RwToTheRightHwUpOneScale) {
  const std::vector<PlotPair> pairs = {{1000, 2000, 0.01, 0.02}, {1300, 2100, 0, 0}, {1100, 2400, 0, 0}};
  const auto g = analysis::computeResidualPlot(pairs, {"A", "B", "C"}, {500, 500, 10, ','});
  EXPECT_NEAR(g.marks[1].x - g.marks[0].x, 300 * g.unitsPerMetre, 1e-9);
  EXPECT_NEAR(g.marks[0].y - g.marks[2].y, 400 * g.unitsPerMetre, 1e-9);
  EXPECT_GT(g.marks[0].tipX, g.marks[0].x);  // vRW > 0 points right
  EXPECT_LT(g.marks[0].tipY, g.marks[0].y);  // vHW > 0 points up
  EXPECT_NEAR((g.marks[0].tipX - g.marks[0].x) * 2, g.marks[0].y - g.marks[0].tipY, 1e-9);
  EXPECT_EQ(g.label(2).text, "C");
  EXPECT_EQ(g.nearestMark(g.marks[1].x + 2, g.marks[1].y - 2, 5), 1u);
  EXPECT_FALSE(g.nearestMark(g.marks[1].x + 20, g.marks[1].y, 5));
}

TEST(ResidualPlot, DegenerateSetsGiveFiniteFigures) {
  const std::vector<std::vector<PlotPair>> sets = {
      {}, {{5, 5, 0, 0}}, {{5, 5, 0, 0}, {5, 5, 0, 0}}, {{0, 0, 0.1, 0}, {0, 50, 0, 0}}, {{0, 0, 0, 0}, {9, 9, 0, 0}}};
  for (const auto& pairs : sets) {
    const auto g = analysis::computeResidualPlot(pairs, {}, {200, 100, 0, ','});
    EXPECT_TRUE(std::isfinite(g.unitsPerMetre) && g.unitsPerMetre > 0);
    EXPECT_TRUE(std::isfinite(g.exaggeration) && g.exaggeration > 0);
    for (const auto& m : g.marks) EXPECT_TRUE(std::isfinite(m.x + m.y + m.tipX + m.tipY));
    EXPECT_EQ(g.labels.size(), pairs.size());
    if (!pairs.empty()) {
      EXPECT_EQ(g.labels.back(), std::to_string(pairs.size()));
    }
  }
}

TEST(ResidualPlot, RoundValuesAndTheirTexts) {
  const struct { double value, below; const char* factor; const char* metres; } rows[] = {
      {1167.1, 1000, "1000", "1000 m"}, {4.99, 2, "2", "2 m"}, {5, 5, "5", "5 m"},
      {0.0233, 0.02, "0,02", "0,02 m"}, {0.999, 0.5, "0,5", "0,5 m"}, {0.0019, 0.001, "0,001", "0,001 m"}};
  for (const auto& row : rows) {
    EXPECT_DOUBLE_EQ(analysis::roundFactorBelow(row.value), row.below) << row.value;
    EXPECT_EQ(analysis::factorText(row.below, ','), row.factor);
    EXPECT_EQ(analysis::metresText(row.below, ','), row.metres);
  }
}

}  // namespace
