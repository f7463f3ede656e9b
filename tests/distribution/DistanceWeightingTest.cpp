// Distance weighting beyond what all methods share: a hand-computed point halfway between
// two control points, the radius and its edge, and the grid behind the radius against the
// plain sum over all control points.
#include <gtest/gtest.h>

#include "TestData.h"
#include "Reference.h"
#include "ResidualDistribution.h"

#include <cmath>
#include <limits>

namespace {

using namespace distribution;
using namespace testdata;

std::unique_ptr<const distribution::ResidualDistribution> prepare(const std::vector<ControlPoint>& points,
                                                                  Method method, std::optional<double> radius) {
  return testdata::prepared(points, {method, radius, {}});
}

// A and B 100 m apart, C 100 m from their midpoint P. Under 1/s^2 P sees A and B at 50 m
// (w = 1/2500 each) and C at 100 m (w = 1/10000):
//   c = (4 v_A + 4 v_B + v_C) / 9 = (0.048 - 0.012 + 0.018) / 9 = 0.006 m in RW,
//                                   (-0.024 + 0.036 + 0.027) / 9 = 0.0043333... m in HW.
TEST(DistanceWeighting, HalfwayBetweenTwoControlPointsByHand) {
  const std::vector<ControlPoint> points{{4511000, 5431000, 0.012, -0.006},
                                         {4511100, 5431000, -0.003, 0.009},
                                         {4511050, 5431100, 0.018, 0.027}};
  const auto method = prepare(points, Method::DistanceWeightingP2, {});
  const Correction c = method->correctionAt(4511050, 5431000);
  ASSERT_TRUE(c.corrected);
  EXPECT_NEAR(c.dRW, 0.006, kPicometre);
  EXPECT_NEAR(c.dHW, 0.039 / 9, kPicometre);
}

// The radius is inclusive: a control point exactly R away counts, one just beyond does not,
// and a point with no control point within R is marked as uncorrected. P lies (30, 40) from
// the first control point, s = 50 m exactly, and 270 m east, 40 m north of the second.
TEST(DistanceWeighting, RadiusEdge) {
  const std::vector<ControlPoint> points{{4511000, 5431000, 0.012, -0.006}, {4511300, 5431000, -0.030, 0.040}};
  const double s2 = std::sqrt(270.0 * 270.0 + 40.0 * 40.0);
  const struct {
    double radius;
    bool corrected;
    double dRW;
  } cases[] = {
      {50.0, true, 0.012},                                           // the first alone
      {49.999, false, 0.0},                                          // none
      {400.0, true, (0.012 / 50 - 0.030 / s2) / (1 / 50.0 + 1 / s2)},  // both, weighted by 1/s
  };
  for (const auto& edge : cases) {
    const auto method = prepare(points, Method::DistanceWeightingP1, edge.radius);
    const Correction c = method->correctionAt(4511030, 5431040);
    EXPECT_EQ(c.corrected, edge.corrected) << edge.radius;
    EXPECT_NEAR(c.dRW, edge.dRW, kPicometre) << edge.radius;
  }
}

TEST(DistanceWeighting, RadiusMustBePositive) {
  for (double radius : {0.0, -5.0, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    const distribution::DistributionSetup setup =
        distribution::prepareDistribution(testdata::controlPoints(5, 1), {Method::DistanceWeightingP2, radius, {}});
    EXPECT_EQ(setup.result.problem, SetupProblem::InvalidRadius) << radius;
  }
}

// The grid must find every control point within R, whatever the cell size: a radius far
// below the spacing, about the spacing, and beyond the whole area; points also outside.
TEST(DistanceWeighting, RadiusAgreesWithTheSumOverAllControlPoints) {
  const std::vector<ControlPoint> points = testdata::controlPoints(300, 91);
  const std::vector<testdata::Position> queries = testdata::queryPoints(2000, 92, 150);
  const struct {
    Method method;
    long double p;
  } exponents[] = {{Method::DistanceWeightingP1, 1}, {Method::DistanceWeightingP1_5, 1.5L}, {Method::DistanceWeightingP2, 2}};
  for (double radius : {3.0, 60.0, 5000.0}) {
    for (const auto& [method, p] : exponents) {
      const auto weighting = prepare(points, method, radius);
      std::size_t corrected = 0;
      for (const testdata::Position& q : queries) {
        const Correction got = weighting->correctionAt(q.rw, q.hw);
        const reference::Shift want = reference::weighted(points, p, radius, q.rw, q.hw);
        ASSERT_EQ(got.corrected, want.corrected) << radius << " at " << q.rw << " " << q.hw;
        EXPECT_NEAR(got.dRW, static_cast<double>(want.rw), kNanometre);
        EXPECT_NEAR(got.dHW, static_cast<double>(want.hw), kNanometre);
        corrected += got.corrected;
      }
      // The small radius leaves most points without a control point, the large none.
      if (radius == 3.0) {
        EXPECT_LT(corrected, queries.size() / 2);
      }
      if (radius == 5000.0) {
        EXPECT_EQ(corrected, queries.size());
      }
    }
  }
}

// A point a nanometre from a control point is not the control point, but its weight
// swamps the others: the correction is that residual to a nanometre (no jump at the node).
TEST(DistanceWeighting, NextToAControlPoint) {
  const std::vector<ControlPoint> points = testdata::controlPoints(50, 101);
  for (Method method : {Method::DistanceWeightingP1, Method::DistanceWeightingP2}) {
    const auto weighting = prepare(points, method, {});
    const ControlPoint& near = points[7];
    const Correction c = weighting->correctionAt(near.rw + 1e-9, near.hw);
    EXPECT_NEAR(c.dRW, near.vRW, kNanometre);
    EXPECT_NEAR(c.dHW, near.vHW, kNanometre);
  }
}

}  // namespace
