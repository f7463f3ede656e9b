// Tests of the three models' estimates against an independent refit (ModelReference.h):
// parameters, residuals and So on the worked example, the sample control points and sets
// with a known affine distortion; Helmert against the "Parameter" run bit for bit; the
// cofactor matrices and design blocks against the full normal equations; the affine
// model's derived figures against their definitions; and what a fit refuses.
#include <gtest/gtest.h>

#include "ControlPointAnalysis.h"
#include "CoordinateReader.h"
#include "ModelFit.h"
#include "ModelReference.h"
#include "ParameterRun.h"

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace modeltest;

constexpr long double kNanometre = 1e-9L;
constexpr long double kFactorTolerance = 1e-13L;  // 0.1 nm over a kilometre
constexpr long double kShiftTolerance = 1e-6L;    // shifts at the origin, thousands of km from the points
constexpr double kNanogon = 1e-9;
// Scales from six points 500 m apart whose new coordinates are rounded to double (1e-9 m).
constexpr double kScaleTolerance = 1e-11;

PairSet pairs(std::vector<double> rw, std::vector<double> hw, std::vector<double> RW, std::vector<double> HW) {
  return {{{}, std::move(rw), std::move(hw)}, {{}, std::move(RW), std::move(HW)}};
}

// The solver's worked example: three pairs.
PairSet workedExample() { return pairs({0, 10, 0}, {0, 0, 10}, {100, 110, 100}, {200, 200, 210.03}); }

// The twelve sample control points (one with a blunder of about 5 cm).
PairSet samplePairs() {
  PairSet set;
  const auto skip = [](const BadLine&) { return BadLineAnswer::Continue; };
  readCoordinateFile(std::string(TRAMIS_SOURCE_DIR) + "/samples/passpunkte_alt.asc", set.oldPoints, skip);
  readCoordinateFile(std::string(TRAMIS_SOURCE_DIR) + "/samples/passpunkte_neu.asc", set.newPoints, skip);
  return set;
}

// 15 pairs over a kilometre with 300 ppm more scale along rw, a shear of 5 mgon and 2 mm
// of noise; with `blunder`, pair 4 is 5 cm off.
PairSet distortedPairs(bool blunder) {
  std::mt19937 random(2024);
  PairSet set = generatedSet(15, 1000, {1 + 318.5e-6, 1 + 18.5e-6, 0.0234, 0.005}, 0.002, random);
  if (blunder) set.newPoints.rw[4] += 0.05;
  return set;
}

struct NamedSet {
  const char* name;
  PairSet set;
};

std::vector<NamedSet> dataSets() {
  return {{"worked example", workedExample()},
          {"samples", samplePairs()},
          {"affine distortion", distortedPairs(false)},
          {"affine distortion with a blunder", distortedPairs(true)}};
}

TEST(ModelFit, ParametersResidualsAndSoMatchAnIndependentRefit) {
  for (const NamedSet& data : dataSets()) {
    ASSERT_GE(data.set.size(), 3u) << data.name;
    for (const Model model : models::kAllModels) {
      SCOPED_TRACE(std::string(data.name) + ", model " + std::to_string(static_cast<int>(model)));
      const models::ModelFit fit = models::fitModel(model, data.set.oldPoints, data.set.newPoints, {});
      ASSERT_EQ(fit.outcome, models::FitOutcome::Success);
      const Reference ref = refit(model, data.set);
      const std::array<long double, 6> expected = ref.affineForm();
      const models::PlaneTransformation& t = fit.transformation;
      EXPECT_NEAR(t.Yo, expected[0], kShiftTolerance);
      EXPECT_NEAR(t.Xo, expected[1], kShiftTolerance);
      const long double factors[4] = {t.a1, t.a2, t.b1, t.b2};
      for (int j = 0; j < 4; ++j) EXPECT_NEAR(factors[j], expected[2 + j], kFactorTolerance) << j;
      for (std::size_t i = 0; i < data.set.size(); ++i) {
        const double rw = data.set.oldPoints.rw[i], hw = data.set.oldPoints.hw[i];
        EXPECT_NEAR(t.residualRW(rw, hw, data.set.newPoints.rw[i]), ref.residuals[i][0], kNanometre) << i;
        EXPECT_NEAR(t.residualHW(rw, hw, data.set.newPoints.hw[i]), ref.residuals[i][1], kNanometre) << i;
      }
      EXPECT_EQ(fit.redundancy, ref.redundancy);
      EXPECT_NEAR(fit.omega, ref.omega, 1e-9L * ref.omega + 1e-24L);
      EXPECT_NEAR(fit.So, ref.So(), 1e-9 * ref.So());
    }
  }
}

// The Helmert model is the "Parameter" run: parameters, the transformation of any point
// and the residuals are the solver's, bit for bit, and so is its analysis.
TEST(ModelFit, HelmertIsTheParameterRunBitForBit) {
  const PairSet set = samplePairs();
  kel::TKEL_Vovezorevarovaduvorir solver;
  const compute::ParameterRun run = compute::runParameterEstimation(set.oldPoints, set.newPoints, solver);
  const models::ModelFit fit = models::fitModel(Model::Helmert, set.oldPoints, set.newPoints, {});
  const models::PlaneTransformation& t = fit.transformation;
  EXPECT_TRUE(t.a1 == solver.a && t.a2 == solver.o && t.b1 == -solver.o && t.b2 == solver.a);
  EXPECT_TRUE(t.Yo == solver.Yo && t.Xo == solver.Xo && fit.So == run.So);
  for (std::size_t i = 0; i < set.size(); ++i) {
    const long double rw = set.oldPoints.rw[i], hw = set.oldPoints.hw[i];
    EXPECT_EQ(t.residualRW(rw, hw, set.newPoints.rw[i]), solver.residual_rw(static_cast<int>(i))) << i;
    EXPECT_EQ(t.residualHW(rw, hw, set.newPoints.hw[i]), solver.residual_hw(static_cast<int>(i))) << i;
    for (const long double shift : {0.0L, 123.4567L, -98765.4321L}) {
      EXPECT_EQ(t.transformRW(rw + shift, hw - shift), solver.transform_rw(rw + shift, hw - shift)) << i;
      EXPECT_EQ(t.transformHW(rw + shift, hw - shift), solver.transform_hw(rw + shift, hw - shift)) << i;
    }
  }

  std::vector<bool> active(set.size(), true);
  active[6] = false;
  kel::TKEL_Vovezorevarovaduvorir dialogSolver;
  const analysis::ControlPointAnalysis expected =
      analysis::analyseControlPoints(set.oldPoints, set.newPoints, active, 0.001, dialogSolver);
  const analysis::ControlPointAnalysis viaModel = analysis::analyseModel(Model::Helmert, set.oldPoints, set.newPoints, active, 0.001);
  ASSERT_EQ(viaModel.pairs.size(), expected.pairs.size());
  for (std::size_t i = 0; i < expected.pairs.size(); ++i) {
    const analysis::PairStatistics &p = viaModel.pairs[i], &q = expected.pairs[i];
    EXPECT_TRUE(p.vRW() == q.vRW() && p.vHW() == q.vHW() && p.gapRW() == q.gapRW() && p.gapHW() == q.gapHW() &&
                p.r == q.r && p.T == q.T && p.outlier == q.outlier)
        << i;
  }
}

TEST(ModelFit, CofactorsAndDesignBlocksMatchTheFullNormalEquations) {
  const PairSet set = distortedPairs(false);
  for (const Model model : models::kAllModels) {
    SCOPED_TRACE(static_cast<int>(model));
    const models::ModelFit fit = models::fitModel(model, set.oldPoints, set.newPoints, {});
    const Offset centroid{fit.centroid.rw, fit.centroid.hw};
    const struct {
      models::ParameterOrigin origin;
      Offset offset;
    } origins[] = {{models::ParameterOrigin::Centroid, centroid}, {models::ParameterOrigin::Origin, {0, 0}}};
    for (const auto& [origin, offset] : origins) {
      const Reference ref = refit(model, set, {}, offset);
      const models::ParameterMatrix Q = fit.cofactors(origin);
      const int k = models::parameterCount(model);
      ASSERT_TRUE(Q.rows == k && Q.cols == k);
      for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j) {
          const double expected = static_cast<double>(ref.normalInverse(i, j));
          EXPECT_NEAR(Q(i, j), expected, 1e-7 * std::sqrt(std::fabs(Q(i, i) * Q(j, j)))) << i << " " << j;
        }
      const double rw = set.oldPoints.rw[3], hw = set.oldPoints.hw[3];
      const models::ParameterMatrix A = fit.designBlock(rw, hw, origin);
      const Matrix expected = ref.designRows(rw, hw);
      for (int row = 0; row < 2; ++row)
        for (int j = 0; j < k; ++j) EXPECT_NEAR(A(row, j), static_cast<double>(expected(row, j)), 1e-9 * (1 + std::fabs(A(row, j))));
    }
  }
}

// The affine figures are those the data were made with: scales along the axes, rotation of
// the rw axis and shear, clockwise positive as Helmert's d. A similarity has equal scales,
// no shear, and Helmert's m and d.
TEST(ModelFit, AffineShapeFollowsItsDefinitions) {
  const Distortion distortions[] = {{1 + 318.5e-6, 1 - 50e-6, 12.5, 0.75}, {0.999, 1.002, -150, -3}, {1.25, 1.25, 100, 0}};
  for (const Distortion& d : distortions) {
    std::mt19937 random(5);
    const PairSet set = generatedSet(6, 500, d, 0, random);
    const models::ModelFit fit = models::fitModel(Model::Affine, set.oldPoints, set.newPoints, {});
    const models::AffineShape shape = models::affineShape(fit.transformation);
    EXPECT_NEAR(shape.scaleRW, d.scaleRW, kScaleTolerance);
    EXPECT_NEAR(shape.scaleHW, d.scaleHW, kScaleTolerance);
    EXPECT_NEAR(shape.rotationGon, d.rotationGon, kNanogon);
    EXPECT_NEAR(shape.shearGon, d.shearGon, kNanogon);
  }
  // a = 0, o = 1: a quarter turn clockwise, rw 1 to HW -1.
  const models::PlaneTransformation quarter = models::PlaneTransformation::similarity(Model::Helmert, 0, 1, 0, 0);
  EXPECT_EQ(quarter.transformRW(1, 0), 0);
  EXPECT_EQ(quarter.transformHW(1, 0), -1);
  const models::AffineShape shape = models::affineShape(quarter);
  EXPECT_NEAR(shape.rotationGon, 100, kNanogon);
  EXPECT_NEAR(shape.shearGon, 0, kNanogon);
  const models::ModelFit helmert = models::fitModel(Model::Helmert, samplePairs().oldPoints, samplePairs().newPoints, {});
  const models::SimilarityShape similar = models::similarityShape(helmert.transformation);
  const models::AffineShape same = models::affineShape(helmert.transformation);
  EXPECT_NEAR(same.scaleRW, similar.scale, 1e-15);
  EXPECT_NEAR(same.scaleHW, similar.scale, 1e-15);
  EXPECT_NEAR(same.rotationGon, similar.rotationGon, kNanogon);
  EXPECT_NEAR(same.shearGon, 0, kNanogon);
}

TEST(ModelFit, FitsRefuseWhatTheyCannotDetermine) {
  using models::FitOutcome;
  const PairSet two = pairs({0, 10}, {0, 0}, {1, 11}, {2, 2});
  const PairSet line = pairs({0, 10, 20, 30}, {0, 5, 10, 15}, {1, 11, 21, 31}, {2, 7, 12, 17.001});
  const PairSet spot = pairs({3, 3, 3}, {4, 4, 4}, {1, 2, 3}, {4, 5, 6});
  const struct {
    const char* name;
    const PairSet& set;
    std::vector<bool> active;
    FitOutcome congruent, helmert, affine;
  } cases[] = {
      {"one active pair", two, {true, false}, FitOutcome::TooFewPairs, FitOutcome::TooFewPairs, FitOutcome::TooFewPairs},
      {"two pairs", two, {}, FitOutcome::Success, FitOutcome::Success, FitOutcome::TooFewPairs},
      {"points on a line", line, {}, FitOutcome::Success, FitOutcome::Success, FitOutcome::PointsCollinear},
      {"points on one spot", spot, {}, FitOutcome::PointsCoincide, FitOutcome::PointsCoincide, FitOutcome::PointsCoincide},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(models::fitModel(Model::Congruent, c.set.oldPoints, c.set.newPoints, c.active).outcome, c.congruent);
    EXPECT_EQ(models::fitModel(Model::Helmert, c.set.oldPoints, c.set.newPoints, c.active).outcome, c.helmert);
    EXPECT_EQ(models::fitModel(Model::Affine, c.set.oldPoints, c.set.newPoints, c.active).outcome, c.affine);
  }
}

}  // namespace
