// Tests of the model comparison: F quantiles against tables and the closed form for two
// numerator degrees of freedom, the verdict lines, the cases without a test, and a Monte
// Carlo check that a known affine distortion is found while clean similarity data prefer
// the affine model no more often than alpha says. Also the model texts.
#include <gtest/gtest.h>

#include "ControlPointAnalysis.h"
#include "ModelComparison.h"
#include "ModelReference.h"
#include "ModelTexts.h"

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace modeltest;
using models::NestedTestState;

TEST(ModelComparison, FQuantilesMatchTablesAndTheClosedForm) {
  const struct {
    int d1, d2;
    double alpha, quantile;  // from printed tables of the F distribution
  } table[] = {{1, 10, 0.05, 4.96}, {1, 20, 0.05, 4.35}, {1, 5, 0.01, 16.26}, {1, 120, 0.05, 3.92},
               {2, 10, 0.05, 4.10}, {2, 8, 0.001, 18.49}, {2, 120, 0.05, 3.07}, {2, 3, 0.01, 30.82}};
  for (const auto& row : table) EXPECT_NEAR(models::fQuantile(row.alpha, row.d1, row.d2), row.quantile, 0.005) << row.d1 << " " << row.d2;
  // With two numerator degrees of freedom the quantile has the closed form of the point test.
  for (const double alpha : {0.001, 0.01, 0.05})
    for (int f = 1; f <= 200; ++f) {
      const double closed = static_cast<double>(analysis::criticalValue(alpha, f));
      EXPECT_NEAR(models::fQuantile(alpha, 2, f), closed, 1e-10 * closed) << alpha << " " << f;
    }
}

models::NestedTest tested(models::Model simpler, models::Model richer, int extra, int f, double F, double k) {
  return {simpler, richer, NestedTestState::Tested, extra, f, F, k, F > k};
}

TEST(ModelComparison, VerdictLines) {
  using models::Model;
  models::NestedTest none{Model::Helmert, Model::Affine, NestedTestState::TooFewPairs, 2, 0, 0, 0, false};
  models::NestedTest line = none;
  line.state = NestedTestState::NotEstimated;
  models::NestedTest exact{Model::Congruent, Model::Helmert, NestedTestState::ExactFit, 1, 4, 0, 0, false};
  models::NestedTest few{Model::Congruent, Model::Helmert, NestedTestState::TooFewPairs, 1, 0, 0, 0, false};
  const struct {
    models::NestedTest test;
    const char* line;
  } rows[] = {
      {tested(Model::Helmert, Model::Affine, 2, 10, 1.2149, 5.1433),
       "Das affine Modell ist nicht signifikant besser als Helmert (F = 1,21 < 5,14, α = 5 %)."},
      {tested(Model::Helmert, Model::Affine, 2, 10, 23.404, 5.1433),
       "Das affine Modell ist signifikant besser als Helmert (F = 23,40 > 5,14, α = 5 %)."},
      {tested(Model::Congruent, Model::Helmert, 1, 20, 48.5, 4.3512),
       "Das Helmert-Modell ist signifikant besser als das kongruente (F = 48,50 > 4,35, α = 5 %)."},
      {tested(Model::Congruent, Model::Helmert, 1, 20, std::numeric_limits<double>::infinity(), 4.3512),
       "Das Helmert-Modell ist signifikant besser als das kongruente (F = ∞ > 4,35, α = 5 %)."},
      {none, "Kein Test des affinen Modells gegen Helmert: dazu sind mindestens 4 aktive Paßpunkte nötig."},
      {few, "Kein Test des Helmert-Modells gegen das kongruente: dazu sind mindestens 3 aktive Paßpunkte nötig."},
      {line, "Kein Test des affinen Modells gegen Helmert: die aktiven Paßpunkte bestimmen nicht beide Modelle."},
      {exact, "Kein Test des Helmert-Modells gegen das kongruente: beide passen exakt (alle Verbesserungen null)."},
  };
  for (const auto& row : rows) EXPECT_EQ(analysis::nestedTestLine(row.test, 0.05, ','), row.line);
}

// The states of the tests follow the pairs: too few for the richer model, points on a
// line that do not determine the affine one, and pairs that fit every model exactly.
TEST(ModelComparison, TestsThatCannotBeMade) {
  const PairSet worked{{{}, {0, 10, 0}, {0, 0, 10}}, {{}, {100, 110, 100}, {200, 200, 210.03}}};
  const PairSet line{{{}, {0, 10, 20, 30, 40}, {0, 5, 10, 15, 20}}, {{}, {1, 11, 21, 31, 41}, {2, 7, 12, 17.001, 22}}};
  const PairSet shifted{{{}, {0, 10, 0, 7}, {0, 0, 10, 3}}, {{}, {100, 110, 100, 107}, {200, 200, 210, 203}}};
  const struct {
    const char* name;
    const PairSet& set;
    NestedTestState scale, affine;
  } cases[] = {
      {"three pairs", worked, NestedTestState::Tested, NestedTestState::TooFewPairs},
      {"points on a line", line, NestedTestState::Tested, NestedTestState::NotEstimated},
      {"a pure shift", shifted, NestedTestState::ExactFit, NestedTestState::ExactFit},
  };
  for (const auto& c : cases) {
    const models::ModelComparison comparison = models::compareModels(c.set.oldPoints, c.set.newPoints, {}, 0.05);
    EXPECT_EQ(comparison.helmertAgainstCongruent.state, c.scale) << c.name;
    EXPECT_EQ(comparison.affineAgainstHelmert.state, c.affine) << c.name;
  }
  // The worked example's scale of 1.0015 over 10 m is a real misfit of the congruent model.
  const models::ModelComparison worked3 = models::compareModels(worked.oldPoints, worked.newPoints, {}, 0.05);
  EXPECT_NEAR(worked3.helmertAgainstCongruent.F,
              static_cast<double>((worked3.congruent.omega - worked3.helmert.omega) / (worked3.helmert.omega / 2)), 1e-9);
}

// Guards against a comparison that cannot tell the models apart, or prefers the richer
// one too often: 300 ppm of scale difference between the axes is found in every set, and
// on 200 clean similarity sets at alpha = 5 % the affine model is preferred in 2 to 21
// (the 99.9 % interval of the binomial distribution of 200 tries at 5 %).
TEST(ModelComparison, AffineDistortionIsFoundAndCleanDataPreferItAtRateAlpha) {
  constexpr double kNoise = 0.003;  // metres
  std::mt19937 random(20240601);
  int foundAffine = 0;
  for (int set = 0; set < 50; ++set) {
    const PairSet pairs = generatedSet(12, 100, {1 + 318.5e-6, 1 + 18.5e-6, 0.0234, 0}, kNoise, random);
    foundAffine += models::compareModels(pairs.oldPoints, pairs.newPoints, {}, 0.05).preferred() == Model::Affine;
  }
  EXPECT_EQ(foundAffine, 50);

  int preferredAffine = 0, preferredHelmert = 0;
  for (int set = 0; set < 200; ++set) {
    const PairSet pairs = generatedSet(12, 1000, {}, kNoise, random);
    const models::Model preferred = models::compareModels(pairs.oldPoints, pairs.newPoints, {}, 0.05).preferred();
    preferredAffine += preferred == Model::Affine;
    preferredHelmert += preferred == Model::Helmert;
  }
  RecordProperty("preferredAffine", preferredAffine);
  EXPECT_GE(preferredAffine, 2);
  EXPECT_LE(preferredAffine, 21);
  // 18.5 ppm over a kilometre is far beyond 3 mm of noise: the free scale is kept.
  EXPECT_EQ(preferredAffine + preferredHelmert, 200);
}

TEST(ModelTexts, NamesFormulasAndParameterLines) {
  const struct {
    const char* name;
    std::optional<Model> model;
  } names[] = {{"helmert", Model::Helmert}, {"Helmert", Model::Helmert}, {"kongruent", Model::Congruent},
               {"congruent", Model::Congruent}, {"affin", Model::Affine}, {"AFFINE", Model::Affine},
               {"affi", std::nullopt}, {"", std::nullopt}};
  for (const auto& row : names) EXPECT_EQ(analysis::modelFromName(row.name), row.model) << row.name;
  EXPECT_EQ(analysis::outcomeMessage(analysis::AnalysisOutcome::TooFewActive, Model::Affine),
            "Mindestens drei Paßpunkte sind für das affine Modell erforderlich.");
  EXPECT_EQ(analysis::outcomeMessage(analysis::AnalysisOutcome::TooFewActive, Model::Congruent),
            "Mindestens zwei Paßpunkte sind erforderlich.");

  // An affine map with m_rw = 1.0003, m_hw = 0.9999, rotation 12.5 gon, shear 0.75 gon.
  std::mt19937 random(3);
  const PairSet pairs = generatedSet(8, 400, {1.0003, 0.9999, 12.5, 0.75}, 0, random);
  const analysis::ControlPointAnalysis affine = analysis::analyseModel(Model::Affine, pairs.oldPoints, pairs.newPoints, {}, 0.05);
  const struct {
    const char* label;
    double value;
    const char* unit;
  } expected[] = {{"a1", 0, ""}, {"a2", 0, ""}, {"b1", 0, ""}, {"b2", 0, ""},
                  {"Maßstab m_rw", 1.0003, ""}, {"Maßstab m_hw", 0.9999, ""}, {"Drehung", 12.5, "gon"}, {"Scherung", 0.75, "gon"}};
  const std::vector<analysis::ParameterLine> lines = analysis::parameterLines(affine, ',');
  ASSERT_EQ(lines.size(), 2 + std::size(expected));
  EXPECT_TRUE(lines[0].label == "Xo" && lines[1].label == "Yo");
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const analysis::ParameterLine& line = lines[2 + i];
    EXPECT_EQ(line.label, expected[i].label);
    EXPECT_EQ(line.unit, expected[i].unit);
    // Ten decimals with a decimal comma; the figures of the distortion to nine of them.
    ASSERT_EQ(line.value.size() - line.value.find(','), 11u) << line.value;
    if (expected[i].value != 0) {
      std::string number = line.value;
      number[number.find(',')] = '.';
      double value = 0;
      std::from_chars(number.data(), number.data() + number.size(), value);
      EXPECT_NEAR(value, expected[i].value, 1e-9) << line.label;
    }
  }
  const analysis::ControlPointAnalysis congruent =
      analysis::analyseModel(Model::Congruent, pairs.oldPoints, pairs.newPoints, {}, 0.05);
  ASSERT_EQ(congruent.outcome, analysis::AnalysisOutcome::Success);
  EXPECT_EQ(congruent.run.scale, 1.0);
  EXPECT_EQ(congruent.redundancy(), 2 * 8 - 3);
}

}  // namespace
