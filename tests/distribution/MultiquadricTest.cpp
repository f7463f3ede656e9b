// Multiquadric interpolation beyond what all methods share: the default delta by hand,
// chosen deltas against the independent solution, smoothness between the nodes from the
// bounds of the formula, and the settings and systems it must refuse.
#include <gtest/gtest.h>

#include "TestData.h"
#include "Reference.h"
#include "ResidualDistribution.h"

#include <cmath>
#include <limits>

namespace {

using namespace distribution;
using namespace testdata;

distribution::DistributionSetup prepare(const std::vector<ControlPoint>& points, std::optional<double> delta) {
  return distribution::prepareDistribution(points, {Method::Multiquadric, {}, delta});
}

// Nearest neighbours: 5 m for the first two, 12 m for the last two: mean 8.5 m.
TEST(Multiquadric, DefaultDeltaIsTheMeanNearestNeighbourDistance) {
  const std::vector<ControlPoint> points{{4511000, 5431000, 0.01, 0.0},
                                         {4511003, 5431004, 0.0, 0.01},
                                         {4511100, 5431000, -0.01, 0.0},
                                         {4511100, 5431012, 0.0, -0.01}};
  const distribution::DistributionSetup setup = prepare(points, {});
  ASSERT_EQ(setup.result.problem, SetupProblem::None);
  EXPECT_DOUBLE_EQ(setup.distribution->settings().delta.value(), 8.5);
  EXPECT_EQ(prepare(points, 2.5).distribution->settings().delta.value(), 2.5);
}

// delta = 0 (cones at the nodes), a few metres, and far beyond the spacing (nearly flat
// basis functions, a poorly conditioned system): nodes and points in between.
TEST(Multiquadric, ChosenDeltasAgreeWithTheIndependentSolution) {
  const std::vector<ControlPoint> points = testdata::controlPoints(30, 111);
  for (double delta : {0.0, 5.0, 500.0}) {
    const distribution::DistributionSetup setup = prepare(points, delta);
    ASSERT_EQ(setup.result.problem, SetupProblem::None) << delta;
    const reference::Multiquadric expected(points, delta);
    for (const ControlPoint& node : points) {
      const Correction c = setup.distribution->correctionAt(node.rw, node.hw);
      EXPECT_NEAR(c.dRW, node.vRW, kNanometre) << delta;
      EXPECT_NEAR(c.dHW, node.vHW, kNanometre) << delta;
    }
    for (const testdata::Position& p : testdata::queryPoints(200, 112, 100)) {
      const Correction c = setup.distribution->correctionAt(p.rw, p.hw);
      const reference::Shift want = expected.at(p.rw, p.hw);
      EXPECT_NEAR(c.dRW, static_cast<double>(want.rw), kNanometre) << delta;
      EXPECT_NEAR(c.dHW, static_cast<double>(want.hw), kNanometre) << delta;
    }
  }
}

// Along any line |dq/dt| <= 1 and |d2q/dt2| <= 1/delta, so with A = sum |alpha_j| the steps
// of c over h are at most A h and its second differences at most A h^2 / delta: no jumps,
// no kinks between or at the nodes.
TEST(Multiquadric, SmoothBetweenTheNodes) {
  const std::vector<ControlPoint> points = testdata::controlPoints(25, 121);
  const distribution::DistributionSetup setup = prepare(points, {});
  ASSERT_EQ(setup.result.problem, SetupProblem::None);
  const double delta = setup.distribution->settings().delta.value();
  ASSERT_GT(delta, 0);
  const reference::Multiquadric expected(points, delta);
  const double h = 0.5;
  const struct {
    double sum;
    double Correction::*component;
  } components[] = {{static_cast<double>(expected.alphaSumRW()), &Correction::dRW},
                    {static_cast<double>(expected.alphaSumHW()), &Correction::dHW}};
  // Lines through the area, one of them through a node.
  const struct {
    double rw, hw, dirRW, dirHW;
  } lines[] = {{testdata::kOriginRW, testdata::kOriginHW, 0.6, 0.8},
               {testdata::kOriginRW, testdata::kOriginHW + 500, 1, 0},
               {points[4].rw - 200, points[4].hw, 1, 0}};
  for (const auto& line : lines)
    for (const auto& [sum, component] : components) {
      double before = 0, previous = 0;
      for (int step = 0; step * h < 1000; ++step) {
        const Correction c = setup.distribution->correctionAt(line.rw + step * h * line.dirRW, line.hw + step * h * line.dirHW);
        const double value = c.*component;
        if (step >= 1) {
          EXPECT_LE(std::fabs(value - previous), sum * h + kPicometre) << step;
        }
        if (step >= 2) {
          EXPECT_LE(std::fabs(value - 2 * previous + before), sum * h * h / delta + kPicometre) << step;
        }
        before = previous;
        previous = value;
      }
    }
}

TEST(Multiquadric, RefusedSettingsAndSystems) {
  const std::vector<ControlPoint> few = testdata::controlPoints(6, 131);
  const struct {
    const char* name;
    std::vector<ControlPoint> points;
    std::optional<double> delta;
    SetupProblem problem;
  } cases[] = {
      {"negative delta", few, -1.0, SetupProblem::InvalidDelta},
      {"NaN delta", few, std::numeric_limits<double>::quiet_NaN(), SetupProblem::InvalidDelta},
      {"infinite delta", few, std::numeric_limits<double>::infinity(), SetupProblem::InvalidDelta},
      {"too many points", testdata::controlPoints(distribution::kMaxMultiquadricPoints + 1, 132), {},
       SetupProblem::TooManyForMultiquadric},
      // Points within a metre and delta 1e9 m: every sqrt(s^2 + delta^2) rounds to delta,
      // so the system is singular in double.
      {"singular system",
       {{4511000, 5431000, 0.01, 0}, {4511000.5, 5431000, 0, 0.01}, {4511000, 5431000.7, -0.01, 0}, {4511000.9, 5431000.3, 0, 0}},
       1e9,
       SetupProblem::MultiquadricIllConditioned},
  };
  for (const auto& c : cases) {
    const distribution::DistributionSetup setup = prepare(c.points, c.delta);
    EXPECT_EQ(setup.result.problem, c.problem) << c.name;
    EXPECT_FALSE(setup.distribution) << c.name;
  }
}

}  // namespace
