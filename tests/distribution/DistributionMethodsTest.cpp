// What every method of the Restklaffenverteilung must do, checked for all five: the
// corrections of generated data against the independent computation, control points
// reproduced, zero residuals giving zero, a common shift passed on, evaluation from two
// threads at once, and the degenerate sets of control points.
#include <gtest/gtest.h>

#include "TestData.h"
#include "Reference.h"
#include "ResidualDistribution.h"

#include <cmath>
#include <limits>
#include <thread>

namespace {

using namespace distribution;
using namespace testdata;

std::unique_ptr<const distribution::ResidualDistribution> prepare(const std::vector<ControlPoint>& points,
                                                                  Method method) {
  return testdata::prepared(points, {method, {}, {}});
}

class EveryMethod : public ::testing::TestWithParam<Method> {};

TEST_P(EveryMethod, AgreesWithTheIndependentComputationOnGeneratedData) {
  const std::vector<ControlPoint> points = testdata::controlPoints(40, 11);
  const auto method = prepare(points, GetParam());
  ASSERT_TRUE(method);
  const reference::ForMethod expected(GetParam(), points, method->settings().delta.value_or(0));
  std::size_t corrected = 0;
  for (const testdata::Position& p : testdata::queryPoints(400, 12, 100)) {
    const Correction got = method->correctionAt(p.rw, p.hw);
    const reference::Shift want = expected.at(p.rw, p.hw);
    ASSERT_EQ(got.corrected, want.corrected) << p.rw << " " << p.hw;
    EXPECT_NEAR(got.dRW, static_cast<double>(want.rw), kNanometre) << p.rw << " " << p.hw;
    EXPECT_NEAR(got.dHW, static_cast<double>(want.hw), kNanometre) << p.rw << " " << p.hw;
    corrected += got.corrected;
  }
  // Points outside the hull exist only for the triangles; the others correct everything.
  if (GetParam() == Method::Triangles)
    EXPECT_LT(corrected, 400u);
  else
    EXPECT_EQ(corrected, 400u);
}

TEST_P(EveryMethod, ControlPointsKeepTheirResiduals) {
  const std::vector<ControlPoint> points = testdata::controlPoints(60, 21);
  const auto method = prepare(points, GetParam());
  ASSERT_TRUE(method);
  for (const ControlPoint& point : points) {
    const Correction got = method->correctionAt(point.rw, point.hw);
    ASSERT_TRUE(got.corrected);
    if (GetParam() == Method::Multiquadric) {
      EXPECT_NEAR(got.dRW, point.vRW, kNanometre);
      EXPECT_NEAR(got.dHW, point.vHW, kNanometre);
    } else {
      EXPECT_EQ(got.dRW, point.vRW);
      EXPECT_EQ(got.dHW, point.vHW);
    }
  }
}

TEST_P(EveryMethod, ZeroResidualsChangeNothing) {
  std::vector<ControlPoint> points = testdata::controlPoints(25, 31);
  for (ControlPoint& point : points) point.vRW = point.vHW = 0;
  const auto method = prepare(points, GetParam());
  ASSERT_TRUE(method);
  for (const testdata::Position& p : testdata::queryPoints(200, 32, 50)) {
    const Correction got = method->correctionAt(p.rw, p.hw);
    EXPECT_EQ(got.dRW, 0.0);
    EXPECT_EQ(got.dHW, 0.0);
  }
}

TEST_P(EveryMethod, ACommonShiftIsPassedOnUnchanged) {
  std::vector<ControlPoint> points = testdata::controlPoints(25, 41);
  for (ControlPoint& point : points) {
    point.vRW = 0.0123;
    point.vHW = -0.0456;
  }
  const auto method = prepare(points, GetParam());
  ASSERT_TRUE(method);
  for (const testdata::Position& p : testdata::queryPoints(200, 42)) {
    const Correction got = method->correctionAt(p.rw, p.hw);
    if (!got.corrected) continue;
    EXPECT_NEAR(got.dRW, 0.0123, kPicometre);
    EXPECT_NEAR(got.dHW, -0.0456, kPicometre);
  }
}

// Several stream workers evaluate one distribution at once: no state may be shared.
TEST_P(EveryMethod, TwoThreadsGetWhatOneGets) {
  const std::vector<ControlPoint> points = testdata::controlPoints(200, 51);
  const auto method = prepare(points, GetParam());
  ASSERT_TRUE(method);
  const std::vector<testdata::Position> queries = testdata::queryPoints(20000, 52, 20);
  std::vector<Correction> sequential(queries.size()), parallel(queries.size());
  for (std::size_t i = 0; i < queries.size(); ++i) sequential[i] = method->correctionAt(queries[i].rw, queries[i].hw);
  auto work = [&](std::size_t first) {
    for (std::size_t i = first; i < queries.size(); i += 2) parallel[i] = method->correctionAt(queries[i].rw, queries[i].hw);
  };
  std::thread other(work, 1);
  work(0);
  other.join();
  for (std::size_t i = 0; i < queries.size(); ++i) {
    ASSERT_EQ(parallel[i].corrected, sequential[i].corrected) << i;
    ASSERT_EQ(parallel[i].dRW, sequential[i].dRW) << i;
    ASSERT_EQ(parallel[i].dHW, sequential[i].dHW) << i;
  }
}

TEST_P(EveryMethod, NoControlPointGivesNoCorrection) {
  const auto method = prepare({}, GetParam());
  ASSERT_TRUE(method);
  EXPECT_FALSE(method->correctionAt(testdata::kOriginRW, testdata::kOriginHW).corrected);
}

// One control point: the distance methods pass its residual on everywhere; the triangles
// have no area, so only the point itself is covered.
TEST_P(EveryMethod, OneControlPoint) {
  const std::vector<ControlPoint> points{{4511234.567, 5431234.567, 0.021, -0.013}};
  const auto method = prepare(points, GetParam());
  ASSERT_TRUE(method);
  const Correction at = method->correctionAt(points[0].rw, points[0].hw);
  EXPECT_TRUE(at.corrected);
  EXPECT_EQ(at.dRW, 0.021);
  EXPECT_EQ(at.dHW, -0.013);
  const Correction away = method->correctionAt(points[0].rw + 300, points[0].hw - 40);
  if (GetParam() == Method::Triangles) {
    EXPECT_FALSE(away.corrected);
  } else {
    EXPECT_TRUE(away.corrected);
    EXPECT_NEAR(away.dRW, 0.021, kPicometre);
    EXPECT_NEAR(away.dHW, -0.013, kPicometre);
  }
}

// Two control points (and more on one line): every method stays finite; halfway between
// two of them each method gives their mean by symmetry.
TEST_P(EveryMethod, ControlPointsOnOneLine) {
  for (std::size_t count : {2u, 3u}) {
    std::vector<ControlPoint> points{{4511000, 5431000, 0.010, -0.020}, {4511200, 5431100, 0.030, 0.020}};
    if (count == 3) points.push_back({4511400, 5431200, 0.030, 0.020});
    const auto method = prepare(points, GetParam());
    ASSERT_TRUE(method);
    const Correction half = method->correctionAt(4511100, 5431050);
    EXPECT_TRUE(half.corrected);
    if (count == 2) {
      EXPECT_NEAR(half.dRW, 0.020, kPicometre);
      EXPECT_NEAR(half.dHW, 0.0, kPicometre);
    }
    for (const testdata::Position& p : testdata::queryPoints(100, 61, 500)) {
      const Correction got = method->correctionAt(p.rw, p.hw);
      EXPECT_TRUE(std::isfinite(got.dRW) && std::isfinite(got.dHW));
    }
  }
}

// Control points listed twice (same position, same residual) count once; the same position
// with another residual cannot be honoured and is refused, naming both.
TEST_P(EveryMethod, CoincidentControlPoints) {
  std::vector<ControlPoint> points = testdata::controlPoints(10, 71);
  points.push_back(points[3]);
  distribution::DistributionSetup twice = distribution::prepareDistribution(points, {GetParam(), {}, {}});
  ASSERT_EQ(twice.result.problem, SetupProblem::None);
  EXPECT_EQ(twice.distribution->controlPointCount(), 10u);

  points.back().vHW += 0.001;
  const distribution::DistributionSetup clash = distribution::prepareDistribution(points, {GetParam(), {}, {}});
  EXPECT_EQ(clash.result.problem, SetupProblem::CoincidentControlPoints);
  EXPECT_EQ(clash.result.first, 3u);
  EXPECT_EQ(clash.result.second, 10u);
  EXPECT_FALSE(clash.distribution);
}

TEST_P(EveryMethod, NonFiniteInputIsRefused) {
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    std::vector<ControlPoint> points = testdata::controlPoints(5, 81);
    points[2].vRW = bad;
    const distribution::DistributionSetup setup = distribution::prepareDistribution(points, {GetParam(), {}, {}});
    EXPECT_EQ(setup.result.problem, SetupProblem::NonFiniteInput);
    EXPECT_EQ(setup.result.first, 2u);
  }
  const auto method = prepare(testdata::controlPoints(5, 82), GetParam());
  EXPECT_FALSE(method->correctionAt(std::numeric_limits<double>::quiet_NaN(), testdata::kOriginHW).corrected);
}

INSTANTIATE_TEST_SUITE_P(Methods, EveryMethod, ::testing::ValuesIn(testdata::kAllMethods),
                         [](const ::testing::TestParamInfo<Method>& info) { return testdata::methodName(info.param); });

}  // namespace
