// Every method on the sample files: the Helmert fit of the control points without the
// blunder 1007 (from the normal equations, in the test), its residuals distributed, the
// control points landing on their new coordinates, 1007 as a check point keeping its
// blunder, and the twenty new points against the independent computation.
#include <gtest/gtest.h>

#include "TestData.h"
#include "Reference.h"
#include "ResidualDistribution.h"

#include <cmath>

namespace {

using namespace distribution;
using namespace testdata;

constexpr double kThreeCentimetres = 0.03;

const std::string kSamples = TRAMIS_SAMPLES_DIR;

class SampleData : public ::testing::TestWithParam<Method> {
protected:
  void SetUp() override {
    const auto oldAll = reference::readSample(kSamples + "/passpunkte_alt.asc");
    const auto newAll = reference::readSample(kSamples + "/passpunkte_neu.asc");
    ASSERT_EQ(oldAll.size(), 12u);
    ASSERT_EQ(newAll.size(), 12u);
    for (std::size_t i = 0; i < oldAll.size(); ++i) {
      ASSERT_EQ(oldAll[i].name, newAll[i].name);
      if (oldAll[i].name == "1007") {
        checkOld = oldAll[i];
        checkNew = newAll[i];
      } else {
        oldPoints.push_back(oldAll[i]);
        newPoints.push_back(newAll[i]);
      }
    }
    fit = reference::helmertFit(oldPoints, newPoints);
    for (std::size_t i = 0; i < oldPoints.size(); ++i)
      controls.push_back({oldPoints[i].rw, oldPoints[i].hw, static_cast<double>(fit.vRW[i]),
                          static_cast<double>(fit.vHW[i])});
  }

  std::vector<reference::NamedPoint> oldPoints, newPoints;
  reference::NamedPoint checkOld, checkNew;
  reference::HelmertFit fit;
  std::vector<ControlPoint> controls;
};

TEST_P(SampleData, ControlPointsLandOnTheirNewCoordinates) {
  const distribution::DistributionSetup setup = distribution::prepareDistribution(controls, {GetParam(), {}, {}});
  ASSERT_EQ(setup.result.problem, distribution::SetupProblem::None);
  for (std::size_t i = 0; i < oldPoints.size(); ++i) {
    const Correction c = setup.distribution->correctionAt(oldPoints[i].rw, oldPoints[i].hw);
    ASSERT_TRUE(c.corrected);
    EXPECT_NEAR(static_cast<double>(fit.RW(oldPoints[i].rw, oldPoints[i].hw) + c.dRW), newPoints[i].rw, kNanometre)
        << oldPoints[i].name;
    EXPECT_NEAR(static_cast<double>(fit.HW(oldPoints[i].rw, oldPoints[i].hw) + c.dHW), newPoints[i].hw, kNanometre)
        << oldPoints[i].name;
  }
  // Switched off, 1007 is a new point: its neighbours' millimetres do not absorb its
  // blunder, so what remains of it after the distribution is an honest check.
  const Correction c = setup.distribution->correctionAt(checkOld.rw, checkOld.hw);
  const double leftRW = checkNew.rw - static_cast<double>(fit.RW(checkOld.rw, checkOld.hw)) - c.dRW;
  const double leftHW = checkNew.hw - static_cast<double>(fit.HW(checkOld.rw, checkOld.hw)) - c.dHW;
  EXPECT_GT(std::hypot(leftRW, leftHW), kThreeCentimetres);
}

TEST_P(SampleData, NewPointsAgreeWithTheIndependentComputation) {
  const distribution::DistributionSetup setup = distribution::prepareDistribution(controls, {GetParam(), {}, {}});
  ASSERT_EQ(setup.result.problem, distribution::SetupProblem::None);
  const reference::ForMethod expected(GetParam(), controls, setup.distribution->settings().delta.value_or(0));
  const auto newPointsOld = reference::readSample(kSamples + "/neupunkte_alt.asc");
  ASSERT_EQ(newPointsOld.size(), 20u);
  for (const reference::NamedPoint& p : newPointsOld) {
    const Correction got = setup.distribution->correctionAt(p.rw, p.hw);
    const reference::Shift want = expected.at(p.rw, p.hw);
    ASSERT_EQ(got.corrected, want.corrected) << p.name;
    EXPECT_NEAR(got.dRW, static_cast<double>(want.rw), kNanometre) << p.name;
    EXPECT_NEAR(got.dHW, static_cast<double>(want.hw), kNanometre) << p.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Methods, SampleData, ::testing::ValuesIn(testdata::kAllMethods),
                         [](const ::testing::TestParamInfo<Method>& info) { return testdata::methodName(info.param); });

}  // namespace
