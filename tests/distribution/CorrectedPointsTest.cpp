// The plain part of the window's residual distribution: when the solver counts as holding
// an estimate, which pairs are its control points, and the result file of corrected points
// that cannot hold an infinite coordinate.
#include "CorrectedPoints.h"
#include "ParameterRun.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

PointList pointList(std::vector<std::string> names, std::vector<double> rw, std::vector<double> hw) {
  PointList list;
  list.names = std::move(names);
  list.rw = std::move(rw);
  list.hw = std::move(hw);
  return list;
}

}  // namespace

TEST(CorrectedPoints, HoldsEstimateOnlyAfterASuccessfulRun) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  EXPECT_FALSE(distribution::holdsEstimate(solver));  // nothing computed
  const PointList one = pointList({"A"}, {0}, {0});
  compute::runParameterEstimation(one, one, solver);
  EXPECT_FALSE(distribution::holdsEstimate(solver));  // too few pairs: parameters not estimated
  const PointList two = pointList({"A", "B"}, {0, 10}, {0, 0});
  compute::runParameterEstimation(two, two, solver);
  EXPECT_TRUE(distribution::holdsEstimate(solver));
}

// The control points are the pairs the estimate was made from, found by their coordinates,
// with residuals new - T(old) in the new system.
TEST(CorrectedPoints, ControlPointsAreThePairsOfTheEstimate) {
  const PointList oldAll = pointList({"A", "B", "C", "D"}, {0, 10, 0, 10}, {0, 0, 10, 10});
  const PointList newAll = pointList({"A", "B", "C", "D"}, {100, 110, 100, 110.02}, {200, 200, 210, 210});
  // Estimated from A, B, C only, as after switching D off.
  const PointList oldUsed = pointList({"A", "B", "C"}, {0, 10, 0}, {0, 0, 10});
  const PointList newUsed = pointList({"A", "B", "C"}, {100, 110, 100}, {200, 200, 210});
  kel::TKEL_Vovezorevarovaduvorir solver;
  compute::runParameterEstimation(oldUsed, newUsed, solver);
  ASSERT_TRUE(distribution::holdsEstimate(solver));

  const distribution::EstimateControlPoints control = distribution::estimateControlPoints(oldAll, newAll, solver);
  ASSERT_EQ(control.points.size(), 3u);
  EXPECT_EQ(control.names, (std::vector<std::string>{"A", "B", "C"}));
  // A translation by (100, 200) fits A, B, C exactly: every residual is zero.
  constexpr double kNanometre = 1e-9;
  for (const distribution::ControlPoint& p : control.points) {
    EXPECT_NEAR(p.vRW, 0, kNanometre);
    EXPECT_NEAR(p.vHW, 0, kNanometre);
  }
  EXPECT_EQ(control.newRW[1], 110);
}

// Guards against an "inf" in a result file, which no reader takes: nothing is written and
// an existing file stays as it was.
TEST(CorrectedPoints, InfiniteCoordinateWritesNothing) {
  testsupport::TempDir dir;
  const std::string path = dir.file("verteilt.erg");
  testsupport::writeFile(path, "vorher");
  const PointList oldPoints = pointList({"A", "B"}, {0, 1}, {0, 1});
  distribution::CorrectedPoints corrected;
  corrected.rw = {1, std::numeric_limits<double>::infinity()};
  corrected.hw = {2, 3};
  const output::WriteResult result = distribution::writeCorrectedResultFile(path, oldPoints, corrected);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.reason.find("Punkt 2"), std::string::npos) << result.reason;
  EXPECT_EQ(testsupport::readFile(path), "vorher");

  corrected.rw[1] = 4;
  ASSERT_TRUE(distribution::writeCorrectedResultFile(path, oldPoints, corrected).ok);
  EXPECT_EQ(testsupport::readFile(path), " A\t 1              \t 2              \r\n B\t 4              \t 3              ");
}
